// Writes a file so that it appears whole or not at all.
#pragma once

#include <string>
#include <string_view>

#include "platform.h"

// Replaces the file at a path with new content. The content goes to a new,
// uniquely named temporary file beside the target (hidden, and not ending in
// the target's extension); commit() flushes it to disk and renames it over the
// target, so that a reader, or the disk after a power cut, holds either the
// old file or the new one. Until commit() the target is untouched, and a
// temporary file that was not committed is removed when the object goes away.
//
// An existing file that the user may not write, or anything that is not a
// regular file, is refused. On POSIX systems a symbolic link at the path is
// kept, the file it points to being replaced, and an existing file keeps its
// permission bits.
class AtomicFile {
 public:
  // Throws std::system_error if the target is refused or the temporary file
  // cannot be created.
  explicit AtomicFile(const std::string& path);
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  AtomicFile(AtomicFile&&) = delete;
  AtomicFile& operator=(AtomicFile&&) = delete;
  ~AtomicFile();

  // Appends text, in the platform's text mode: each '\n' becomes the
  // platform's line end. Throws std::system_error.
  void write(std::string_view text);

  // Makes the written content the target's. Throws std::system_error; the
  // target then still holds its old content.
  void commit();

 private:
  platform::Target target_;
  std::string temp_path_;  // empty once committed
  int fd_ = -1;
};
