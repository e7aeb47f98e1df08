// The stored forms: NUMBER keys keep numeric order under byte comparison,
// and values are checked on their way into a column.
#include "embedded/SqlError.h"
#include "embedded/Storage.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace kdb;

namespace {

std::string key(const char *text)
{
    Decimal d;
    EXPECT_EQ(num::parse(text, &d), 0) << text;
    return store::numberKey(d);
}

TEST(Storage, NumberKeysSortAsTheNumbersAndDecodeBack)
{
    const char *ascending[] = {"-1E100", "-1000", "-999.5", "-10", "-9", "-1.51", "-1.5", "-0.151", "-0.15", "-1E-50",
                               "0", "1E-50", "0.15", "0.151", "1", "1.5", "1.51", "9", "10", "99.99", "100",
                               "12345678901234567890123456789012345678", "1E100"};
    for (size_t i = 1; i < std::size(ascending); ++i)
        EXPECT_LT(key(ascending[i - 1]), key(ascending[i])) << ascending[i - 1] << " < " << ascending[i];
    for (const char *text : ascending) {
        Decimal d, back;
        num::parse(text, &d);
        ASSERT_TRUE(store::decodeNumber(store::numberKey(d), &back)) << text;
        EXPECT_EQ(Decimal::compare(d, back), 0) << text;
    }
    EXPECT_EQ(key("1.50"), key("1.5"));
    Decimal junk;
    EXPECT_FALSE(store::decodeNumber("2abc", &junk));
}

TEST(Storage, ValuesAreCheckedForTheirColumn)
{
    struct Case {
        SqlType type;
        const char *text;
        int code;
        std::string stored; // shown form for NUMBER and DATE
        const char *detail;
    } cases[] = {
        {SqlType::varchar2(3), "abc", 0, "abc", ""},
        {SqlType::varchar2(3), "abcd", 12899, "", "\"S\".\"T\".\"C\" (actual: 4, maximum: 3)"},
        {SqlType::charType(4), "ab", 0, "ab  ", ""},
        {SqlType::number(5, 2), "123.456", 0, "123.46", ""},
        {SqlType::number(5, 2), "1234.5", 1438, "", ""},
        {SqlType::number(), " -0.50 ", 0, "-.5", ""},
        {SqlType::number(), "1,5", 1722, "", ""},
        {SqlType::date(), "05-JAN-24", 0, "05-JAN-24", ""},
        {{kRaw, 2, 0, 0}, "0aF", 0, "00AF", ""},
        {{kRaw, 2, 0, 0}, "0G", 1465, "", ""},
        {{kRaw, 2, 0, 0}, "010203", 12899, "", "\"S\".\"T\".\"C\" (actual: 3, maximum: 2)"},
    };
    for (const auto &c : cases) {
        store::ColumnTarget target{c.type, true, "\"S\".\"T\".\"C\""};
        std::string scratch, detail, shown;
        std::string_view out;
        EXPECT_EQ(store::storeText(target, c.text, &scratch, &out, &detail), c.code) << c.text;
        EXPECT_EQ(detail, c.detail) << c.text;
        if (c.code == 0) {
            EXPECT_EQ(store::displayText(c.type.code, out, &shown), c.stored) << c.text;
        }
    }
}

} // namespace
