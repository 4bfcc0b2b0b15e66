#include "day_of_year.h"

#include "platform.h"

std::optional<int> day_of_year(std::time_t t) {
  std::tm cas{};
  if (!platform::local_time(t, &cas)) {
    return std::nullopt;
  }
  return cas.tm_yday + 1;
}
