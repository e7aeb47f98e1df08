#include "embedded/DateValue.h"

#include <cstring>
#include <ctime>

// TO_DATE follows Oracle's string-to-date conversion rules when the format
// has no FX modifier:
//  - any run of non-alphanumeric characters in the text matches any run of
//    punctuation in the format, and punctuation may be left out of the text
//    where the next element reads what follows ("20240105" reads with
//    YYYY-MM-DD, "05JAN24" with DD-MON-RR);
//  - blanks before an element are ignored;
//  - a numeric element reads at most its width in digits and may have fewer
//    ("2024/1/5");
//  - text that ends early leaves the remaining fields at their defaults:
//    the current year and month, day 1, midnight;
//  - where an element does not match, its alternatives are tried: MM reads
//    a month name, MON and MONTH read each other's forms, YY and RR read a
//    four-digit year when no other number follows without a separator.
// FX turns that off: punctuation and literals must match as written, no
// alternative is tried, and every number must have its element's full width
// unless FM is given too.
//
// Errors come where Oracle raises them: a value out of range fails as soon
// as its element is read (1843 month, 1847 day 0 or above 31, 1850/1851/1852
// hour/minute/second, 1849 12-hour clock, 1848 day of year, 1841 year 0 or
// no year digits), a day the month does not have (February 30, February 29
// of a common year, April 31) fails 1839 once the whole date is known, a
// letter where a number is due 1858, a literal or separator that does not
// match 1861, text left over 1830, a format element given twice 1810 and an
// unknown one 1821.

