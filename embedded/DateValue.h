#pragma once
// Oracle DATE values: a calendar date and a time of day to the second.
#include <string>
#include <string_view>

namespace kdb {

struct DateTime {
    int year = 1;    // 1..9999 (BC dates are not supported)
    int month = 1;   // 1..12
    int day = 1;     // 1..31, valid for the month
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
};

namespace date {

// TO_DATE(text, format) with the format elements YYYY, YYY, YY, Y, RRRR, RR,
// MM, MON, MONTH, DD, DDD, D, DY, DAY, HH24, HH, HH12, MI, SS, SSSSS,
// AM/PM (A.M./P.M.), the FM and FX modifiers and Oracle's
// leniency: any punctuation in the text matches any punctuation in the format,
// elements may have fewer digits than their width when a separator follows,
// and trailing parts of the format may be omitted from the text (their fields
// then take the defaults: day 1, time 00:00:00; year and month default to the
// current ones). Returns 0, or: 1843 bad month, 1847 day of month outside
// 1..31, 1839 a day the month does not have (February 30, February 29 of a
// common year, April 31), 1850 hour, 1851 minute, 1852 second, 1849 hour of
// a 12-hour clock, 1848 day of year, 1855 no AM/PM where one is due, 1846 no
// day name, 1858 a non-digit where a digit is due, 1861 literal does not
// match format string, 1841 year out of range or not a number, 1821 format
// not recognised, 1810 a format element given twice, 1830 text left over
// after the format ends, 1862 (only after FX) a number shorter than its
// element. The empty text is NULL to the engine; callers do not pass it.
int toDate(std::string_view text, std::string_view format, DateTime *out);

// Reads text in the session's default form DD-MON-RR (e.g. "05-JAN-24"), with
// the same leniency; the month name is case-insensitive.
int parseDefault(std::string_view text, DateTime *out);

// TO_CHAR(date, format) with the elements above; text between double quotes
// and punctuation are copied. Returns 0 or 1821 for an unknown element.
int toChar(const DateTime &value, std::string_view format, std::string *out);

// The default text form DD-MON-RR, e.g. "05-JAN-24".
std::string toDefaultText(const DateTime &value);

// The storage form "YYYY-MM-DD HH24:MI:SS" (19 bytes, sorts as the dates do)
// and back. fromStorage returns false for text not in that form.
std::string toStorage(const DateTime &value);
void toStorage(const DateTime &value, char out[19]);
bool fromStorage(std::string_view text, DateTime *out);

} // namespace date
} // namespace kdb
