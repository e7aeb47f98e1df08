#include "Functions.h"

#include "DateMath.h"
#include "NumberFormat.h"
#include "SqlError.h"
#include "SqliteUtil.h"
#include "Storage.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace kdb {
namespace {

std::string_view textArg(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return p ? std::string_view(p, size_t(sqlite3_value_bytes(v))) : std::string_view();
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

void fail(sqlite3_context *ctx, int code, std::string_view detail = {})
{
    const std::string m = encodeFunctionError(code, detail);
    sqlite3_result_error(ctx, m.c_str(), int(m.size()));
}

void resultText(sqlite3_context *ctx, std::string_view text)
{
    if (text.empty())
        sqlite3_result_null(ctx);
    else
        sqlite3_result_text(ctx, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

void resultNumber(sqlite3_context *ctx, const Decimal &d)
{
    char key[store::kNumberKeyMax];
    sqlite3_result_text(ctx, key, store::encodeNumber(d, key), SQLITE_TRANSIENT);
}

void resultDate(sqlite3_context *ctx, const DateTime &dt)
{
    char out[store::kDateLength];
    date::toStorage(dt, out);
    sqlite3_result_text(ctx, out, store::kDateLength, SQLITE_TRANSIENT);
}

bool numberArg(sqlite3_context *ctx, sqlite3_value *v, Decimal *out)
{
    if (!store::decodeNumber(textArg(v), out)) {
        fail(ctx, ora::kInvalidNumber);
        return false;
    }
    return true;
}

bool dateArg(sqlite3_context *ctx, sqlite3_value *v, DateTime *out)
{
    if (!date::fromStorage(textArg(v), out)) {
        fail(ctx, 1858);
        return false;
    }
    return true;
}

// kdb_num(integer): a SQLite integer (COUNT, LENGTH, a catalog number) as a NUMBER.
void fnNum(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultNumber(ctx, Decimal::fromInt(sqlite3_value_int64(argv[0])));
}

// kdb_tonum(text [, format]): TO_NUMBER and the implicit conversion of text.
void fnToNumber(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    std::string_view text = textArg(argv[0]);
    std::string cleaned;
    if (argc > 1) {
        for (char c : text)
            if (c != ',' && c != '$')
                cleaned.push_back(c);
        text = cleaned;
    }
    Decimal d;
    const int rc = num::parse(text, &d);
    if (rc != 0)
        return fail(ctx, rc);
    resultNumber(ctx, d);
}

void fnNumberText(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    Decimal d;
    if (!numberArg(ctx, argv[0], &d))
        return;
    char buf[64];
    sqlite3_result_text(ctx, buf, num::toText(d, buf), SQLITE_TRANSIENT);
}

template <int (*Op)(const Decimal &, const Decimal &, Decimal *)>
void fnArithmetic(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    Decimal a, b, r;
    if (!numberArg(ctx, argv[0], &a) || !numberArg(ctx, argv[1], &b))
        return;
    const int rc = Op(a, b, &r);
    if (rc != 0)
        return fail(ctx, rc);
    resultNumber(ctx, r);
}

void fnNegate(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    Decimal a, r;
    if (!numberArg(ctx, argv[0], &a))
        return;
    num::subtract(Decimal(), a, &r);
    resultNumber(ctx, r);
}

// kdb_dadd(date, days): a date plus a number of days, to the second.
void fnDateAdd(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    DateTime dt;
    Decimal days, seconds;
    if (!dateArg(ctx, argv[0], &dt) || !numberArg(ctx, argv[1], &days))
        return;
    num::multiply(days, Decimal::fromInt(86400), &seconds);
    num::fitTo(&seconds, 38, 0);
    int64_t delta = 0;
    DateTime out;
    if (!seconds.toInt64(&delta) || !datemath::addSeconds(dt, delta, &out))
        return fail(ctx, 1841);
    resultDate(ctx, out);
}

// kdb_ddiff(a, b): days from b to a.
void fnDateDiff(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    DateTime a, b;
    if (!dateArg(ctx, argv[0], &a) || !dateArg(ctx, argv[1], &b))
        return;
    Decimal r;
    num::divide(Decimal::fromInt(datemath::toSeconds(a) - datemath::toSeconds(b)), Decimal::fromInt(86400), &r);
    resultNumber(ctx, r);
}

void fnDateText(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    DateTime dt;
    if (!dateArg(ctx, argv[0], &dt))
        return;
    resultText(ctx, date::toDefaultText(dt));
}

// How much of the stored form ("YYYY-MM-DD HH:MM:SS") a format gives as it
// stands: the two ISO formats an export asks for on every row. 0 for any other.
size_t storedPrefixFor(std::string_view format)
{
    const auto sameLetters = [format](std::string_view lower) {
        return format.size() == lower.size()
            && std::equal(format.begin(), format.end(), lower.begin(),
                          [](char a, char b) { return (a >= 'A' && a <= 'Z' ? char(a + 32) : a) == b; });
    };
    if (sameLetters("yyyy-mm-dd hh24:mi:ss"))
        return 19;
    if (sameLetters("yyyy-mm-dd"))
        return 10;
    return 0;
}

void fnDateToChar(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    DateTime dt;
    if (!dateArg(ctx, argv[0], &dt))
        return;
    if (const size_t prefix = storedPrefixFor(textArg(argv[1])))
        return resultText(ctx, textArg(argv[0]).substr(0, prefix));
    std::string out;
    const int rc = date::toChar(dt, textArg(argv[1]), &out);
    if (rc != 0)
        return fail(ctx, rc);
    resultText(ctx, out);
}

void fnNumberToChar(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    Decimal d;
    if (!numberArg(ctx, argv[0], &d))
        return;
    std::string out;
    const int rc = numfmt::format(d, textArg(argv[1]), &out);
    if (rc != 0)
        return fail(ctx, rc);
    resultText(ctx, out);
}

// kdb_todate(text [, format]).
void fnToDate(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    DateTime dt;
    const int rc = argc > 1 ? date::toDate(textArg(argv[0]), textArg(argv[1]), &dt)
                            : date::parseDefault(textArg(argv[0]), &dt);
    if (rc != 0)
        return fail(ctx, rc);
    resultDate(ctx, dt);
}

void fnSysdate(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultDate(ctx, datemath::now());
}

size_t charLength(std::string_view s, size_t i)
{
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (i + n > s.size())
        n = 1;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 1;
    return n;
}

bool likeMatch(std::string_view s, std::string_view p, int escape)
{
    size_t si = 0, pi = 0;
    size_t starP = std::string_view::npos, starS = 0;
    while (si < s.size()) {
        if (pi < p.size()) {
            const char pc = p[pi];
            if (escape >= 0 && static_cast<unsigned char>(pc) == escape && pi + 1 < p.size()) {
                const size_t n = charLength(p, pi + 1);
                if (s.substr(si, n) == p.substr(pi + 1, n)) {
                    si += n;
                    pi += 1 + n;
                    continue;
                }
            } else if (pc == '%') {
                starP = ++pi;
                starS = si;
                continue;
            } else if (pc == '_') {
                si += charLength(s, si);
                ++pi;
                continue;
            } else {
                const size_t n = charLength(p, pi);
                if (s.substr(si, n) == p.substr(pi, n)) {
                    si += n;
                    pi += n;
                    continue;
                }
            }
        }
        if (starP == std::string_view::npos)
            return false;
        starS += charLength(s, starS);
        si = starS;
        pi = starP;
    }
    while (pi < p.size() && p[pi] == '%')
        ++pi;
    return pi == p.size();
}

void fnLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    int escape = -1;
    if (argc > 2) {
        const std::string_view e = textArg(argv[2]);
        if (e.size() != 1)
            return fail(ctx, 1425); // escape character must be a string of length 1
        escape = static_cast<unsigned char>(e[0]);
    }
    sqlite3_result_int(ctx, likeMatch(textArg(argv[0]), textArg(argv[1]), escape) ? 1 : 0);
}

bool integerArg(sqlite3_context *ctx, sqlite3_value *v, int64_t *out)
{
    Decimal d;
    if (!numberArg(ctx, v, &d))
        return false;
    // Oracle truncates a fractional position or length.
    Decimal t = d;
    if (t.m_exponent < t.m_count && t.m_exponent >= 0)
        t.m_count = t.m_exponent;
    else if (t.m_exponent < 0)
        t = Decimal();
    if (t.m_count == 0)
        t = Decimal();
    if (!t.toInt64(out))
        *out = t.isNegative() ? INT32_MIN : INT32_MAX;
    return true;
}

// kdb_substr(text, position [, length]) in characters, Oracle's rules:
// position 0 counts as 1, a negative one counts from the end.
void fnSubstr(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const std::string_view s = textArg(argv[0]);
    int64_t pos = 0, len = INT32_MAX;
    if (!integerArg(ctx, argv[1], &pos) || (argc > 2 && !integerArg(ctx, argv[2], &len)))
        return;
    if (len < 1)
        return sqlite3_result_null(ctx);
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); i += charLength(s, i))
        starts.push_back(i);
    const int64_t count = int64_t(starts.size());
    int64_t first = pos == 0 ? 1 : pos;
    if (first < 0)
        first = count + first + 1;
    if (first < 1 || first > count)
        return sqlite3_result_null(ctx);
    const int64_t last = std::min(count, first - 1 + len);
    const size_t b = starts[size_t(first - 1)];
    const size_t e = last >= count ? s.size() : starts[size_t(last)];
    resultText(ctx, s.substr(b, e - b));
}

// kdb_fit(value, from, code, size, precision, scale, nullable, name, isUpdate):
// the value in the stored form of a column, checked as Oracle checks it.
void fnFit(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    store::ColumnTarget target;
    target.type.code = sqlite3_value_int(argv[2]);
    target.type.size = sqlite3_value_int(argv[3]);
    target.type.precision = sqlite3_value_int(argv[4]);
    target.type.scale = sqlite3_value_int(argv[5]);
    target.nullable = sqlite3_value_int(argv[6]) != 0;
    target.quotedName.assign(textArg(argv[7]));
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || textArg(argv[0]).empty()) {
        if (!target.nullable)
            return fail(ctx, sqlite3_value_int(argv[8]) ? ora::kCannotUpdateNull : ora::kCannotInsertNull,
                        store::nullDetail(target));
        return sqlite3_result_null(ctx);
    }
    std::string scratch, detail;
    std::string_view out;
    const int rc = store::storeValue(target, sqlite3_value_int(argv[1]), textArg(argv[0]), &scratch, &out, &detail);
    if (rc != 0)
        return fail(ctx, rc, detail);
    sqlite3_result_text(ctx, out.data(), int(out.size()), SQLITE_TRANSIENT);
}