namespace kdb::date {
namespace {

enum class Kind {
    Year4, Year3, Year2, Year1, RoundYear4, RoundYear2,
    Month2, MonthAbbr, MonthName,
    Day2, DayOfYear, DayOfWeek, DayAbbr, DayName,
    Hour24, Hour12, Minute, Second, SecondOfDay,
    Meridian, MeridianDots,
    FillMode, ExactMode, Literal, Punctuation,
};

// How a name element writes its letters: MON, Mon or mon.
enum class Case { Upper, Capital, Lower };

struct Token {
    Kind kind;
    size_t length;      // characters of the format taken
    Case letterCase = Case::Upper;
};

// The fields a format sets, for the check that none is set twice.
enum Field : unsigned {
    FYear = 1, FMonth = 2, FDay = 4, FHour = 8, FMinute = 16, FSecond = 32,
    FMeridian = 64, FDayOfYear = 128, FWeekday = 256, FSecondOfDay = 512,
};

constexpr int kErrFormatTwice = 1810;
constexpr int kErrBadFormat = 1821;
constexpr int kErrLeftOver = 1830;
constexpr int kErrDayForMonth = 1839;
constexpr int kErrYear = 1841;
constexpr int kErrMonth = 1843;
constexpr int kErrWeekday = 1846;
constexpr int kErrDay = 1847;
constexpr int kErrDayOfYear = 1848;
constexpr int kErrHour12 = 1849;
constexpr int kErrHour = 1850;
constexpr int kErrMinute = 1851;
constexpr int kErrSecond = 1852;
constexpr int kErrSecondOfDay = 1853;
constexpr int kErrMeridian = 1855;
constexpr int kErrNotNumeric = 1858;
constexpr int kErrLiteral = 1861;
constexpr int kErrWidth = 1862;

constexpr const char *kMonths[] = {"JANUARY", "FEBRUARY", "MARCH", "APRIL", "MAY", "JUNE", "JULY",
                                   "AUGUST", "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
constexpr const char *kDays[] = {"SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY",
                                 "SATURDAY"};

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c)
{
    const char u = upper(c);
    return isDigit(c) || (u >= 'A' && u <= 'Z');
}
bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool startsWithNoCase(std::string_view s, size_t pos, std::string_view word)
{
    if (s.size() - pos < word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (upper(s[pos + i]) != word[i])
            return false;
    return true;
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int year, int month)
{
    static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDaysIn[month - 1];
}

// 0 = Sunday.
int dayOfWeek(int y, int m, int d)
{
    static constexpr int kOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 3)
        --y;
    return (y + y / 4 - y / 100 + y / 400 + kOffset[m - 1] + d) % 7;
}

int dayOfYear(int y, int m, int d)
{
    int n = d;
    for (int i = 1; i < m; ++i)
        n += daysInMonth(y, i);
    return n;
}

// Recognises the format element at `pos`, longest first. Returns 0 or 1821.
int nextToken(std::string_view fmt, size_t pos, Token *t)
{
    const char c = fmt[pos];
    if (c == '"') {
        const size_t close = fmt.find('"', pos + 1);
        if (close == std::string_view::npos)
            return kErrBadFormat;
        *t = {Kind::Literal, close - pos + 1};
        return 0;
    }
    if (!isAlnum(c)) {
        size_t end = pos;
        while (end < fmt.size() && !isAlnum(fmt[end]) && fmt[end] != '"')
            ++end;
        *t = {Kind::Punctuation, end - pos};
        return 0;
    }
    struct Element {
        const char *name;
        Kind kind;
    };
    // Longer names before their prefixes.
    static constexpr Element kElements[] = {
        {"YYYY", Kind::Year4}, {"YYY", Kind::Year3}, {"YY", Kind::Year2}, {"Y", Kind::Year1},
        {"RRRR", Kind::RoundYear4}, {"RR", Kind::RoundYear2},
        {"MONTH", Kind::MonthName}, {"MON", Kind::MonthAbbr}, {"MM", Kind::Month2},
        {"MI", Kind::Minute},
        {"DDD", Kind::DayOfYear}, {"DD", Kind::Day2}, {"DAY", Kind::DayName}, {"DY", Kind::DayAbbr},
        {"D", Kind::DayOfWeek},
        {"HH24", Kind::Hour24}, {"HH12", Kind::Hour12}, {"HH", Kind::Hour12},
        {"SSSSS", Kind::SecondOfDay}, {"SS", Kind::Second},
        {"A.M.", Kind::MeridianDots}, {"P.M.", Kind::MeridianDots},
        {"AM", Kind::Meridian}, {"PM", Kind::Meridian},
        {"FM", Kind::FillMode}, {"FX", Kind::ExactMode},
    };
    for (const Element &e : kElements) {
        if (startsWithNoCase(fmt, pos, e.name)) {
            const size_t len = std::strlen(e.name);
            Case letterCase = Case::Upper;
            if (c >= 'a' && c <= 'z')
                letterCase = Case::Lower;
            else if (len > 1 && fmt[pos + 1] >= 'a' && fmt[pos + 1] <= 'z')
                letterCase = Case::Capital;
            *t = {e.kind, len, letterCase};
            return 0;
        }
    }
    return kErrBadFormat;
}

Field fieldOf(Kind k)
{
    switch (k) {
    case Kind::Year4: case Kind::Year3: case Kind::Year2: case Kind::Year1:
    case Kind::RoundYear4: case Kind::RoundYear2:
        return FYear;
    case Kind::Month2: case Kind::MonthAbbr: case Kind::MonthName:
        return FMonth;
    case Kind::Day2:
        return FDay;
    case Kind::DayOfYear:
        return FDayOfYear;
    case Kind::DayOfWeek: case Kind::DayAbbr: case Kind::DayName:
        return FWeekday;
    case Kind::Hour24: case Kind::Hour12:
        return FHour;
    case Kind::Minute:
        return FMinute;
    case Kind::Second:
        return FSecond;
    case Kind::SecondOfDay:
        return FSecondOfDay;
    case Kind::Meridian: case Kind::MeridianDots:
        return FMeridian;
    default:
        return Field(0);
    }
}

bool isNumeric(Kind k)
{
    switch (k) {
    case Kind::Year4: case Kind::Year3: case Kind::Year2: case Kind::Year1:
    case Kind::RoundYear4: case Kind::RoundYear2: case Kind::Month2: case Kind::Day2:
    case Kind::DayOfYear: case Kind::DayOfWeek: case Kind::Hour24: case Kind::Hour12:
    case Kind::Minute: case Kind::Second: case Kind::SecondOfDay:
        return true;
    default:
        return false;
    }
}

int widthOf(Kind k)
{
    switch (k) {
    case Kind::Year4: case Kind::RoundYear4: return 4;
    case Kind::Year3: case Kind::DayOfYear: return 3;
    case Kind::Year1: case Kind::DayOfWeek: return 1;
    case Kind::SecondOfDay: return 5;
    default: return 2;
    }
}

struct Clock {
    int year;
    int month;
};

Clock now()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1};
}

