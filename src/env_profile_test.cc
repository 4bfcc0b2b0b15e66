#include "env_profile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The unit the host expects, line by line, with `line8` as its day line.
std::string unit_with(const std::string& line8) {
  const std::string lines[] = {
      "SiiNunit ",
      "{ ",
      "env_profile : env.data { ",
      "  ",
      "\tlamps_on_elevation: 2.0 ",
      "  ",
      "  ",
      line8,
      "\tsummer_time: 1\t\t//summer time +1h",
      "  ",
      "}",
      "}",
  };
  std::string text;
  for (const std::string& line : lines) {
    text += line + '\n';
  }
  return text;
}

TEST(EnvProfile, IsTheUnitByteForByteWithThePlainDecimalDay) {
  struct Case {
    int day;
    const char* line8;
    std::size_t size;
  };
  const Case cases[] = {
      {1, "\tday_in_year: 1\t//summer solstice", 150},
      {9, "\tday_in_year: 9\t//summer solstice", 150},
      {10, "\tday_in_year: 10\t//summer solstice", 151},
      {99, "\tday_in_year: 99\t//summer solstice", 151},
      {100, "\tday_in_year: 100\t//summer solstice", 152},
      {172, "\tday_in_year: 172\t//summer solstice", 152},
      {366, "\tday_in_year: 366\t//summer solstice", 152},
  };
  for (const Case& c : cases) {
    const std::string text = env_profile(c.day);
    EXPECT_EQ(text, unit_with(c.line8)) << "day " << c.day;
    EXPECT_EQ(text.size(), c.size) << "day " << c.day;
  }
}

}  // namespace
