#pragma once
// Letter case of byte strings in the user's 8-bit code page, for table and
// column names that the dictionary keeps upper-case.
#include <string>
#include <string_view>

// `text` upper-cased by the user's locale. Bytes the locale cannot decode are
// kept as they are, with only their ASCII letters upper-cased, so that no
// byte of a name is lost on the way.
std::string upperLocal8Bit(std::string_view text);

// True when `a` and `b` are equal once both are upper-cased as above.
bool equalIgnoringCaseLocal8Bit(std::string_view a, std::string_view b);
