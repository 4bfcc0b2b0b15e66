// What differs between POSIX systems and Windows: the local-time conversion
// and the file operations behind AtomicFile. Files are plain C runtime file
// descriptors on both. Unless a function says otherwise, it throws
// std::system_error when the system refuses.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace platform {

// Converts `t` to local calendar time under the process's time-zone rules,
// into a record owned by the caller. False if the C library cannot convert
// it (errno then says why).
bool local_time(std::time_t t, std::tm* out);

// The file that writing to a path reaches.
struct Target {
  std::string path;     // the path; on POSIX, links at its end followed
  bool exists = false;  // whether a file is there now
  unsigned mode = 0;    // its permission bits, where the platform has them
};

// Resolves the path that a write would go to. Refuses a loop of links,
// anything that is not a regular file, and a file the user may not write.
Target resolve_target(const std::string& path);

// Creates `path`, which must not exist yet, for writing in text mode, with
// the permission bits of `like` if that exists. Returns its descriptor.
int create_new(const std::string& path, const Target& like);

// Writes all of `text` to `fd`.
void write_all(int fd, std::string_view text);

// Flushes `fd` to stable storage and closes it; it is closed even on failure.
void sync_and_close(int fd);

// Closes `fd`, ignoring failure: for cleaning up after an earlier error.
void close_quietly(int fd) noexcept;

// Renames `from` over `to` in one step, replacing any file there.
void replace(const std::string& from, const std::string& to);

// Flushes a folder's entries (a rename done in it) to stable storage, where
// the platform needs that; best effort. An empty name is the working folder.
void sync_folder(const std::string& folder) noexcept;

// Removes a file, ignoring failure: for cleaning up after an earlier error.
void remove_quietly(const std::string& path) noexcept;

}  // namespace platform
