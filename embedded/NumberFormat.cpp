#include "NumberFormat.h"

#include "SqlError.h"

#include <algorithm>

namespace kdb::numfmt {
namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

struct Model {
    bool fillMode = false;   // FM
    bool leadingSign = false;// S
    bool trailingMinus = false; // MI
    bool dollar = false;
    std::string integerPart; // 9, 0 and , as written
    int decimals = 0;
    bool point = false;
    std::string fractionPart;
};

bool parseModel(std::string_view fmt, Model *m)
{
    std::string f;
    for (char c : fmt)
        f.push_back(upper(c));
    std::string_view s = f;
    if (s.substr(0, 2) == "FM") {
        m->fillMode = true;
        s.remove_prefix(2);
    }
    if (!s.empty() && s.front() == 'S') {
        m->leadingSign = true;
        s.remove_prefix(1);
    }
    if (s.size() >= 2 && s.substr(s.size() - 2) == "MI") {
        m->trailingMinus = true;
        s.remove_suffix(2);
    }
    if (!s.empty() && s.front() == '$') {
        m->dollar = true;
        s.remove_prefix(1);
    }
    for (char c : s) {
        if (c == '.' || c == 'D') {
            if (m->point)
                return false;
            m->point = true;
        } else if (c == '9' || c == '0') {
            (m->point ? m->fractionPart : m->integerPart).push_back(c);
        } else if (c == ',' || c == 'G') {
            if (m->point)
                return false;
            m->integerPart.push_back(',');
        } else {
            return false;
        }
    }
    m->decimals = int(m->fractionPart.size());
    return !m->integerPart.empty() || !m->fractionPart.empty();
}

int digitAt(const Decimal &v, int position) // position 0 = first digit after the point's left neighbour
{
    // Digit for power 10^(exponent-1-index); index = v.m_exponent - 1 - power.
    const int index = position;
    return (index >= 0 && index < v.m_count) ? v.m_digits[index] : 0;
}

} // namespace

int width(std::string_view fmt)
{
    return int(fmt.size()) + 2;
}

int format(const Decimal &input, std::string_view fmt, std::string *out)
{
    Model m;
    if (!parseModel(fmt, &m))
        return 1481;
    Decimal v = input;
    num::fitTo(&v, 38, m.decimals);
    int integerSlots = 0;
    for (char c : m.integerPart)
        integerSlots += c != ',';
    const int integerDigits = std::max(v.isZero() ? 0 : v.m_exponent, 0);
    const int totalWidth = int(m.integerPart.size() + (m.point ? 1 + m.fractionPart.size() : 0))
        + (m.dollar ? 1 : 0) + 1;
    if (integerDigits > integerSlots) {
        out->assign(size_t(totalWidth), '#');
        return 0;
    }
    // Integer part, right to left.
    std::string integer;
    const size_t firstZero = m.integerPart.find('0');
    int digitsLeft = integerDigits;
    int power = 0; // 10^power for the slot being filled
    for (size_t i = m.integerPart.size(); i-- > 0;) {
        const char c = m.integerPart[i];
        const bool forcedZero = firstZero != std::string::npos && i >= firstZero;
        if (c == ',') {
            integer.push_back(digitsLeft > 0 || forcedZero ? ',' : ' ');
            continue;
        }
        if (digitsLeft > 0) {
            integer.push_back(char('0' + digitAt(v, v.m_exponent - 1 - power)));
            --digitsLeft;
        } else if (forcedZero || (power == 0 && !m.point && integerDigits == 0)
                   || (power == 0 && m.fractionPart.empty())) {
            integer.push_back('0');
        } else {
            integer.push_back(' ');
        }
        ++power;
    }
    std::reverse(integer.begin(), integer.end());
    std::string fraction;
    for (int i = 0; i < m.decimals; ++i)
        fraction.push_back(char('0' + digitAt(v, v.m_exponent + i)));

    // Place the sign (and $) just before the first digit.
    const size_t firstUsed = integer.find_first_not_of(' ');
    std::string lead = integer.substr(0, firstUsed == std::string::npos ? integer.size() : firstUsed);
    std::string body = firstUsed == std::string::npos ? std::string() : integer.substr(firstUsed);
    std::string sign;
    if (m.leadingSign)
        sign = v.isNegative() ? "-" : "+";
    else if (!m.trailingMinus)
        sign = v.isNegative() ? "-" : " ";
    std::string text = lead + sign + (m.dollar ? "$" : "") + body;
    if (m.point)
        text += "." + fraction;
    if (m.trailingMinus)
        text += v.isNegative() ? "-" : " ";
    if (m.fillMode) {
        const size_t b = text.find_first_not_of(' ');
        const size_t e = text.find_last_not_of(' ');
        text = b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
    }
    *out = std::move(text);
    return 0;
}

} // namespace kdb::numfmt
