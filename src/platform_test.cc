#include "platform.h"

#include <gtest/gtest.h>

#include <system_error>

#include "test_folder.h"

namespace {

using PlatformTest = TestFolder;

#ifdef _WIN32
constexpr char kLineEnd[] = "\r\n";
#else
constexpr char kLineEnd[] = "\n";
#endif

TEST_F(PlatformTest, CreateNewNeverOpensAnExistingFile) {
  put(path("taken"), "keep");
  try {
    platform::create_new(path("taken"), platform::Target{});
    ADD_FAILURE() << "created a file that exists";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code(), std::errc::file_exists);
  }
  EXPECT_EQ(read(path("taken")), "keep");
}

TEST_F(PlatformTest, WritesTextWithThePlatformsLineEnds) {
  const int fd = platform::create_new(path("text"), platform::Target{});
  platform::write_all(fd, "a\nb\n");
  platform::sync_and_close(fd);
  EXPECT_EQ(read(path("text")), std::string("a") + kLineEnd + "b" + kLineEnd);
}

}  // namespace
