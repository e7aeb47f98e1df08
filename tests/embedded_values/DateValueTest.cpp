#include "embedded/DateValue.h"

#include <gtest/gtest.h>

#include <ctime>

using kdb::DateTime;
namespace date = kdb::date;

namespace {

const char *const kImport = "yyyy-mm-dd hh24:mi:ss";

// The storage form of a result, or "ORA-n" for an error code.
std::string readAs(const std::string &text, const std::string &format)
{
    DateTime d;
    const int rc = date::toDate(text, format, &d);
    return rc != 0 ? "ORA-" + std::to_string(rc) : date::toStorage(d);
}

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return DateTime{y, mo, d, h, mi, s};
}

} // namespace

TEST(DateValue, ToDateReadsLenientText)
{
    struct Case { const char *text, *format, *stored; };
    const Case cases[] = {
        {"2024-01-31 12:34:56", kImport, "2024-01-31 12:34:56"},
        {"2024/1/5", kImport, "2024-01-05 00:00:00"},
        {"2024-1-5 7:8:9", kImport, "2024-01-05 07:08:09"},
        {"  2024-01-05   13:05  ", kImport, "2024-01-05 13:05:00"},
        {"2024.01.05_10/11/12", kImport, "2024-01-05 10:11:12"}, {"05JAN24", "DD-MON-RR", "2024-01-05 00:00:00"},
        {"20240105", "YYYY-MM-DD", "2024-01-05 00:00:00"},
        {"20240105103000", "YYYYMMDDHH24MISS", "2024-01-05 10:30:00"},
        {"2024-02-29", "YYYY-MM-DD", "2024-02-29 00:00:00"},
        {"2000-02-29", "YYYY-MM-DD", "2000-02-29 00:00:00"},
        {"2024-03", "YYYY-MM-DD", "2024-03-01 00:00:00"},
        {"05-JAN-24", "DD-MON-RR", "2024-01-05 00:00:00"},
        {"05-jan-75", "DD-MON-RR", "1975-01-05 00:00:00"},
        {"5-January-1999", "DD-MON-RR", "1999-01-05 00:00:00"},
        {"05-Jan-2024", "DD-MM-YY", "2024-01-05 00:00:00"},
        {"10AUGUST2016", "DD-MM-RR", "2016-08-10 00:00:00"}, {"10AUG2016", "DD-MONTH-RR", "2016-08-10 00:00:00"},
        {"2024-1-5", "FXFMYYYY-MM-DD", "2024-01-05 00:00:00"},
        {"05 feb 24", "DD-MONTH-YYYY", "0024-02-05 00:00:00"},
        {"31.12.2023 23:59", "DD.MM.YYYY HH24:MI:SS", "2023-12-31 23:59:00"},
        {"01/02/2024 01:30 PM", "MM/DD/YYYY HH:MI AM", "2024-01-02 13:30:00"},
        {"01/02/2024 12:15 a.m.", "MM/DD/YYYY HH12:MI P.M.", "2024-01-02 00:15:00"},
        {"2024-01-05T10", "YYYY-MM-DD\"T\"HH24", "2024-01-05 10:00:00"},
        {"2024 060", "YYYY DDD", "2024-02-29 00:00:00"},
        {"2024-01-05 45296", "YYYY-MM-DD SSSSS", "2024-01-05 12:34:56"},
        {"Friday 2024-01-05", "DAY YYYY-MM-DD", "2024-01-05 00:00:00"},
        {"2024-01-05", "FXYYYY-MM-DD", "2024-01-05 00:00:00"},
        // Errors where Oracle raises them.
        {"2024-13-01", kImport, "ORA-1843"}, {"2024-00-01", kImport, "ORA-1843"},
        {"2024-ab-01", kImport, "ORA-1843"}, {"05-XYZ-24", "DD-MON-RR", "ORA-1843"},
        {"2024-01-32", kImport, "ORA-1847"}, {"2024-01-00", kImport, "ORA-1847"},
        {"2024-02-30", kImport, "ORA-1839"}, {"2023-02-29", kImport, "ORA-1839"},
        {"2024-04-31", kImport, "ORA-1839"}, {"1900-02-29", kImport, "ORA-1839"},
        {"abcd", kImport, "ORA-1841"}, {"0000-01-01", kImport, "ORA-1841"},
        {"2024-01-xx", kImport, "ORA-1858"}, {"2024-01-05 12:ab", kImport, "ORA-1858"},
        {"2024-01-05 24:00:00", kImport, "ORA-1850"}, {"2024-01-05 12:60:00", kImport, "ORA-1851"},
        {"2024-01-05 12:00:60", kImport, "ORA-1852"}, {"2024-01-05 13:00", "YYYY-MM-DD HH:MI", "ORA-1849"},
        {"2024 367", "YYYY DDD", "ORA-1848"}, {"2023 366", "YYYY DDD", "ORA-1848"},
        {"2024-01-05 12:00:00 extra", kImport, "ORA-1830"}, {"2024-01-05 1", "YYYY-MM-DD", "ORA-1830"},
        {"2024x01x05", "YYYY-MM-DD", "ORA-1843"}, {"2024-01-05 ab", kImport, "ORA-1861"},
        {"2019-01-01", "DD-MON-RR", "ORA-1861"},
        {"2024-01-05 on 12", "YYYY-MM-DD \"at\" HH24", "ORA-1861"},
        {"01:30 XM", "HH:MI AM", "ORA-1855"},
        {"2024-1-5", "FXYYYY-MM-DD", "ORA-1862"}, {"2024/01/05", "FXYYYY-MM-DD", "ORA-1861"},
        {"10-AUGUST-2016", "FXDD-MM-RR", "ORA-1858"},
        {"2024-01-05", "YYYY-QQ-DD", "ORA-1821"}, {"2024", "YYYY-MM-DD \"open", "ORA-1821"},
        {"2024-01-2024", "YYYY-MM-YYYY", "ORA-1810"}, {"2024", "YYYY-MM-RR", "ORA-1810"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readAs(c.text, c.format), c.stored) << '"' << c.text << "\" with \"" << c.format << '"';
}

TEST(DateValue, OmittedYearAndMonthAreTheCurrentOnes)
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    DateTime d;
    ASSERT_EQ(date::toDate("17", "DD", &d), 0);
    EXPECT_EQ(d.year, tm.tm_year + 1900);
    EXPECT_EQ(d.month, tm.tm_mon + 1);
    EXPECT_EQ(d.day, 17);
    ASSERT_EQ(date::toDate("2016", "YYYY-MM-DD", &d), 0);
    EXPECT_EQ(d.month, tm.tm_mon + 1);
    EXPECT_EQ(d.day, 1);
}

