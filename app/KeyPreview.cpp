#include "app/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

QKeyEvent *previewedKeyPress(const QWidget *form, QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->window() != form)
        return nullptr;
    // A key the focused widget leaves alone travels on to its parents, and
    // the application's filters see it again at each of them.
    const QWidget *focus = QApplication::focusWidget();
    if (widget != focus && !(focus == nullptr && widget == form))
        return nullptr;
    return static_cast<QKeyEvent *>(event);
}
