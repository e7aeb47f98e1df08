#include "oracle/LocaleText.h"

#include <QByteArray>
#include <QString>

std::string upperLocal8Bit(std::string_view text)
{
    const QByteArray bytes = QByteArray::fromRawData(text.data(), qsizetype(text.size()));
    const QString decoded = QString::fromLocal8Bit(bytes);
    if (decoded.toLocal8Bit() == bytes)
        return decoded.toUpper().toLocal8Bit().toStdString();
    std::string upper(text);
    for (char &c : upper) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return upper;
}

bool equalIgnoringCaseLocal8Bit(std::string_view a, std::string_view b)
{
    return upperLocal8Bit(a) == upperLocal8Bit(b);
}
