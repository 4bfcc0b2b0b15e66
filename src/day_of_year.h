// The day of the year in the process's local time.
#pragma once

#include <ctime>
#include <optional>

// The local day of the year of instant `t`: 1 on 1 January, up to 366 on
// 31 December of a leap year. Nothing if the C library cannot convert `t`.
std::optional<int> day_of_year(std::time_t t);
