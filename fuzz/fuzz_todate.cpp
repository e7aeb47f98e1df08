// TO_DATE and TO_CHAR on arbitrary bytes: the input is a text and a format
// split at the first LF, or a lone text read in the default form. A date that
// is read is a real calendar date and prints in every form without fault.
#include "embedded/DateValue.h"
#include "fuzz/FuzzCheck.h"

#include <string>

namespace {

bool isLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysIn(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

void checkDate(const kdb::DateTime &d)
{
    FUZZ_CHECK(d.year >= 1 && d.year <= 9999);
    FUZZ_CHECK(d.month >= 1 && d.month <= 12);
    FUZZ_CHECK(d.day >= 1 && d.day <= daysIn(d.year, d.month));
    FUZZ_CHECK(d.hour >= 0 && d.hour <= 23);
    FUZZ_CHECK(d.minute >= 0 && d.minute <= 59);
    FUZZ_CHECK(d.second >= 0 && d.second <= 59);

    const std::string stored = kdb::date::toStorage(d);
    FUZZ_CHECK(stored.size() == 19);
    kdb::DateTime back;
    FUZZ_CHECK(kdb::date::fromStorage(stored, &back));
    FUZZ_CHECK(kdb::date::toStorage(back) == stored);

    std::string text;
    FUZZ_CHECK(kdb::date::toChar(d, "YYYY-MM-DD HH24:MI:SS", &text) == 0 && text == stored);
    FUZZ_CHECK(kdb::date::parseDefault(kdb::date::toDefaultText(d), &back) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const size_t lf = input.find('\n');
    kdb::DateTime value;
    if (lf == std::string_view::npos) {
        if (kdb::date::parseDefault(input, &value) == 0)
            checkDate(value);
        kdb::DateTime stored;
        if (kdb::date::fromStorage(input, &stored))
            checkDate(stored);
        return 0;
    }
    const std::string_view text = input.substr(0, lf);
    const std::string_view format = input.substr(lf + 1);
    if (!text.empty() && kdb::date::toDate(text, format, &value) == 0)
        checkDate(value);

    // The format printing a date of each kind: leap day, the last second of a
    // year, the first day of the calendar.
    static const kdb::DateTime samples[] = {{2024, 2, 29, 13, 5, 9}, {9999, 12, 31, 23, 59, 59}, {1, 1, 1, 0, 0, 0}};
    std::string printed;
    for (const kdb::DateTime &sample : samples)
        kdb::date::toChar(sample, format, &printed);
    return 0;
}