TEST(DateValue, ToCharWritesTheElements)
{
    const DateTime morning = at(2024, 1, 5, 7, 8, 9);  // a Friday
    const DateTime afternoon = at(1999, 12, 31, 13, 0, 0);
    const DateTime midnight = at(2024, 9, 30, 0, 30, 0);
    struct Case { DateTime value; const char *format, *text; };
    const Case cases[] = {
        {morning, "YYYY-MM-DD HH24:MI:SS", "2024-01-05 07:08:09"},
        {morning, "DD-MON-RR", "05-JAN-24"},
        {morning, "Mon dd, yyyy", "Jan 05, 2024"},
        {morning, "month|", "january  |"},
        {morning, "FMMonth DD", "January 5"},
        {morning, "DY DAY D", "FRI FRIDAY    6"},
        {morning, "Dy Day", "Fri Friday   "},
        {morning, "HH:MI AM", "07:08 AM"},
        {morning, "DDD SSSSS", "005 25689"},
        {morning, "\"Q\"YYYY", "Q2024"},
        {morning, "Y YY YYY RRRR", "4 24 024 2024"},
        {afternoon, "HH12:MI pm", "01:00 pm"},
        {afternoon, "HH24 P.M.", "13 P.M."},
        {afternoon, "DDD", "365"},
        {midnight, "HH:MI A.M.", "12:30 A.M."},
        {at(44, 3, 1), "YYYY FMYYYY", "0044 44"},
    };
    for (const Case &c : cases) {
        std::string text = "untouched";
        ASSERT_EQ(date::toChar(c.value, c.format, &text), 0) << c.format;
        EXPECT_EQ(text, c.text) << c.format;
    }
    std::string text = "untouched";
    EXPECT_EQ(date::toChar(morning, "YYYY-QQ", &text), 1821);
    EXPECT_EQ(date::toChar(at(2024, 13, 1), "MON", &text), 1843);
    EXPECT_EQ(date::toChar(at(0, 1, 1), "YYYY", &text), 1841);
    EXPECT_EQ(text, "untouched");
}

TEST(DateValue, DefaultFormIsDdMonRr)
{
    EXPECT_EQ(date::toDefaultText(at(2024, 1, 5, 13, 0, 0)), "05-JAN-24");
    EXPECT_EQ(date::toDefaultText(at(1987, 11, 30)), "30-NOV-87");
    DateTime d;
    ASSERT_EQ(date::parseDefault("30-nov-87", &d), 0);
    EXPECT_EQ(date::toStorage(d), "1987-11-30 00:00:00");
    EXPECT_EQ(date::parseDefault("2024-01-05", &d), 1861);
}

TEST(DateValue, StorageFormRoundTripsAndRejectsOtherText)
{
    for (const DateTime &v : {at(1, 1, 1), at(2024, 2, 29, 23, 59, 59), at(9999, 12, 31, 12, 0, 1)}) {
        const std::string s = date::toStorage(v);
        ASSERT_EQ(s.size(), 19u);
        DateTime back;
        ASSERT_TRUE(date::fromStorage(s, &back)) << s;
        EXPECT_EQ(date::toStorage(back), s);
    }
    EXPECT_EQ(date::toStorage(at(1, 1, 1)), "0001-01-01 00:00:00");
    DateTime d;
    for (const char *bad : {"", "2024-02-30 00:00:00", "2023-02-29 00:00:00", "2024-1-05 00:00:00",
                            "2024-01-05T00:00:00", "2024-01-05 24:00:00", "2024-01-05 00:60:00",
                            "2024-13-05 00:00:00", "0000-01-05 00:00:00", "2024-01-05 00:00:00 ",
                            "2024-01-05", "+024-01-05 00:00:00"})
        EXPECT_FALSE(date::fromStorage(bad, &d)) << '"' << bad << '"';
}
