#pragma once
// Date arithmetic: seconds since a fixed day, and the current local time.
#include "DateValue.h"

#include <cstdint>

namespace kdb::datemath {

int64_t toSeconds(const DateTime &value);
// False when the result falls outside the years 1 to 9999.
bool addSeconds(const DateTime &value, int64_t seconds, DateTime *out);
DateTime now();

} // namespace kdb::datemath
