#include "embedded/Number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using kdb::Decimal;
namespace num = kdb::num;

namespace {

Decimal dec(const char *text)
{
    Decimal d;
    EXPECT_EQ(num::parse(text, &d), 0) << text;
    return d;
}

// The text of a result, or "ORA-n" for an error code.
std::string textOr(int rc, const Decimal &d)
{
    return rc != 0 ? "ORA-" + std::to_string(rc) : num::toText(d);
}

const std::string k38Nines = std::string(38, '9');

} // namespace

TEST(Number, ParseAndDefaultText)
{
    struct Case { std::string in, out; };
    const Case cases[] = {
        {"0.5", ".5"}, {"-0.5", "-.5"}, {"1.50", "1.5"}, {"100", "100"}, {"0", "0"}, {"-0", "0"},
        {" 12 ", "12"}, {"+7", "7"}, {"000123.4500", "123.45"}, {".5", ".5"}, {"5.", "5"},
        {"-.05", "-.05"}, {"1e3", "1000"}, {"1.5E-3", ".0015"}, {"-2.5e+2", "-250"}, {"0e5", "0"},
        // 38 significant digits are kept; the 39th rounds half away from zero.
        {"12345678901234567890123456789012345678", "12345678901234567890123456789012345678"},
        {"123456789012345678901234567890123456785", "123456789012345678901234567890123456790"},
        {"-123456789012345678901234567890123456785", "-123456789012345678901234567890123456790"},
        {"123456789012345678901234567890123456784999", "1.2345678901234567890123456789012346E+41"},
        {"." + k38Nines, "." + k38Nines},
        {"." + k38Nines + "9", "1"},
        {"0.00012345678901234567890123456789012345678", "1.2345678901234567890123456789012346E-04"},
        // Plain text up to 40 characters, E notation beyond.
        {"1e39", "1" + std::string(39, '0')}, {"1e40", "1E+40"}, {"1e45", "1E+45"},
        {"-1.5e-50", "-1.5E-50"}, {"1e-39", "." + std::string(38, '0') + "1"}, {"1e-40", "1E-40"},
        {"9.99e125", "9.99E+125"}, {"1e-131", "0"},
    };
    for (const Case &c : cases) {
        Decimal d;
        EXPECT_EQ(textOr(num::parse(c.in, &d), d), c.out) << '"' << c.in << '"';
    }
}

TEST(Number, ParseRejectsWhatIsNoNumber)
{
    for (const char *bad : {"", "   ", "1..2", "1e", "e5", ".", "-", "+", "1 2", "12a", "1e+", "--1",
                            "0x10", "1,5", "- 1", "1.2.3", "\t1", "1e5.5", "abc"}) {
        Decimal d = Decimal::fromInt(42);
        EXPECT_EQ(num::parse(bad, &d), 1722) << '"' << bad << '"';
        EXPECT_EQ(num::toText(d), "42") << "a failed parse leaves the value alone: " << bad;
    }
    Decimal d;
    EXPECT_EQ(num::parse("1e126", &d), 1426);
    EXPECT_EQ(num::parse("-1e999999999", &d), 1426);
}

TEST(Number, FitToPrecisionAndScale)
{
    struct Case { const char *in; int precision, scale; const char *out; };
    const Case cases[] = {
        {"123.456", 5, 2, "123.46"}, {"123.455", 5, 2, "123.46"}, {"-123.455", 5, 2, "-123.46"},
        {"123.454", 5, 2, "123.45"}, {"1234.5", 5, 2, "ORA-1438"}, {"999.995", 5, 2, "ORA-1438"},
        {"999.994", 5, 2, "999.99"}, {"0.4", 1, 0, "0"}, {"0.5", 1, 0, "1"}, {"-0.5", 1, 0, "-1"},
        {"9.5", 1, 0, "ORA-1438"}, {"2.5", 38, 0, "3"}, {"12345", 3, -2, "12300"},
        {"12355", 2, -2, "ORA-1438"}, {"49", 1, -2, "0"}, {"50", 1, -2, "100"}, {"0.00099", 2, 5, ".00099"},
        {"0.00123", 2, 5, "ORA-1438"}, {"0.000004", 2, 5, "0"}, {"0.000005", 2, 5, ".00001"},
        {"123.456789", 0, 0, "123.456789"}, {"0", 1, 0, "0"}, {"-99", 2, 0, "-99"}, {"-100", 2, 0, "ORA-1438"},
    };
    for (const Case &c : cases) {
        Decimal d = dec(c.in);
        const int rc = num::fitTo(&d, c.precision, c.scale);
        EXPECT_EQ(textOr(rc, d), c.out) << c.in << " NUMBER(" << c.precision << "," << c.scale << ")";
    }
}

