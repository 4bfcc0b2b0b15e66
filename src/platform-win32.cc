#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <climits>
#include <system_error>

#include "platform.h"

namespace platform {
namespace {

[[noreturn]] void throw_error(int error) {
  throw std::system_error(error, std::generic_category());
}

// The C runtime's errno for a Windows error, so that messages read the same
// as those of the C runtime's own calls.
int errno_of(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

[[noreturn]] void throw_last_error() { throw_error(errno_of(GetLastError())); }

// Paths are UTF-8 inside the program; Windows takes them as UTF-16, which
// reaches every name whatever the system's code page.
std::wstring wide(const std::string& path) {
  if (path.empty()) {
    return {};
  }
  const int size = static_cast<int>(path.size());
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS,
                                         path.data(), size, nullptr, 0);
  if (length == 0) {
    throw_error(EILSEQ);
  }
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size,
                      result.data(), length);
  return result;
}

}  // namespace

bool local_time(std::time_t t, std::tm* out) {
  return localtime_s(out, &t) == 0;
}

Target resolve_target(const std::string& path) {
  Target target{path};
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return target;  // a new file; a missing folder shows when creating
    }
    throw_error(errno_of(error));
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw_error(EISDIR);
  }
  // The rename would replace a read-only file; writing through it would
  // have failed, so it is kept.
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw_error(EACCES);
  }
  target.exists = true;
  return target;
}

int create_new(const std::string& path, const Target& /*like*/) {
  int fd = -1;
  const errno_t error =
      _wsopen_s(&fd, wide(path).c_str(),
                _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT | _O_NOINHERIT,
                _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (error != 0) {
    throw_error(error);
  }
  return fd;
}

void write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    // In text mode the count is of the characters given, before each '\n'
    // becomes CR LF.
    const unsigned chunk = text.size() < INT_MAX
                               ? static_cast<unsigned>(text.size())
                               : static_cast<unsigned>(INT_MAX);
    const int written = _write(fd, text.data(), chunk);
    if (written < 0) {
      throw_error(errno);
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

void sync_and_close(int fd) {
  const int synced = _commit(fd);
  const int error = errno;
  if (_close(fd) != 0) {
    throw_error(errno);
  }
  if (synced != 0) {
    throw_error(error);
  }
}

void close_quietly(int fd) noexcept { _close(fd); }

void replace(const std::string& from, const std::string& to) {
  if (MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
    throw_last_error();
  }
}

void sync_folder(const std::string& /*folder*/) noexcept {
  // MOVEFILE_WRITE_THROUGH has put the rename on disk already.
}

void remove_quietly(const std::string& path) noexcept {
  try {
    _wremove(wide(path).c_str());
  } catch (...) {  // NOLINT(bugprone-empty-catch): nothing more to clean up
  }
}

}  // namespace platform
