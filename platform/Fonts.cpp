#include "platform/Fonts.h"

#include <QStringList>

namespace platform {
namespace {

QFont gothic(const QStringList &families)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(12);
    return font;
}

} // namespace

QFont formFont()
{
    return gothic({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                   QStringLiteral("IPAGothic")});
}

QFont fixedFormFont()
{
    QFont font = gothic({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")});
    font.setStyleHint(QFont::Monospace);
    return font;
}

} // namespace platform
