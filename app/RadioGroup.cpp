#include "app/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {
// Where the first item starts below the title, and the room each item takes.
constexpr int kTopMargin = 16;
constexpr int kLeftMargin = 8;
constexpr int kBottomMargin = 4;
} // namespace

RadioGroup::RadioGroup(const QString &title, const QStringList &items, QWidget *parent)
    : QGroupBox(title, parent)
    , m_group(new QButtonGroup(this))
{
    for (const QString &text : items) {
        auto *button = new QRadioButton(text, this);
        m_group->addButton(button, int(m_items.size()));
        m_items.append(button);
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
}

int RadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QRadioButton *button = item(index))
        button->setChecked(true);
}

// The items share the height below the title evenly, one under the other.
void RadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    if (m_items.isEmpty())
        return;
    const int room = (height() - kTopMargin - kBottomMargin) / int(m_items.size());
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i]->setGeometry(kLeftMargin, kTopMargin + i * room, width() - 2 * kLeftMargin, room);
}