struct Function {
    const char *name;
    int args;
    void (*fn)(sqlite3_context *, int, sqlite3_value **);
    bool deterministic;
};

const Function kFunctions[] = {
    {"kdb_num", 1, fnNum, true},
    {"kdb_tonum", 1, fnToNumber, true},
    {"kdb_tonum", 2, fnToNumber, true},
    {"kdb_ntext", 1, fnNumberText, true},
    {"kdb_add", 2, fnArithmetic<num::add>, true},
    {"kdb_sub", 2, fnArithmetic<num::subtract>, true},
    {"kdb_mul", 2, fnArithmetic<num::multiply>, true},
    {"kdb_div", 2, fnArithmetic<num::divide>, true},
    {"kdb_neg", 1, fnNegate, true},
    {"kdb_dadd", 2, fnDateAdd, true},
    {"kdb_ddiff", 2, fnDateDiff, true},
    {"kdb_dtext", 1, fnDateText, true},
    {"kdb_dchar", 2, fnDateToChar, true},
    {"kdb_nchar", 2, fnNumberToChar, true},
    {"kdb_todate", 1, fnToDate, true},
    {"kdb_todate", 2, fnToDate, true},
    {"kdb_sysdate", 0, fnSysdate, false},
    {"kdb_like", 2, fnLike, true},
    {"kdb_like", 3, fnLike, true},
    {"kdb_substr", 2, fnSubstr, true},
    {"kdb_substr", 3, fnSubstr, true},
    {"kdb_fit", 9, fnFit, true},
};

} // namespace

void registerFunctions(sqlite3 *db)
{
    for (const Function &f : kFunctions) {
        const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr, nullptr);
    }
}

} // namespace kdb
