// Upper-casing names as bytes of the user's code page.
#include "oracle/LocaleText.h"

#include <gtest/gtest.h>

namespace {

TEST(LocaleText, UpperCasesLettersAndKeepsEveryOtherByte)
{
    const struct {
        const char *text, *upper;
    } cases[] = {
        {"", ""},
        {"emp_1$#", "EMP_1$#"},
        {"stra\xc3\x9f" "e", "STRASSE"},           // decodable: the locale's rules
        {"\x83\x65mp", "\x83\x65MP"},             // Shift-JIS: the trail byte 'e' stays
        {"a\x83\x61\x82\xa0z", "A\x83\x61\x82\xa0Z"}, // two double-byte characters among letters
    };
    for (const auto &c : cases)
        EXPECT_EQ(upperLocal8Bit(c.text), c.upper) << c.text;
}

} // namespace
