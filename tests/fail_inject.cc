// Test-only library, preloaded into envday to make one of its system calls
// fail, as a full disk or a broken clock would. ENVDAY_FAIL names the call:
//
//   create      creating a temporary file ("*.tmp"): EDQUOT
//   sync        fsync: EIO
//   rename      rename: EBUSY
//   clock       time: -1, EINVAL
//   local-time  localtime_r: no record, EOVERFLOW
//   memory      operator new, once a temporary file exists: std::bad_alloc
//
// Every other call goes through to the C library.

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

namespace {

bool temporary_file_created = false;

bool failing(const char* call) {
  const char* chosen = std::getenv("ENVDAY_FAIL");
  return chosen != nullptr && std::strcmp(chosen, call) == 0;
}

bool is_temporary(const char* path) {
  const std::size_t length = std::strlen(path);
  return length >= 4 && std::strcmp(path + length - 4, ".tmp") == 0;
}

template <typename Function>
Function* next(const char* name) {
  return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

int open_or_fail(const char* name, const char* path, int flags, va_list rest) {
  const mode_t mode = (flags & O_CREAT) != 0 ? va_arg(rest, mode_t) : 0;
  if (is_temporary(path)) {
    if (failing("create")) {
      errno = EDQUOT;
      return -1;
    }
    temporary_file_created = true;
  }
  return next<int(const char*, int, ...)>(name)(path, flags, mode);
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  const int fd = open_or_fail("open", path, flags, rest);
  va_end(rest);
  return fd;
}

int open64(const char* path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  const int fd = open_or_fail("open64", path, flags, rest);
  va_end(rest);
  return fd;
}

int fsync(int fd) {
  if (failing("sync")) {
    errno = EIO;
    return -1;
  }
  return next<int(int)>("fsync")(fd);
}

int rename(const char* from, const char* to) {
  if (failing("rename")) {
    errno = EBUSY;
    return -1;
  }
  return next<int(const char*, const char*)>("rename")(from, to);
}

time_t time(time_t* out) {
  if (failing("clock")) {
    errno = EINVAL;
    return static_cast<time_t>(-1);
  }
  return next<time_t(time_t*)>("time")(out);
}

struct tm* localtime_r(const time_t* t, struct tm* out) {
  if (failing("local-time")) {
    errno = EOVERFLOW;
    return nullptr;
  }
  return next<struct tm*(const time_t*, struct tm*)>("localtime_r")(t, out);
}

}  // extern "C"

void* operator new(std::size_t size) {
  if (failing("memory") && temporary_file_created) {
    throw std::bad_alloc();
  }
  // The next operator new, so that it pairs with the operator delete that
  // frees the memory (the sanitizers' own, in a sanitizer build).
  return next<void*(std::size_t)>("_Znwm")(size);
}
