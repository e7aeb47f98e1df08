#pragma once
// Letter case of byte strings in the user's 8-bit code page, for table and
// column names that the dictionary keeps upper-case.
#include <string>
#include <string_view>

// `text` upper-cased by the user's locale. Text the locale cannot decode is
// taken for Shift-JIS, the code page the program's users work in: its ASCII
// letters are upper-cased and every other byte is kept, the second byte of a
// two-byte character included (it can look like a lower-case letter).
std::string upperLocal8Bit(std::string_view text);
