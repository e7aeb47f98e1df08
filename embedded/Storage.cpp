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
// The NUMBER key, compact because it is most of what a numeric column
// writes: byte 1 for a negative value, 2 for zero, 3 for a positive one; then
// the base-100 exponent (e + 128, or 127 - e when negative); then the
// base-100 digits, each as digit + 1 (101 - digit when negative), without
// trailing zeros, and a negative key ends with 0xFF. A shorter digit string
// that is a prefix of a longer one is the smaller magnitude; the final 0xFF
// turns that round for negatives. No byte is zero, so SQLite keeps the key as
// TEXT and compares it with memcmp.
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

// Bytes of the NUMBER key (see the top of the file). None is zero, so a key
// is safe as SQLite TEXT.
constexpr char kNegativeByte = 1;
constexpr char kZeroByte = 2;
constexpr char kPositiveByte = 3;
constexpr int kNegativeEnd = 0xFF;

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
        out[0] = kZeroByte;
        return 1;
    }
    const bool negative = value.m_negative;
    // Base-100 digits: a leading decimal zero aligns an odd exponent.
    const int lead = value.m_exponent % 2 != 0 ? 1 : 0;
    const int exponent = (value.m_exponent + lead) / 2;
    int n = 0;
    out[n++] = negative ? kNegativeByte : kPositiveByte;
    out[n++] = char(negative ? 127 - exponent : exponent + 128);
    const int total = value.m_count + lead;
    for (int i = 0; i < total; i += 2) {
        const int hi = i - lead >= 0 ? value.m_digits[i - lead] : 0;
        const int lo = i + 1 - lead < value.m_count ? value.m_digits[i + 1 - lead] : 0;
        const int pair = hi * 10 + lo;
        out[n++] = char(negative ? 101 - pair : pair + 1);
    }
    if (negative)
        out[n++] = char(kNegativeEnd);
    return n;
}

bool decodeNumber(std::string_view key, Decimal *out)
{
    *out = Decimal();
    if (key.size() == 1 && key[0] == kZeroByte)
        return true;
    if (key.size() < 3 || (key[0] != kNegativeByte && key[0] != kPositiveByte))
        return false;
    const bool negative = key[0] == kNegativeByte;
    const int e = static_cast<unsigned char>(key[1]);
    std::string_view pairs = key.substr(2);
    if (negative) {
        if (static_cast<unsigned char>(pairs.back()) != kNegativeEnd)
            return false;
        pairs.remove_suffix(1);
    }
    uint8_t digits[2 * kNumberKeyMax];
    int count = 0;
    for (char c : pairs) {
        const int b = static_cast<unsigned char>(c);
        const int pair = negative ? 101 - b : b - 1;
        if (pair < 0 || pair > 99)
            return false;
        digits[count++] = uint8_t(pair / 10);
        digits[count++] = uint8_t(pair % 10);
    }
    int exponent = 2 * (negative ? 127 - e : e - 128);
    int first = 0;
    while (first < count && digits[first] == 0) {
        ++first;
        --exponent;
    }
    while (count > first && digits[count - 1] == 0)
        --count;
    if (count == first || count - first > Decimal::kMaxDigits)
        return false;
    for (int i = first; i < count; ++i)
        out->m_digits[i - first] = digits[i];
    out->m_count = count - first;
    out->m_exponent = exponent;
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
