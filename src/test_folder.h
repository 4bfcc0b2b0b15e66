// A fresh, empty folder for a test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class TestFolder : public testing::Test {
 protected:
  TestFolder()
      : folder_(std::filesystem::temp_directory_path() /
                ("envday-test-" + std::to_string(std::random_device()()))) {
    std::filesystem::create_directory(folder_);
  }
  ~TestFolder() override { std::filesystem::remove_all(folder_); }

  // A path in the folder, as the code under test takes it.
  [[nodiscard]] std::string path(const std::string& name) const {
    return (folder_ / name).string();
  }

  // The names in the folder, sorted.
  [[nodiscard]] std::vector<std::string> names() const {
    std::vector<std::string> result;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      result.push_back(entry.path().filename().string());
    }
    std::sort(result.begin(), result.end());
    return result;
  }

  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  static void put(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }

 private:
  std::filesystem::path folder_;
};
