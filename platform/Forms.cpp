#include "platform/Forms.h"

#include <QLabel>
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

QLabel *buddyLabel(QWidget *parent, const QString &caption, int left, int top, QWidget *buddy)
{
    auto *label = new QLabel(caption, parent);
    label->move(left, top);
    label->adjustSize();
    label->setBuddy(buddy);
    return label;
}

} // namespace platform
