#pragma once
// TO_CHAR(number, format) with the format elements 9, 0, the point (. or D),
// the group separator (, or G), a leading $, S, a trailing MI and the FM
// prefix.
#include "Number.h"

#include <string>
#include <string_view>

namespace kdb::numfmt {

// Returns 0, or 1481 for a format it does not understand. A value too wide
// for the format shows as "#" characters, as Oracle shows it.
int format(const Decimal &value, std::string_view fmt, std::string *out);

// The widest text the format produces.
int width(std::string_view fmt);

} // namespace kdb::numfmt
