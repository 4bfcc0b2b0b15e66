#include "day_of_year.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace {

// Sets the process's time zone, in the POSIX form that the C runtimes of
// both platforms read ("XXX-1" is one hour east of UTC).
void set_time_zone(const char* zone) {
#ifdef _WIN32
  _putenv_s("TZ", zone);
  _tzset();
#else
  setenv("TZ", zone, 1);
  tzset();
#endif
}

TEST(DayOfYear, IsTheLocalDateInLeapAndCommonYears) {
  struct Case {
    std::time_t t;
    const char* zone;
    int day;
    const char* what;
  };
  const Case cases[] = {
      {1672531200, "UTC0", 1, "2023-01-01 00:00 UTC"},
      {1704067199, "UTC0", 365, "2023-12-31 23:59:59 UTC"},
      {1735689599, "UTC0", 366, "2024-12-31 23:59:59 UTC"},
      {1709208000, "UTC0", 60, "2024-02-29 12:00 UTC"},
      {1709294400, "UTC0", 61, "2024-03-01 12:00 UTC"},
      {1677672000, "UTC0", 60, "2023-03-01 12:00 UTC"},
      {1687348800, "UTC0", 172, "2023-06-21 12:00 UTC"},
      // The local date decides, not the UTC one.
      {1735687800, "XXX-1", 1, "2024-12-31 23:30 UTC, local 2025-01-01"},
      {1735696800, "XXX5", 366, "2025-01-01 02:00 UTC, local 2024-12-31"},
  };
  for (const Case& c : cases) {
    set_time_zone(c.zone);
    EXPECT_EQ(day_of_year(c.t), c.day) << c.what << " in " << c.zone;
  }
}

TEST(DayOfYear, IsNothingForAnInstantTheCLibraryCannotConvert) {
  set_time_zone("UTC0");
  EXPECT_EQ(day_of_year(std::numeric_limits<std::time_t>::max()), std::nullopt);
}

}  // namespace
