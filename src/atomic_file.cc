#include "atomic_file.h"

#include <cstdint>
#include <random>
#include <utility>

namespace {

// The folder part of a path, with its trailing separator; empty for a bare
// file name.
std::string folder_of(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A fresh name beside `target`: ".<name>.<16 random hex digits>.tmp". The
// random part keeps concurrent runs apart; exclusive creation makes sure
// that no existing file is ever taken over.
std::string temp_path_for(const std::string& target) {
  std::random_device random;
  const std::uint64_t bits =
      (std::uint64_t{random()} << 32U) | std::uint64_t{random()};
  static constexpr char kHex[] = "0123456789abcdef";
  std::string suffix(16, '0');
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    suffix[i] = kHex[(bits >> (4 * i)) & 0xFU];
  }
  const std::string folder = folder_of(target);
  return folder + "." + target.substr(folder.size()) + "." + suffix + ".tmp";
}

}  // namespace

AtomicFile::AtomicFile(const std::string& path)
    : target_(platform::resolve_target(path)) {
  std::string temp_path = temp_path_for(target_.path);
  fd_ = platform::create_new(temp_path, target_);
  temp_path_ = std::move(temp_path);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) {
    platform::close_quietly(fd_);
  }
  if (!temp_path_.empty()) {
    platform::remove_quietly(temp_path_);
  }
}

// Not const: it changes the file, if not the object's members.
// NOLINTNEXTLINE(readability-make-member-function-const)
void AtomicFile::write(std::string_view text) {
  platform::write_all(fd_, text);
}

void AtomicFile::commit() {
  platform::sync_and_close(std::exchange(fd_, -1));
  platform::replace(temp_path_, target_.path);
  temp_path_.clear();
  platform::sync_folder(folder_of(target_.path));
}
