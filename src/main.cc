// envday: prints the local day of the year and writes it into the host's
// environment profile, def/env_data.sii under the working directory.
//
// Exit status 0 when the day was printed and the file replaced; 1 when
// anything failed, with a line on standard error saying what.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>

#include "day_of_year.h"
#include "env_profile.h"

namespace {

constexpr char kUsage[] =
    "usage: envday [-h | --help | --version]\n"
    "\n"
    "Prints the local day of the year (1 to 366) and writes it into the\n"
    "environment profile def/env_data.sii, replacing that file whole.\n"
    "Run it from the folder that holds def/.\n";

void report(const char* what, const char* why) {
  std::fprintf(stderr, "envday: %s: %s\n", what, why);
}

// Prints `text` and flushes it; false if standard output failed.
bool print(const char* text) {
  return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0;
}

// Asked for help or the version, prints it instead of doing the work: a user
// who asks what the tool does must not have their file rewritten. Any other
// argument is ignored.
std::optional<const char*> answer_to(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "-h" || argument == "--help") {
      return kUsage;
    }
    if (argument == "--version") {
      return "envday " ENVDAY_VERSION "\n";
    }
  }
  return std::nullopt;
}

void report_not_written(const char* why, const char* hint = "") {
  std::fprintf(stderr, "envday: cannot write %s: %s%s\n", kEnvProfilePath, why,
               hint);
}

// Writes the profile for the day; false, having said why, if it could not.
bool write_profile(int den_v_roku) {
  try {
    write_env_profile(den_v_roku);
    return true;
  } catch (const std::system_error& error) {
    const bool no_folder = error.code() == std::errc::no_such_file_or_directory;
    report_not_written(
        error.what(),
        no_folder ? " (run envday from the folder that holds def/)" : "");
  } catch (const std::bad_alloc&) {
    report_not_written("out of memory");
  } catch (const std::exception& error) {
    report_not_written(error.what());
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (const std::optional<const char*> answer = answer_to(argc, argv)) {
    if (!print(*answer)) {
      report("write error on standard output", std::strerror(errno));
      return 1;
    }
    return 0;
  }

  errno = 0;
  const std::time_t t = std::time(nullptr);
  if (t == static_cast<std::time_t>(-1)) {
    report("cannot read the clock", std::strerror(errno));
    return 1;
  }
  const std::optional<int> den_v_roku = day_of_year(t);
  if (!den_v_roku) {
    report("cannot convert the time to local time", std::strerror(errno));
    return 1;
  }

  // The line goes out before the file is touched; a failure here is
  // reported once the file has been written all the same.
  const bool printed =
      std::printf("%d\n", *den_v_roku) >= 0 && std::fflush(stdout) == 0;
  const int print_error = errno;

  const bool written = write_profile(*den_v_roku);
  if (!printed) {
    report("write error on standard output", std::strerror(print_error));
  }
  return printed && written ? 0 : 1;
}
