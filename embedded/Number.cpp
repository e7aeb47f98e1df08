#include "embedded/Number.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kdb {
namespace {

constexpr int kSignificant = 38;     // NUMBER keeps 38 significant digits
constexpr int kMaxExponent = 126;    // values stay below 1E126
constexpr int kMinExponent = -129;   // values below 1E-130 become zero
constexpr int kTextWidth = 40;       // longest plain text before E notation
constexpr int kErrInvalidNumber = 1722;
constexpr int kErrOverflow = 1426;
constexpr int kErrPrecision = 1438;
constexpr int kErrDivideByZero = 1476;

// Builds a value from digits d[0..n) meaning 0.d0d1... * 10^exponent, which
// may carry leading and trailing zeros and more digits than a NUMBER keeps:
// those are rounded half away from zero to 38 significant digits.
int finish(const uint8_t *d, int n, int exponent, bool negative, Decimal *out)
{
    while (n > 0 && d[0] == 0) {
        ++d;
        --n;
        --exponent;
    }
    while (n > 0 && d[n - 1] == 0)
        --n;
    Decimal r;
    if (n == 0) {
        *out = r;
        return 0;
    }
    bool roundUp = n > kSignificant && d[kSignificant] >= 5;
    n = std::min(n, kSignificant);
    for (int i = 0; i < n; ++i)
        r.m_digits[i] = d[i];
    if (roundUp) {
        int i = n - 1;
        while (i >= 0 && r.m_digits[i] == 9)
            r.m_digits[i--] = 0;
        if (i < 0) {
            r.m_digits[0] = 1;
            n = 1;
            ++exponent;
        } else {
            ++r.m_digits[i];
        }
    }
    while (n > 0 && r.m_digits[n - 1] == 0)
        --n;
    if (exponent > kMaxExponent)
        return kErrOverflow;
    if (exponent < kMinExponent) {
        *out = Decimal();
        return 0;
    }
    r.m_count = n;
    r.m_exponent = exponent;
    r.m_negative = negative;
    *out = r;
    return 0;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Keeps the digits standing at 10^-scale and above, rounding half away from
// zero on the first digit dropped.
void roundToScale(Decimal *v, int scale)
{
    int keep = v->m_exponent + scale;
    if (keep >= v->m_count)
        return;
    if (keep < 0) {
        *v = Decimal();
        return;
    }
    uint8_t buf[Decimal::kMaxDigits + 1];
    buf[0] = 0;  // room for a carry out of the first digit
    std::memcpy(buf + 1, v->m_digits, size_t(keep));
    if (v->m_digits[keep] >= 5) {
        int i = keep;
        while (buf[i] == 9)
            buf[i--] = 0;
        ++buf[i];
    }
    finish(buf, keep + 1, v->m_exponent + 1, v->m_negative, v);
}

// Plain decimal text without exponent; returns its length.
int writePlain(const Decimal &v, char *buf)
{
    char *p = buf;
    if (v.m_negative)
        *p++ = '-';
    const int e = v.m_exponent;
    if (e <= 0) {
        *p++ = '.';
        for (int i = 0; i < -e; ++i)
            *p++ = '0';
        for (int i = 0; i < v.m_count; ++i)
            *p++ = char('0' + v.m_digits[i]);
    } else {
        for (int i = 0; i < e; ++i)
            *p++ = char('0' + (i < v.m_count ? v.m_digits[i] : 0));
        if (v.m_count > e) {
            *p++ = '.';
            for (int i = e; i < v.m_count; ++i)
                *p++ = char('0' + v.m_digits[i]);
        }
    }
    return int(p - buf);
}

int plainLength(const Decimal &v)
{
    const int sign = v.m_negative ? 1 : 0;
    const int e = v.m_exponent;
    if (e <= 0)
        return sign + 1 - e + v.m_count;
    if (v.m_count <= e)
        return sign + e;
    return sign + v.m_count + 1;
}

// Scientific form "d.dddE+nn": the mantissa as short as the digits allow and
// rounded so that the whole text fits the 40 characters a NUMBER's text may
// take.
int writeScientific(const Decimal &value, char *buf)
{
    int e10 = value.m_exponent - 1;  // exponent of the first digit
    const int expDigits = (e10 >= 100 || e10 <= -100) ? 3 : 2;
    const int fixed = (value.m_negative ? 1 : 0) + 2 + expDigits;  // sign, E, sign of exponent, digits
    const int room = kTextWidth - fixed - 2;  // mantissa digits after the first one, the point taken off
    Decimal v = value;
    if (v.m_count - 1 > room) {
        // Round to room + 1 significant digits: a scale relative to the point.
        roundToScale(&v, room + 1 - v.m_exponent);
        e10 = v.m_exponent - 1;
    }
    char *p = buf;
    if (v.m_negative)
        *p++ = '-';
    *p++ = char('0' + v.m_digits[0]);
    if (v.m_count > 1) {
        *p++ = '.';
        for (int i = 1; i < v.m_count; ++i)
            *p++ = char('0' + v.m_digits[i]);
    }
    *p++ = 'E';
    *p++ = e10 < 0 ? '-' : '+';
    int a = e10 < 0 ? -e10 : e10;
    if (a >= 100)
        *p++ = char('0' + a / 100);
    *p++ = char('0' + a / 10 % 10);
    *p++ = char('0' + a % 10);
    return int(p - buf);
}

// Digits of a value placed in an integer array by the power of ten they
// stand for: slot k holds the digit of 10^(top - k).
struct Aligned {
    static constexpr int kSlots = 2 * Decimal::kMaxDigits + 4;
    uint8_t d[kSlots] = {};
};

int addMagnitudes(const Decimal &a, const Decimal &b, bool negative, Decimal *out)
{
    // Far apart, the smaller cannot reach the 38 digits kept of the larger.
    const Decimal &big = a.m_exponent >= b.m_exponent ? a : b;
    const Decimal &small = a.m_exponent >= b.m_exponent ? b : a;
    const int shift = big.m_exponent - small.m_exponent;
    if (shift > Decimal::kMaxDigits + 1)
        return finish(big.m_digits, big.m_count, big.m_exponent, negative, out);
    Aligned r;  // slot 0 is the carry, slot 1 the big value's first digit
    for (int i = 0; i < big.m_count; ++i)
        r.d[1 + i] += big.m_digits[i];
    for (int i = 0; i < small.m_count; ++i)
        r.d[1 + shift + i] += small.m_digits[i];
    for (int k = Aligned::kSlots - 1; k > 0; --k) {
        if (r.d[k] >= 10) {
            r.d[k] -= 10;
            ++r.d[k - 1];
        }
    }
    return finish(r.d, Aligned::kSlots, big.m_exponent + 1, negative, out);
}

// |a| - |b| for |a| >= |b|.
int subtractMagnitudes(const Decimal &a, const Decimal &b, bool negative, Decimal *out)
{
    const int shift = a.m_exponent - b.m_exponent;
    // So far apart, a - b has 9s from a's 39th digit on and rounds back to a.
    if (shift > Decimal::kMaxDigits + 1)
        return finish(a.m_digits, a.m_count, a.m_exponent, negative, out);
    int r[Aligned::kSlots] = {};
    for (int i = 0; i < a.m_count; ++i)
        r[i] += a.m_digits[i];
    for (int i = 0; i < b.m_count; ++i)
        r[shift + i] -= b.m_digits[i];
    for (int k = Aligned::kSlots - 1; k > 0; --k) {
        if (r[k] < 0) {
            r[k] += 10;
            --r[k - 1];
        }
    }
    uint8_t d[Aligned::kSlots];
    for (int k = 0; k < Aligned::kSlots; ++k)
        d[k] = uint8_t(r[k]);
    return finish(d, Aligned::kSlots, a.m_exponent, negative, out);
}

int compareMagnitudes(const Decimal &a, const Decimal &b)
{
    if (a.m_exponent != b.m_exponent)
        return a.m_exponent < b.m_exponent ? -1 : 1;
    const int n = std::min(a.m_count, b.m_count);
    for (int i = 0; i < n; ++i) {
        if (a.m_digits[i] != b.m_digits[i])
            return a.m_digits[i] < b.m_digits[i] ? -1 : 1;
    }
    return a.m_count == b.m_count ? 0 : (a.m_count < b.m_count ? -1 : 1);
}

int addSigned(const Decimal &a, const Decimal &b, bool negateB, Decimal *out)
{
    const bool bNegative = b.m_negative != negateB;
    if (b.isZero())
        return finish(a.m_digits, a.m_count, a.m_exponent, a.m_negative, out);
    if (a.isZero())
        return finish(b.m_digits, b.m_count, b.m_exponent, bNegative, out);
    if (a.m_negative == bNegative)
        return addMagnitudes(a, b, a.m_negative, out);
    const int c = compareMagnitudes(a, b);
    if (c == 0) {
        *out = Decimal();
        return 0;
    }
    return c > 0 ? subtractMagnitudes(a, b, a.m_negative, out)
                 : subtractMagnitudes(b, a, bNegative, out);
}

} // namespace

Decimal Decimal::fromInt(int64_t v)
{
    Decimal r;
    if (v == 0)
        return r;
    uint64_t u = v < 0 ? uint64_t(0) - uint64_t(v) : uint64_t(v);
    uint8_t tmp[20];
    int n = 0;
    while (u != 0) {
        tmp[n++] = uint8_t(u % 10);
        u /= 10;
    }
    uint8_t d[20];
    for (int i = 0; i < n; ++i)
        d[i] = tmp[n - 1 - i];
    finish(d, n, n, v < 0, &r);
    return r;
}

bool Decimal::toInt64(int64_t *out) const
{
    if (m_count == 0) {
        *out = 0;
        return true;
    }
    if (m_exponent < m_count || m_exponent > 19)
        return false;
    uint64_t u = 0;
    for (int i = 0; i < m_exponent; ++i) {
        const uint64_t digit = i < m_count ? m_digits[i] : 0;
        if (u > (UINT64_MAX - digit) / 10)
            return false;
        u = u * 10 + digit;
    }
    const uint64_t limit = m_negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
    if (u > limit)
        return false;
    *out = m_negative ? int64_t(uint64_t(0) - u) : int64_t(u);
    return true;
}

double Decimal::toDouble() const
{
    if (m_count == 0)
        return 0.0;
    // Through the C library's correctly rounded conversion of the text.
    char buf[64];
    const int n = writeScientific(*this, buf);
    buf[n] = '\0';
    return std::strtod(buf, nullptr);
}

int Decimal::compare(const Decimal &a, const Decimal &b)
{
    if (a.m_count == 0 || b.m_count == 0) {
        const int sa = a.m_count == 0 ? 0 : (a.m_negative ? -1 : 1);
        const int sb = b.m_count == 0 ? 0 : (b.m_negative ? -1 : 1);
        return sa == sb ? 0 : (sa < sb ? -1 : 1);
    }
    if (a.m_negative != b.m_negative)
        return a.m_negative ? -1 : 1;
    const int c = compareMagnitudes(a, b);
    return a.m_negative ? -c : c;
}

namespace num {

int parse(std::string_view text, Decimal *out)
{
    size_t i = 0;
    size_t end = text.size();
    while (i < end && text[i] == ' ')
        ++i;
    while (end > i && text[end - 1] == ' ')
        --end;
    if (i == end)
        return kErrInvalidNumber;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    // One digit beyond the 38 kept decides the rounding; the rest only count.
    uint8_t digits[kSignificant + 1];
    int count = 0;
    int exponent = 0;        // digits before the point, leading zeros excluded
    bool seenDigit = false;
    bool seenPoint = false;
    bool seenNonZero = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            seenDigit = true;
            if (c != '0')
                seenNonZero = true;
            if (seenNonZero) {
                if (count <= kSignificant)
                    digits[count++] = uint8_t(c - '0');
                if (!seenPoint)
                    ++exponent;
            } else if (seenPoint) {
                --exponent;  // a zero between the point and the first digit
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit)
        return kErrInvalidNumber;
    if (i < end) {
        if (text[i] != 'e' && text[i] != 'E')
            return kErrInvalidNumber;
        ++i;
        bool expNegative = false;
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        if (i == end)
            return kErrInvalidNumber;
        int e = 0;
        for (; i < end; ++i) {
            if (!isDigit(text[i]))
                return kErrInvalidNumber;
            e = std::min(e * 10 + (text[i] - '0'), 100000);
        }
        exponent += expNegative ? -e : e;
    }
    if (!seenNonZero) {
        *out = Decimal();
        return 0;
    }
    return finish(digits, count, exponent, negative, out);
}

int fitTo(Decimal *value, int precision, int scale)
{
    if (precision <= 0)
        return 0;
    roundToScale(value, scale);
    if (!value->isZero() && value->integerDigits() > precision - scale)
        return kErrPrecision;
    return 0;
}

int toText(const Decimal &value, char *buf)
{
    if (value.isZero()) {
        buf[0] = '0';
        return 1;
    }
    if (plainLength(value) <= kTextWidth)
        return writePlain(value, buf);
    return writeScientific(value, buf);
}

std::string toText(const Decimal &value)
{
    char buf[64];
    return std::string(buf, size_t(toText(value, buf)));
}

int add(const Decimal &a, const Decimal &b, Decimal *out)
{
    return addSigned(a, b, false, out);
}

int subtract(const Decimal &a, const Decimal &b, Decimal *out)
{
    return addSigned(a, b, true, out);
}

int multiply(const Decimal &a, const Decimal &b, Decimal *out)
{
    if (a.isZero() || b.isZero()) {
        *out = Decimal();
        return 0;
    }
    // Slot i + j + 1 takes the product of digits i and j; slot 0 the carry.
    uint32_t acc[2 * Decimal::kMaxDigits + 1] = {};
    for (int i = 0; i < a.m_count; ++i)
        for (int j = 0; j < b.m_count; ++j)
            acc[i + j + 1] += uint32_t(a.m_digits[i]) * b.m_digits[j];
    const int n = a.m_count + b.m_count;
    for (int k = n; k > 0; --k) {
        acc[k - 1] += acc[k] / 10;
        acc[k] %= 10;
    }
    uint8_t d[2 * Decimal::kMaxDigits + 1];
    for (int k = 0; k <= n; ++k)
        d[k] = uint8_t(acc[k]);
    return finish(d, n + 1, a.m_exponent + b.m_exponent, a.m_negative != b.m_negative, out);
}

int divide(const Decimal &a, const Decimal &b, Decimal *out)
{
    if (b.isZero())
        return kErrDivideByZero;
    if (a.isZero()) {
        *out = Decimal();
        return 0;
    }
    // Long division of the digit strings, one quotient digit at a time. The
    // remainder stays below 10 * divisor, so a window one digit wider than
    // the divisor holds it.
    const int w = b.m_count + 1;
    uint8_t divisor[Decimal::kMaxDigits + 1] = {};
    uint8_t rem[Decimal::kMaxDigits + 1] = {};
    std::memcpy(divisor + 1, b.m_digits, size_t(b.m_count));
    int next = 0;  // next digit of a to bring down
    auto bringDown = [&]() {
        std::memmove(rem, rem + 1, size_t(w - 1));
        rem[w - 1] = next < a.m_count ? a.m_digits[next] : 0;
        ++next;
    };
    auto remGeDivisor = [&]() {
        for (int k = 0; k < w; ++k)
            if (rem[k] != divisor[k])
                return rem[k] > divisor[k];
        return true;
    };
    auto remSubtract = [&]() {
        int borrow = 0;
        for (int k = w - 1; k >= 0; --k) {
            int v = int(rem[k]) - divisor[k] - borrow;
            borrow = v < 0;
            rem[k] = uint8_t(v + (borrow ? 10 : 0));
        }
    };
    // Bring down as many digits as the divisor has, then produce quotient
    // digits until 39 significant ones stand (one to round on).
    for (int k = 0; k < b.m_count; ++k)
        bringDown();
    uint8_t q[kSignificant + 3];
    int qn = 0;
    int qExponent = a.m_exponent - b.m_exponent + 1;
    bool leading = true;
    while (qn < kSignificant + 1) {
        uint8_t digit = 0;
        while (remGeDivisor()) {
            remSubtract();
            ++digit;
        }
        if (leading && digit == 0) {
            --qExponent;
        } else {
            leading = false;
            q[qn++] = digit;
        }
        bringDown();
    }
    return finish(q, qn, qExponent, a.m_negative != b.m_negative, out);
}

// Key layout, all printable ASCII so it is safe as TEXT too:
//   '1'                                     zero
//   '2' exponent+200 (3 digits) digits      positive
//   '0' 999-(exponent+200) 9-complemented digits '~'   negative
// Positive keys compare like the values because the exponent comes first
// and digit strings without trailing zeros compare as fractions do; the
// negative form mirrors that, its '~' ending sorting a shorter fraction
// (the smaller magnitude) after its longer extensions.
std::string sortKey(const Decimal &value)
{
    if (value.isZero())
        return "1";
    char buf[Decimal::kMaxDigits + 8];
    char *p = buf;
    int biased = value.m_exponent + 200;
    const bool neg = value.m_negative;
    if (neg)
        biased = 999 - biased;
    *p++ = neg ? '0' : '2';
    *p++ = char('0' + biased / 100);
    *p++ = char('0' + biased / 10 % 10);
    *p++ = char('0' + biased % 10);
    for (int i = 0; i < value.m_count; ++i)
        *p++ = char('0' + (neg ? 9 - value.m_digits[i] : value.m_digits[i]));
    if (neg)
        *p++ = '~';
    return std::string(buf, size_t(p - buf));
}

bool fromSortKey(std::string_view key, Decimal *out)
{
    if (key == "1") {
        *out = Decimal();
        return true;
    }
    if (key.size() < 5 || (key[0] != '0' && key[0] != '2'))
        return false;
    const bool neg = key[0] == '0';
    if (neg && key.back() != '~')
        return false;
    for (int k = 1; k <= 3; ++k)
        if (!isDigit(key[size_t(k)]))
            return false;
    int biased = (key[1] - '0') * 100 + (key[2] - '0') * 10 + (key[3] - '0');
    if (neg)
        biased = 999 - biased;
    const std::string_view digits = key.substr(4, key.size() - 4 - (neg ? 1 : 0));
    if (digits.empty() || int(digits.size()) > kSignificant)
        return false;
    Decimal r;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (!isDigit(digits[i]))
            return false;
        const int d = digits[i] - '0';
        r.m_digits[i] = uint8_t(neg ? 9 - d : d);
    }
    r.m_count = int(digits.size());
    r.m_exponent = biased - 200;
    r.m_negative = neg;
    if (r.m_digits[0] == 0 || r.m_digits[r.m_count - 1] == 0)
        return false;
    if (r.m_exponent > kMaxExponent || r.m_exponent < kMinExponent)
        return false;
    *out = r;
    return true;
}

} // namespace num
} // namespace kdb
