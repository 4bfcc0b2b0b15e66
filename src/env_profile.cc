#include "env_profile.h"

#include <string_view>

#include "atomic_file.h"

namespace {

// The unit as the host reads it, around the day number. Every space and TAB
// is significant: the host's files are compared byte for byte.
constexpr std::string_view kBeforeDay =
    "SiiNunit \n"
    "{ \n"
    "env_profile : env.data { \n"
    "  \n"
    "\tlamps_on_elevation: 2.0 \n"
    "  \n"
    "  \n"
    "\tday_in_year: ";
constexpr std::string_view kAfterDay =
    "\t//summer solstice\n"
    "\tsummer_time: 1\t\t//summer time +1h\n"
    "  \n"
    "}\n"
    "}\n";

}  // namespace

std::string env_profile(int den_v_roku) {
  std::string text(kBeforeDay);
  text += std::to_string(den_v_roku);
  text += kAfterDay;
  return text;
}

void write_env_profile(int den_v_roku) {
  AtomicFile subor(kEnvProfilePath);
  subor.write(env_profile(den_v_roku));
  subor.commit();
}
