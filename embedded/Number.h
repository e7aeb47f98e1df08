#pragma once
// Oracle NUMBER values: exact decimals of up to 38 significant digits.
// No heap allocation: a value is a fixed array of decimal digits.
#include <cstdint>
#include <string>
#include <string_view>

namespace kdb {

class Decimal {
public:
    static constexpr int kMaxDigits = 40; // 38 significant + room for rounding

    Decimal() = default;                  // zero
    static Decimal fromInt(int64_t v);

    bool isZero() const { return m_count == 0; }
    bool isNegative() const { return m_negative; }
    // Number of digits before the decimal point (<= 0 for |v| < 1).
    int integerDigits() const { return m_count == 0 ? 0 : m_exponent; }
    // True and the value when it is integral and fits in 64 bits.
    bool toInt64(int64_t *out) const;
    double toDouble() const;

    // -1, 0, 1.
    static int compare(const Decimal &a, const Decimal &b);

    // Digit storage: m_digits[0..m_count) most significant first, no leading or
    // trailing zeros; value = 0.d0d1d2... * 10^m_exponent.
    uint8_t m_digits[kMaxDigits] = {};
    int m_count = 0;
    int m_exponent = 0;
    bool m_negative = false;
};

namespace num {

// Parses text as Oracle's TO_NUMBER without a format does: blanks around,
// an optional sign, digits with at most one ".", an optional exponent
// ("1.5E3"). More than 38 significant digits are rounded to 38. Returns 0, or
// 1722 (invalid number) for anything else, including the empty text, or 1426
// (numeric overflow) for a value of 1E126 or more; values below 1E-130 read
// as zero. On failure *out is left as it was.
int parse(std::string_view text, Decimal *out);

// Fits a value to a column of NUMBER(precision, scale): rounds half away from
// zero to `scale` digits after the point (a negative scale rounds to the left
// of the point), then fails with 1438 when more than precision - scale digits
// stand before the point. precision 0 means unconstrained NUMBER (only the 38
// significant digits apply, scale ignored). Returns 0 or 1438.
int fitTo(Decimal *value, int precision, int scale);

// Oracle's default text form: "0.5" is ".5", "-0.5" is "-.5", "1.50" is
// "1.5", integers without a point, zero is "0". Very large or small values
// (more than 40 characters in plain form) use the scientific form "1.5E+45",
// "-1E-50": the shortest mantissa, the exponent with at least two digits, and
// the mantissa rounded so that the text stays within 40 characters.
std::string toText(const Decimal &value);
// The same into a caller's buffer of at least 48 bytes; returns the length
// (no NUL written).
int toText(const Decimal &value, char *buf);

// Arithmetic with Oracle's results rounded to 38 significant digits. divide
// returns 1476 for a division by zero, the others 0; overflow beyond
// 1E126 returns 1426.
int add(const Decimal &a, const Decimal &b, Decimal *out);
int subtract(const Decimal &a, const Decimal &b, Decimal *out);
int multiply(const Decimal &a, const Decimal &b, Decimal *out);
int divide(const Decimal &a, const Decimal &b, Decimal *out);

// An order-preserving text key: comparing two keys bytewise (memcmp) orders
// the values numerically. Used where the engine stores or indexes NUMBERs.
std::string sortKey(const Decimal &value);
bool fromSortKey(std::string_view key, Decimal *out);

} // namespace num
} // namespace kdb
