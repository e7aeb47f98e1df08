#pragma once
// Keeps the absolutely placed controls of a panel in place when the panel's
// width changes: a control anchored right keeps its distance from the right
// edge, a stretching control keeps its left edge and its distance from the
// right edge. Positions are taken as designed for `designWidth`.
#include <QObject>
#include <QRect>
#include <QList>

class QWidget;

class PanelAnchors : public QObject {
    Q_OBJECT
public:
    PanelAnchors(QWidget *panel, int designWidth);

    // Register a control after it has its design geometry.
    void anchorRight(QWidget *control);
    void stretch(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Anchor {
        QWidget *control;
        QRect design;
        bool stretches;
    };
    void place(int width);

    QWidget *m_panel;
    int m_designWidth;
    QList<Anchor> m_anchors;
};
