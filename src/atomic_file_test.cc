#include "atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "test_folder.h"

namespace {

using AtomicFileTest = TestFolder;

TEST_F(AtomicFileTest, TargetChangesOnlyAtCommitAndThenWhole) {
  put(path("target"), "old content, longer than the new one");
  {
    AtomicFile file(path("target"));
    file.write("new");
    file.write(" content");

    EXPECT_EQ(read(path("target")), "old content, longer than the new one");
    const std::vector<std::string> during = names();
    ASSERT_EQ(during.size(), 2U);
    const std::string& temp = during[0];  // sorts first: it starts with '.'
    EXPECT_EQ(temp.rfind(".target.", 0), 0U) << temp;
    EXPECT_EQ(temp.substr(temp.size() - 4), ".tmp") << temp;

    file.commit();
  }
  EXPECT_EQ(read(path("target")), "new content");
  EXPECT_EQ(names(), std::vector<std::string>{"target"});
}

TEST_F(AtomicFileTest, CreatesAMissingFile) {
  AtomicFile file(path("target"));
  file.write("new");
  file.commit();
  EXPECT_EQ(read(path("target")), "new");
}

TEST_F(AtomicFileTest, WithoutCommitLeavesTheTargetAndNoTemporaryFile) {
  put(path("target"), "old");
  {
    AtomicFile file(path("target"));
    file.write("new");
  }
  EXPECT_EQ(read(path("target")), "old");
  EXPECT_EQ(names(), std::vector<std::string>{"target"});
}

TEST_F(AtomicFileTest, RefusesAMissingFolderOrAFolderInThePlaceOfTheFile) {
  const auto error_of = [](const std::string& target) {
    try {
      AtomicFile file(target);
    } catch (const std::system_error& error) {
      return error.code();
    }
    return std::error_code();
  };
  EXPECT_EQ(error_of(path("missing/target")),
            std::errc::no_such_file_or_directory);

  std::filesystem::create_directory(path("target"));
  EXPECT_EQ(error_of(path("target")), std::errc::is_a_directory);
  EXPECT_TRUE(std::filesystem::is_empty(path("target")));
  EXPECT_EQ(names(), std::vector<std::string>{"target"});
}

}  // namespace
