#include "oracle/LocaleText.h"

#include <QByteArray>
#include <QString>

namespace {

// The first byte of a two-byte Shift-JIS character.
bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::string upperAsciiKeepingDoubleBytes(std::string_view text)
{
    std::string upper(text);
    for (size_t i = 0; i < upper.size(); ++i) {
        const auto c = static_cast<unsigned char>(upper[i]);
        if (isLeadByte(c))
            ++i;
        else if (c >= 'a' && c <= 'z')
            upper[i] = char(c - 'a' + 'A');
    }
    return upper;
}

} // namespace

std::string upperLocal8Bit(std::string_view text)
{
    const QByteArray bytes = QByteArray::fromRawData(text.data(), qsizetype(text.size()));
    const QString decoded = QString::fromLocal8Bit(bytes);
    if (decoded.toLocal8Bit() == bytes)
        return decoded.toUpper().toLocal8Bit().toStdString();
    return upperAsciiKeepingDoubleBytes(text);
}