TEST(Number, Arithmetic)
{
    using Op = int (*)(const Decimal &, const Decimal &, Decimal *);
    struct Case { const char *a; Op op; const char *b; std::string out; };
    const Case cases[] = {
        {"1", num::add, "2", "3"}, {".1", num::add, ".2", ".3"}, {"-5", num::add, "3", "-2"},
        {"5", num::add, "-5", "0"}, {"0", num::add, "-7.5", "-7.5"}, {"99.99", num::add, ".01", "100"},
        {k38Nines.c_str(), num::add, "1", "1" + std::string(38, '0')},
        {"1e100", num::add, "1e-100", "1E+100"}, {"9.9e125", num::add, "1e125", "ORA-1426"},
        {"3", num::subtract, "5", "-2"}, {"1", num::subtract, "1", "0"}, {"-1", num::subtract, "-3", "2"},
        {"1000", num::subtract, ".001", "999.999"}, {"1e100", num::subtract, "1e-100", "1E+100"},
        {"1", num::subtract, "1e-37", "." + std::string(37, '9')},
        {".1", num::multiply, ".2", ".02"}, {"-3", num::multiply, "4", "-12"}, {"-3", num::multiply, "-4", "12"},
        {"0", num::multiply, "-4", "0"}, {"12345678901234567890", num::multiply, "98765432109876543210",
                                          "1219326311370217952237463801111263526900"},
        {"1e100", num::multiply, "1e100", "ORA-1426"}, {"1e-100", num::multiply, "1e-100", "0"},
        {"10", num::divide, "4", "2.5"}, {"-7", num::divide, "2", "-3.5"}, {"6", num::divide, "3", "2"},
        {"1", num::divide, "3", "." + std::string(38, '3')}, {"2", num::divide, "3", "." + std::string(37, '6') + "7"},
        {"1", num::divide, "8", ".125"}, {"0", num::divide, "5", "0"}, {"1", num::divide, "0", "ORA-1476"},
        {"1e-5", num::divide, "4e-7", "25"}, {k38Nines.c_str(), num::divide, k38Nines.c_str(), "1"},
    };
    for (const Case &c : cases) {
        Decimal r = Decimal::fromInt(-1);
        const int rc = c.op(dec(c.a), dec(c.b), &r);
        EXPECT_EQ(textOr(rc, r), c.out) << c.a << " op " << c.b;
    }
}

TEST(Number, SortKeysOrderAsTheValues)
{
    const std::vector<std::string> ascending = {
        "-9.9e125", "-1e100", "-12.5", "-12.45", "-12", "-1", "-.13", "-.129", "-1e-100",
        "0", "1e-100", ".129", ".13", "1", "12", "12.45", "12.5", "1e100", "9.9e125",
    };
    std::vector<std::string> shuffled = ascending;
    std::mt19937 rng(7);
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    auto byKey = [](const std::string &a, const std::string &b) {
        return num::sortKey(dec(a.c_str())) < num::sortKey(dec(b.c_str()));
    };
    auto byCompare = [](const std::string &a, const std::string &b) {
        return Decimal::compare(dec(a.c_str()), dec(b.c_str())) < 0;
    };
    std::vector<std::string> keyed = shuffled;
    std::sort(keyed.begin(), keyed.end(), byKey);
    EXPECT_EQ(keyed, ascending);
    std::sort(shuffled.begin(), shuffled.end(), byCompare);
    EXPECT_EQ(shuffled, ascending);

    for (const std::string &v : ascending) {
        Decimal back;
        ASSERT_TRUE(num::fromSortKey(num::sortKey(dec(v.c_str())), &back)) << v;
        EXPECT_EQ(Decimal::compare(back, dec(v.c_str())), 0) << v;
    }
    Decimal d;
    for (const char *bad : {"", "3", "2", "2abc5", "0200", "02005", "2200120", "2999"})
        EXPECT_FALSE(num::fromSortKey(bad, &d)) << bad;
}

TEST(Number, Conversions)
{
    struct Case { const char *in; bool integral; int64_t value; double approx; };
    const Case cases[] = {
        {"0", true, 0, 0.0}, {"-42", true, -42, -42.0}, {"2.5", false, 0, 2.5},
        {"9223372036854775807", true, INT64_MAX, 9.223372036854775807e18},
        {"-9223372036854775808", true, INT64_MIN, -9.223372036854775808e18},
        {"9223372036854775808", false, 0, 9.223372036854775808e18}, {"1e30", false, 0, 1e30},
        {"-1.25e-10", false, 0, -1.25e-10},
    };
    for (const Case &c : cases) {
        const Decimal d = dec(c.in);
        int64_t v = 7;
        EXPECT_EQ(d.toInt64(&v), c.integral) << c.in;
        if (c.integral) {
            EXPECT_EQ(v, c.value) << c.in;
        }
        EXPECT_DOUBLE_EQ(d.toDouble(), c.approx) << c.in;
    }
    EXPECT_EQ(num::toText(Decimal::fromInt(INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(num::toText(Decimal::fromInt(1200)), "1200");
    EXPECT_EQ(dec("1200").integerDigits(), 4);
    EXPECT_EQ(dec(".012").integerDigits(), -1);
}
