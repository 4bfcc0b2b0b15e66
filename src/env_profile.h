// The host's environment profile: a text unit that carries the day of the
// year, written to def/env_data.sii under the working directory.
#pragma once

#include <string>

// Where the profile is written, relative to the working directory.
inline constexpr char kEnvProfilePath[] = "def/env_data.sii";

// The profile's text for the given day, with '\n' at each line end.
std::string env_profile(int den_v_roku);

// Replaces kEnvProfilePath with the profile for the given day, whole or not
// at all. Throws std::system_error (or std::bad_alloc) if it cannot; the old
// file is then left as it was.
void write_env_profile(int den_v_roku);
