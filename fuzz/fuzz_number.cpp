// NUMBER text on arbitrary bytes. The input is one or two texts split at the
// first LF. What parses must print within its buffer and read back from its
// print, survive its sort key both ways and order by that key as it compares,
// and fit to columns of several precisions and scales as promised.
#include "embedded/Number.h"
#include "fuzz/FuzzCheck.h"

#include <cstring>
#include <memory>
#include <string>

namespace {

using kdb::Decimal;

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// Prints into a buffer of exactly the promised 48 bytes on the heap, so that
// a longer text is an overflow the address checker reports.
std::string printed(const Decimal &value)
{
    const auto buf = std::make_unique<char[]>(48);
    const int n = kdb::num::toText(value, buf.get());
    FUZZ_CHECK(n > 0 && n <= 48);
    const std::string text(buf.get(), size_t(n));
    FUZZ_CHECK(text == kdb::num::toText(value));
    return text;
}

void checkValue(const Decimal &value)
{
    FUZZ_CHECK(value.m_count >= 0 && value.m_count <= 38);
    const std::string text = printed(value);
    FUZZ_CHECK(text.size() <= 40);
    Decimal back;
    FUZZ_CHECK(kdb::num::parse(text, &back) == 0);
    // The plain form is exact; the scientific one may round its mantissa.
    if (text.find('E') == std::string::npos)
        FUZZ_CHECK(Decimal::compare(back, value) == 0);

    Decimal fromKey;
    FUZZ_CHECK(kdb::num::fromSortKey(kdb::num::sortKey(value), &fromKey));
    FUZZ_CHECK(Decimal::compare(fromKey, value) == 0);

    static const int columns[][2] = {{0, 0}, {1, 0}, {10, 0}, {8, 2}, {5, -2}, {38, 38}, {38, 0}, {3, 5}};
    for (const auto &column : columns) {
        Decimal fitted = value;
        const int rc = kdb::num::fitTo(&fitted, column[0], column[1]);
        FUZZ_CHECK(rc == 0 || rc == 1438);
        if (rc == 0 && column[0] > 0 && !fitted.isZero())
            FUZZ_CHECK(fitted.integerDigits() <= column[0] - column[1]);
        if (rc == 0)
            printed(fitted);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const size_t lf = input.find('\n');
    const std::string_view first = input.substr(0, lf);

    Decimal a;
    const int rc = kdb::num::parse(first, &a);
    FUZZ_CHECK(rc == 0 || rc == 1722 || rc == 1426);
    if (rc == 0)
        checkValue(a);
    // Keys come back from database files, which may have been damaged.
    Decimal fromKey;
    if (kdb::num::fromSortKey(input, &fromKey))
        checkValue(fromKey);
    if (rc != 0 || lf == std::string_view::npos)
        return 0;

    Decimal b;
    if (kdb::num::parse(input.substr(lf + 1), &b) != 0)
        return 0;
    const std::string keyA = kdb::num::sortKey(a);
    const std::string keyB = kdb::num::sortKey(b);
    FUZZ_CHECK(sign(keyA.compare(keyB)) == Decimal::compare(a, b));

    Decimal result;
    using Operation = int (*)(const Decimal &, const Decimal &, Decimal *);
    for (Operation op : {Operation(kdb::num::add), Operation(kdb::num::subtract),
                         Operation(kdb::num::multiply), Operation(kdb::num::divide)}) {
        if (op(a, b, &result) == 0)
            checkValue(result);
    }
    return 0;
}