// The year a two-digit RR value stands for: the century is chosen so that
// the year lies within 50 years of the current one.
int roundYear(int yy, int currentYear)
{
    const int century = currentYear / 100 * 100;
    const int cur = currentYear % 100;
    if (yy < 50 && cur >= 50)
        return century + 100 + yy;
    if (yy >= 50 && cur < 50)
        return century - 100 + yy;
    return century + yy;
}

// Matches one of the names at text[pos], full names before three-letter
// abbreviations. Returns the index or -1; *used gets the characters taken.
int matchName(std::string_view text, size_t pos, const char *const *names, int count, size_t *used)
{
    for (int i = 0; i < count; ++i) {
        if (startsWithNoCase(text, pos, names[i])) {
            *used = std::strlen(names[i]);
            return i;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (startsWithNoCase(text, pos, std::string_view(names[i], 3))) {
            *used = 3;
            return i;
        }
    }
    return -1;
}

// What the text gave, -1 where it gave nothing.
struct Parsed {
    int year = -1, month = -1, day = -1, dayOfYear = -1, dayOfWeek = -1;  // the weekday is checked, not used
    int hour24 = -1, hour12 = -1, pm = -1, minute = -1, second = -1, secondOfDay = -1;
};

class DateReader {
public:
    DateReader(std::string_view text, std::string_view fmt) : m_text(text), m_fmt(fmt) {}

    int run(DateTime *out)
    {
        unsigned seen = 0;
        size_t fpos = 0;
        while (fpos < m_fmt.size()) {
            Token t{};
            if (int rc = takeToken(&fpos, &seen, &t))
                return rc;
            if (t.kind == Kind::ExactMode) {
                m_exact = !m_exact;
                continue;
            }
            if (t.kind == Kind::FillMode) {
                m_fillMode = !m_fillMode;
                continue;
            }
            if (!m_exact)
                skipBlanks();
            if (m_pos >= m_text.size()) {
                // Trailing parts left out: the rest of the format must still
                // be well formed.
                if (int rc = checkFormat(fpos, seen))
                    return rc;
                break;
            }
            if (int rc = readToken(t, fpos))
                return rc;
        }
        skipBlanks();
        if (m_pos < m_text.size())
            return kErrLeftOver;
        return resolve(out);
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
    }

    // The element at *fpos, moving past it; a field already set fails 1810.
    int takeToken(size_t *fpos, unsigned *seen, Token *t) const
    {
        if (int rc = nextToken(m_fmt, *fpos, t))
            return rc;
        const Field f = fieldOf(t->kind);
        if (f != 0 && (*seen & f))
            return kErrFormatTwice;
        *seen |= f;
        *fpos += t->length;
        return 0;
    }

    int checkFormat(size_t fpos, unsigned seen) const
    {
        while (fpos < m_fmt.size()) {
            Token t{};
            if (int rc = takeToken(&fpos, &seen, &t))
                return rc;
        }
        return 0;
    }

    // Whether the format element after `fpos` is a number that follows
    // without a separator, which keeps YY and RR to two digits.
    bool numberFollows(size_t fpos) const
    {
        Token t{};
        return fpos < m_fmt.size() && nextToken(m_fmt, fpos, &t) == 0 && isNumeric(t.kind);
    }

    bool nameFollows(size_t fpos) const
    {
        Token t{};
        if (fpos >= m_fmt.size() || nextToken(m_fmt, fpos, &t) != 0)
            return false;
        switch (t.kind) {
        case Kind::MonthAbbr: case Kind::MonthName: case Kind::Month2: case Kind::DayAbbr:
        case Kind::DayName: case Kind::Meridian: case Kind::MeridianDots:
            return true;
        default:
            return false;
        }
    }

    // Reads up to `width` digits; returns how many were read.
    int readDigits(int width, int *value)
    {
        int n = 0;
        int v = 0;
        while (n < width && m_pos < m_text.size() && isDigit(m_text[m_pos])) {
            v = v * 10 + (m_text[m_pos] - '0');
            ++m_pos;
            ++n;
        }
        *value = v;
        return n;
    }

    int readPunctuation(const Token &t, size_t fpos)
    {
        const char c = m_text[m_pos];
        if (m_exact) {
            const std::string_view want = m_fmt.substr(fpos - t.length, t.length);
            if (m_text.substr(m_pos, want.size()) != want)
                return kErrLiteral;
            m_pos += want.size();
            return 0;
        }
        if (!isAlnum(c)) {
            while (m_pos < m_text.size() && !isAlnum(m_text[m_pos]))
                ++m_pos;
            return 0;
        }
        // Left out: digits may follow straight on where a number is due and
        // letters where a name is ("2024-01-01" against DD-MON-RR fails here).
        if (isDigit(c) ? numberFollows(fpos) : nameFollows(fpos))
            return 0;
        return kErrLiteral;
    }

    int readLiteral(const Token &t, size_t fpos)
    {
        const std::string_view want = m_fmt.substr(fpos - t.length + 1, t.length - 2);
        for (size_t i = 0; i < want.size(); ++i) {
            if (m_pos + i >= m_text.size() || upper(m_text[m_pos + i]) != upper(want[i]))
                return kErrLiteral;
        }
        m_pos += want.size();
        return 0;
    }

    int readMonthName()
    {
        size_t used = 0;
        const int m = matchName(m_text, m_pos, kMonths, 12, &used);
        if (m < 0)
            return kErrMonth;
        m_pos += used;
        m_p.month = m + 1;
        return 0;
    }

    int readMeridian()
    {
        static constexpr const char *kForms[] = {"A.M.", "P.M.", "AM", "PM"};
        for (int i = 0; i < 4; ++i) {
            if (startsWithNoCase(m_text, m_pos, kForms[i])) {
                m_p.pm = i % 2;
                m_pos += std::strlen(kForms[i]);
                return 0;
            }
        }
        return kErrMeridian;
    }

    int readNumber(const Token &t, size_t fpos)
    {
        int width = widthOf(t.kind);
        if (!m_exact && (t.kind == Kind::Year2 || t.kind == Kind::RoundYear2) && !numberFollows(fpos))
            width = 4;
        int v = 0;
        const int n = readDigits(width, &v);
        if (n == 0) {
            if (t.kind == Kind::Month2 && !m_exact)
                return readMonthName();
            return fieldOf(t.kind) == FYear ? kErrYear : kErrNotNumeric;
        }
        if (m_exact && !m_fillMode && n != widthOf(t.kind))
            return kErrWidth;
        return store(t.kind, v, n);
    }

    int store(Kind k, int v, int digits)
    {
        if (fieldOf(k) == FYear) {
            m_p.year = fullYear(k, v, digits);
            return m_p.year < 1 || m_p.year > 9999 ? kErrYear : 0;
        }
        struct Range {
            Kind kind;
            int low, high, error;
            int Parsed::*field;
        };
        static constexpr Range kRanges[] = {
            {Kind::Month2, 1, 12, kErrMonth, &Parsed::month},
            {Kind::Day2, 1, 31, kErrDay, &Parsed::day},
            {Kind::DayOfYear, 1, 366, kErrDayOfYear, &Parsed::dayOfYear},
            {Kind::DayOfWeek, 1, 7, kErrWeekday, &Parsed::dayOfWeek},
            {Kind::Hour24, 0, 23, kErrHour, &Parsed::hour24},
            {Kind::Hour12, 1, 12, kErrHour12, &Parsed::hour12},
            {Kind::Minute, 0, 59, kErrMinute, &Parsed::minute},
            {Kind::Second, 0, 59, kErrSecond, &Parsed::second},
            {Kind::SecondOfDay, 0, 86399, kErrSecondOfDay, &Parsed::secondOfDay},
        };
        for (const Range &r : kRanges) {
            if (r.kind == k) {
                if (v < r.low || v > r.high)
                    return r.error;
                m_p.*r.field = v;
            }
        }
        return 0;
    }

    // A year element's value as a full year: the short forms take their
    // missing digits from the current year, RR its century by Oracle's rule.
    int fullYear(Kind k, int v, int digits)
    {
        switch (k) {
        case Kind::RoundYear4:
        case Kind::RoundYear2:
            return digits <= 2 ? roundYear(v, clock().year) : v;
        case Kind::Year3:
            return clock().year / 1000 * 1000 + v;
        case Kind::Year2:
            return digits <= 2 ? clock().year / 100 * 100 + v : v;
        case Kind::Year1:
            return clock().year / 10 * 10 + v;
        default:
            return v;
        }
    }

    int readToken(const Token &t, size_t fpos)
    {
        switch (t.kind) {
        case Kind::Punctuation:
            return readPunctuation(t, fpos);
        case Kind::Literal:
            return readLiteral(t, fpos);
        case Kind::MonthAbbr:
        case Kind::MonthName:
            return readMonthName();
        case Kind::DayAbbr:
        case Kind::DayName: {
            size_t used = 0;
            if (matchName(m_text, m_pos, kDays, 7, &used) < 0)
                return kErrWeekday;
            m_pos += used;
            return 0;
        }
        case Kind::Meridian:
        case Kind::MeridianDots:
            return readMeridian();
        default:
            return readNumber(t, fpos);
        }
    }

    const Clock &clock()
    {
        if (!m_haveClock) {
            m_clock = now();
            m_haveClock = true;
        }
        return m_clock;
    }

    int resolve(DateTime *out)
    {
        DateTime r;
        r.year = m_p.year >= 0 ? m_p.year : clock().year;
        r.month = m_p.month >= 0 ? m_p.month : (m_p.dayOfYear >= 0 ? 1 : clock().month);
        r.day = m_p.day >= 0 ? m_p.day : 1;
        if (m_p.dayOfYear >= 0 && m_p.month < 0 && m_p.day < 0) {
            int doy = m_p.dayOfYear;
            if (doy > (isLeapYear(r.year) ? 366 : 365))
                return kErrDayOfYear;
            while (doy > daysInMonth(r.year, r.month))
                doy -= daysInMonth(r.year, r.month++);
            r.day = doy;
        }
        if (r.day > daysInMonth(r.year, r.month))
            return kErrDayForMonth;
        if (m_p.secondOfDay >= 0) {
            r.hour = m_p.secondOfDay / 3600;
            r.minute = m_p.secondOfDay / 60 % 60;
            r.second = m_p.secondOfDay % 60;
        }
        if (m_p.hour24 >= 0)
            r.hour = m_p.hour24;
        else if (m_p.hour12 >= 0)
            r.hour = m_p.hour12 % 12 + (m_p.pm == 1 ? 12 : 0);
        if (m_p.minute >= 0)
            r.minute = m_p.minute;
        if (m_p.second >= 0)
            r.second = m_p.second;
        *out = r;
        return 0;
    }

    std::string_view m_text;
    std::string_view m_fmt;
    size_t m_pos = 0;
    bool m_exact = false;     // FX: punctuation and widths as written
    bool m_fillMode = false;  // FM: with FX, numbers may still be short
    Parsed m_p;
    Clock m_clock{};
    bool m_haveClock = false;
};

void appendNumber(std::string *out, int v, int width, bool fill)
{
    char buf[12];
    int n = 0;
    do {
        buf[n++] = char('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (fill)
        for (; n < width; ++n)
            buf[n] = '0';
    while (n > 0)
        out->push_back(buf[--n]);
}

void appendName(std::string *out, std::string_view name, Case c, size_t padTo)
{
    for (size_t i = 0; i < name.size(); ++i) {
        char ch = name[i];
        if (c == Case::Lower || (c == Case::Capital && i > 0))
            ch = char(ch - 'A' + 'a');
        out->push_back(ch);
    }
    for (size_t i = name.size(); i < padTo; ++i)
        out->push_back(' ');
}

void write2(char *p, int v)
{
    p[0] = char('0' + v / 10 % 10);
    p[1] = char('0' + v % 10);
}

int read2(std::string_view s, size_t pos)
{
    if (!isDigit(s[pos]) || !isDigit(s[pos + 1]))
        return -1;
    return (s[pos] - '0') * 10 + (s[pos + 1] - '0');
}

} // namespace

int toDate(std::string_view text, std::string_view format, DateTime *out)
{
    return DateReader(text, format).run(out);
}

int parseDefault(std::string_view text, DateTime *out)
{
    return toDate(text, "DD-MON-RR", out);
}

int toChar(const DateTime &v, std::string_view format, std::string *out)
{
    // The names are looked up by month and weekday: a value that is no date
    // must not index past them.
    if (v.year < 1 || v.year > 9999)
        return kErrYear;
    if (v.month < 1 || v.month > 12)
        return kErrMonth;
    std::string r;
    bool fill = true;  // FM turns off the zeros and blanks that keep widths
    size_t pos = 0;
    while (pos < format.size()) {
        Token t{};
        if (int rc = nextToken(format, pos, &t))
            return rc;
        const std::string_view src = format.substr(pos, t.length);
        pos += t.length;
        const int hour12 = v.hour % 12 == 0 ? 12 : v.hour % 12;
        switch (t.kind) {
        case Kind::Year4: case Kind::RoundYear4: appendNumber(&r, v.year, 4, fill); break;
        case Kind::Year3: appendNumber(&r, v.year % 1000, 3, fill); break;
        case Kind::Year2: case Kind::RoundYear2: appendNumber(&r, v.year % 100, 2, fill); break;
        case Kind::Year1: appendNumber(&r, v.year % 10, 1, fill); break;
        case Kind::Month2: appendNumber(&r, v.month, 2, fill); break;
        case Kind::MonthAbbr: appendName(&r, std::string_view(kMonths[v.month - 1], 3), t.letterCase, 0); break;
        case Kind::MonthName: appendName(&r, kMonths[v.month - 1], t.letterCase, fill ? 9 : 0); break;
        case Kind::Day2: appendNumber(&r, v.day, 2, fill); break;
        case Kind::DayOfYear: appendNumber(&r, dayOfYear(v.year, v.month, v.day), 3, fill); break;
        case Kind::DayOfWeek: appendNumber(&r, dayOfWeek(v.year, v.month, v.day) + 1, 1, fill); break;
        case Kind::DayAbbr:
            appendName(&r, std::string_view(kDays[dayOfWeek(v.year, v.month, v.day)], 3), t.letterCase, 0);
            break;
        case Kind::DayName:
            appendName(&r, kDays[dayOfWeek(v.year, v.month, v.day)], t.letterCase, fill ? 9 : 0);
            break;
        case Kind::Hour24: appendNumber(&r, v.hour, 2, fill); break;
        case Kind::Hour12: appendNumber(&r, hour12, 2, fill); break;
        case Kind::Minute: appendNumber(&r, v.minute, 2, fill); break;
        case Kind::Second: appendNumber(&r, v.second, 2, fill); break;
        case Kind::SecondOfDay: appendNumber(&r, v.hour * 3600 + v.minute * 60 + v.second, 5, fill); break;
        case Kind::Meridian: appendName(&r, v.hour < 12 ? "AM" : "PM", t.letterCase, 0); break;
        case Kind::MeridianDots: appendName(&r, v.hour < 12 ? "A.M." : "P.M.", t.letterCase, 0); break;
        case Kind::FillMode: fill = !fill; break;
        case Kind::ExactMode: break;
        case Kind::Literal: r.append(src.substr(1, src.size() - 2)); break;
        case Kind::Punctuation: r.append(src); break;
        }
    }
    *out = std::move(r);
    return 0;
}

std::string toDefaultText(const DateTime &value)
{
    std::string s;
    toChar(value, "DD-MON-RR", &s);
    return s;
}

void toStorage(const DateTime &v, char out[19])
{
    write2(out, v.year / 100);
    write2(out + 2, v.year);
    out[4] = '-';
    write2(out + 5, v.month);
    out[7] = '-';
    write2(out + 8, v.day);
    out[10] = ' ';
    write2(out + 11, v.hour);
    out[13] = ':';
    write2(out + 14, v.minute);
    out[16] = ':';
    write2(out + 17, v.second);
}

std::string toStorage(const DateTime &value)
{
    char buf[19];
    toStorage(value, buf);
    return std::string(buf, sizeof buf);
}

bool fromStorage(std::string_view s, DateTime *out)
{
    if (s.size() != 19 || s[4] != '-' || s[7] != '-' || s[10] != ' ' || s[13] != ':' || s[16] != ':')
        return false;
    const int hi = read2(s, 0), lo = read2(s, 2);
    DateTime r;
    r.month = read2(s, 5);
    r.day = read2(s, 8);
    r.hour = read2(s, 11);
    r.minute = read2(s, 14);
    r.second = read2(s, 17);
    if (hi < 0 || lo < 0 || r.month < 1 || r.month > 12 || r.day < 1 || r.hour < 0 || r.hour > 23
        || r.minute < 0 || r.minute > 59 || r.second < 0 || r.second > 59)
        return false;
    r.year = hi * 100 + lo;
    if (r.year < 1 || r.day > daysInMonth(r.year, r.month))
        return false;
    *out = r;
    return true;
}

} // namespace kdb::date
