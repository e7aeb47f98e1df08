#include "app/PanelAnchors.h"

#include <QEvent>
#include <QWidget>

PanelAnchors::PanelAnchors(QWidget *panel, int designWidth)
    : QObject(panel)
    , m_panel(panel)
    , m_designWidth(designWidth)
{
    panel->installEventFilter(this);
}

void PanelAnchors::anchorRight(QWidget *control)
{
    m_anchors.append({control, control->geometry(), false});
}

void PanelAnchors::stretch(QWidget *control)
{
    m_anchors.append({control, control->geometry(), true});
}

bool PanelAnchors::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel && event->type() == QEvent::Resize)
        place(m_panel->width());
    return false;
}

void PanelAnchors::place(int width)
{
    const int grow = width - m_designWidth;
    for (const Anchor &anchor : m_anchors) {
        QRect r = anchor.design;
        if (anchor.stretches)
            r.setWidth(qMax(0, r.width() + grow));
        else
            r.moveLeft(r.left() + grow);
        anchor.control->setGeometry(r);
    }
}
