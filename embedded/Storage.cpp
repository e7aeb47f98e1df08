// How the engine keeps Oracle values in SQLite.
//
// Every column is declared without a SQLite type, so SQLite stores exactly
// the text we give it and never converts it. All values are TEXT, in a form
// chosen so that SQLite's plain byte comparison (the BINARY collation) gives
// Oracle's order. That keeps WHERE, ORDER BY, DISTINCT, IN and the unique
// indexes of PRIMARY KEY and UNIQUE right with no collation callback, which
// matters because a unique index compares keys on every insert.
//
//   VARCHAR2, LONG  the bytes as given.
//   CHAR(n)         blank-padded to n bytes, as Oracle stores it.
//   NUMBER          an order-preserving key (below): decoding it for display
//                   is cheap, and the canonical form makes equal values equal
//                   bytes, so 1.50 and 1.5 collide in a unique key as in Oracle.
//   DATE            "YYYY-MM-DD HH24:MI:SS", which sorts as the dates do.
//   RAW             upper-case hex text.
// NULL is SQL NULL, and so is the empty string.
//
// The NUMBER key: "1" for zero; "2" + three digits of (exponent + 500) +
// the digits for a positive value; "0" + three digits of (499 - exponent) +
// the nines' complement of the digits + "~" for a negative one. The digits
// carry no trailing zeros, so a shorter digit string that is a prefix of a
// longer one is the smaller value; the "~" reverses that for negatives.
#include "Storage.h"

#include "SqlError.h"

#include <cstring>

