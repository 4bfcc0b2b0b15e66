#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

#include "platform.h"

namespace platform {
namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

[[noreturn]] void throw_error(int error) {
  throw std::system_error(error, std::generic_category());
}

[[noreturn]] void throw_errno() { throw_error(errno); }

// Where the symbolic link at `path` points, as a path usable from the
// working directory: a relative link is relative to the link's own folder.
std::string follow_link(const std::string& path) {
  std::array<char, 4096> buffer{};
  const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
  if (length < 0) {
    throw_errno();
  }
  if (static_cast<std::size_t>(length) == buffer.size()) {
    throw_error(ENAMETOOLONG);
  }
  std::string link(buffer.data(), static_cast<std::size_t>(length));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos || (!link.empty() && link.front() == '/')) {
    return link;
  }
  return path.substr(0, slash + 1) + link;
}

}  // namespace

bool local_time(std::time_t t, std::tm* out) {
  return localtime_r(&t, out) != nullptr;
}

Target resolve_target(const std::string& path) {
  Target target{path};
  for (int links = 0;; ++links) {
    struct stat status {};
    if (lstat(target.path.c_str(), &status) != 0) {
      if (errno == ENOENT) {
        return target;  // a new file; a missing folder shows when creating
      }
      throw_errno();
    }
    if (S_ISLNK(status.st_mode)) {
      if (links == kMaxLinks) {
        throw_error(ELOOP);
      }
      target.path = follow_link(target.path);
      continue;
    }
    if (S_ISDIR(status.st_mode)) {
      throw_error(EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
      // A device, pipe or socket is not ours to replace.
      throw std::system_error(EINVAL, std::generic_category(),
                              "not a regular file");
    }
    // The rename needs only the folder to be writable; a file the user may
    // not write is kept, as writing through it would have failed.
    if (faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
      throw_errno();
    }
    target.exists = true;
    target.mode = status.st_mode & 07777U;
    return target;
  }
}

int create_new(const std::string& path, const Target& like) {
  const int fd =
      open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    throw_errno();
  }
  // A new file gets 0666 less the umask, as any file the program creates;
  // one that replaces another keeps that one's permission bits.
  if (like.exists && fchmod(fd, like.mode) != 0) {
    const int error = errno;
    close(fd);
    unlink(path.c_str());
    throw_error(error);
  }
  return fd;
}

void write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(fd, text.data(), text.size());
    if (written < 0) {
      throw_errno();
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

void sync_and_close(int fd) {
  const int synced = fsync(fd);
  const int error = errno;
  if (close(fd) != 0) {
    throw_errno();
  }
  if (synced != 0) {
    throw_error(error);
  }
}

void close_quietly(int fd) noexcept { close(fd); }

void replace(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) {
    throw_errno();
  }
}

void sync_folder(const std::string& folder) noexcept {
  // Without this, a power cut soon after the rename may bring back the old
  // file; either way the file is whole, so a failure here changes nothing
  // that the caller could mend.
  const int fd = open(folder.empty() ? "." : folder.c_str(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

void remove_quietly(const std::string& path) noexcept { unlink(path.c_str()); }

}  // namespace platform