namespace kdb {

int textWidth(const SqlType &type)
{
    switch (type.code) {
    case kNumber: return 40;
    case kDate: return 9;
    case kTimestamp: return 28;
    case kLong: return 4000;
    default: return type.size;
    }
}

namespace store {
namespace {

constexpr int kExponentBias = 500;

void put3(char *out, int v)
{
    out[0] = char('0' + v / 100);
    out[1] = char('0' + v / 10 % 10);
    out[2] = char('0' + v % 10);
}

int get3(const char *p)
{
    for (int i = 0; i < 3; ++i)
        if (p[i] < '0' || p[i] > '9')
            return -1;
    return (p[0] - '0') * 100 + (p[1] - '0') * 10 + (p[2] - '0');
}

std::string quotedDetail(const ColumnTarget &target, size_t actual, int maximum)
{
    return target.quotedName + " (actual: " + std::to_string(actual) + ", maximum: "
        + std::to_string(maximum) + ")";
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int storeNumber(const ColumnTarget &target, Decimal value, std::string *scratch, std::string_view *out)
{
    const int fit = num::fitTo(&value, target.type.precision, target.type.precision == 0 ? 0 : target.type.scale);
    if (fit != 0)
        return fit;
    scratch->resize(kNumberKeyMax);
    const int n = encodeNumber(value, scratch->data());
    *out = std::string_view(scratch->data(), size_t(n));
    return 0;
}

int storeChars(const ColumnTarget &target, std::string_view text, std::string *scratch, std::string_view *out,
               std::string *detail)
{
    const int max = target.type.size;
    if (target.type.code != kLong && text.size() > size_t(max)) {
        if (detail)
            *detail = quotedDetail(target, text.size(), max);
        return ora::kTooLarge;
    }
    if (target.type.code == kChar && text.size() < size_t(max)) {
        scratch->assign(text);
        scratch->resize(size_t(max), ' ');
        *out = *scratch;
    } else {
        *out = text;
    }
    return 0;
}

int storeRaw(const ColumnTarget &target, std::string_view text, std::string *scratch, std::string_view *out,
             std::string *detail)
{
    scratch->clear();
    if (text.size() % 2 != 0)
        scratch->push_back('0');
    for (char c : text) {
        const int v = hexValue(c);
        if (v < 0)
            return ora::kInvalidHex;
        scratch->push_back("0123456789ABCDEF"[v]);
    }
    const size_t bytes = scratch->size() / 2;
    if (bytes > size_t(target.type.size)) {
        if (detail)
            *detail = quotedDetail(target, bytes, target.type.size);
        return ora::kTooLarge;
    }
    *out = *scratch;
    return 0;
}

} // namespace

int encodeNumber(const Decimal &value, char *out)
{
    if (value.isZero()) {
        out[0] = '1';
        return 1;
    }
    int n = 0;
    const int biased = value.m_exponent + kExponentBias;
    if (!value.m_negative) {
        out[n++] = '2';
        put3(out + n, biased);
        n += 3;
        for (int i = 0; i < value.m_count; ++i)
            out[n++] = char('0' + value.m_digits[i]);
    } else {
        out[n++] = '0';
        put3(out + n, 999 - biased);
        n += 3;
        for (int i = 0; i < value.m_count; ++i)
            out[n++] = char('9' - value.m_digits[i]);
        out[n++] = '~';
    }
    return n;
}

bool decodeNumber(std::string_view key, Decimal *out)
{
    *out = Decimal();
    if (key == "1")
        return true;
    if (key.size() < 5 || (key[0] != '0' && key[0] != '2'))
        return false;
    const bool negative = key[0] == '0';
    const int e = get3(key.data() + 1);
    if (e < 0)
        return false;
    std::string_view digits = key.substr(4);
    if (negative) {
        if (digits.back() != '~')
            return false;
        digits.remove_suffix(1);
    }
    if (digits.empty() || digits.size() > size_t(Decimal::kMaxDigits))
        return false;
    for (size_t i = 0; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c < '0' || c > '9')
            return false;
        out->m_digits[i] = uint8_t(negative ? '9' - c : c - '0');
    }
    out->m_count = int(digits.size());
    out->m_exponent = negative ? 999 - e - kExponentBias : e - kExponentBias;
    out->m_negative = negative;
    return true;
}

std::string numberKey(const Decimal &value)
{
    char buf[kNumberKeyMax];
    return std::string(buf, size_t(encodeNumber(value, buf)));
}

std::string_view displayText(int code, std::string_view stored, std::string *scratch)
{
    if (code == kNumber) {
        Decimal d;
        if (!decodeNumber(stored, &d))
            return stored;
        scratch->resize(64);
        return std::string_view(scratch->data(), size_t(num::toText(d, scratch->data())));
    }
    if (code == kDate || code == kTimestamp) {
        DateTime dt;
        if (!date::fromStorage(stored, &dt))
            return stored;
        *scratch = date::toDefaultText(dt);
        return *scratch;
    }
    return stored;
}

int dateFromDefaultText(std::string_view text, char out[kDateLength])
{
    DateTime dt;
    const int rc = date::parseDefault(text, &dt);
    if (rc == 0)
        date::toStorage(dt, out);
    return rc;
}

int storeText(const ColumnTarget &target, std::string_view text, std::string *scratch, std::string_view *out,
              std::string *detail)
{
    switch (target.type.code) {
    case kNumber: {
        Decimal d;
        const int rc = num::parse(text, &d);
        return rc != 0 ? rc : storeNumber(target, d, scratch, out);
    }
    case kDate:
    case kTimestamp: {
        scratch->resize(kDateLength);
        const int rc = dateFromDefaultText(text, scratch->data());
        *out = *scratch;
        return rc;
    }
    case kRaw:
        return storeRaw(target, text, scratch, out, detail);
    default:
        return storeChars(target, text, scratch, out, detail);
    }
}

int storeValue(const ColumnTarget &target, int from, std::string_view stored, std::string *scratch,
               std::string_view *out, std::string *detail)
{
    if (target.type.isNumber() && from == kNumber) {
        Decimal d;
        if (!decodeNumber(stored, &d))
            return ora::kInvalidNumber;
        return storeNumber(target, d, scratch, out);
    }
    if (target.type.isDate() && (from == kDate || from == kTimestamp)) {
        *out = stored;
        return 0;
    }
    if (target.type.isDate() && from == kNumber)
        return ora::kInconsistentTypes;
    if (target.type.isNumber() && (from == kDate || from == kTimestamp))
        return ora::kInconsistentTypes;
    std::string text;
    const std::string_view shown = displayText(from, stored, &text);
    if (shown.data() == text.data()) {
        // The text lives in a temporary: give the scratch buffer its own copy.
        std::string copy(shown);
        const int rc = storeText(target, copy, scratch, out, detail);
        if (rc == 0 && out->data() == copy.data()) {
            *scratch = copy;
            *out = *scratch;
        }
        return rc;
    }
    return storeText(target, shown, scratch, out, detail);
}

std::string nullDetail(const ColumnTarget &target)
{
    return target.quotedName;
}

} // namespace store
} // namespace kdb
