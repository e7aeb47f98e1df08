// The main window's design, its mode switching and its ESC request.
#include "AppFixture.h"
#include "app/RadioGroup.h"
#include "app/StringGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <set>

namespace {

using MainWindow = AppFixture;

TEST_F(MainWindow, DesignValues)
{
    auto w = start();
    EXPECT_EQ(w->minimumSize(), QSize(654, 182));
    EXPECT_EQ(w->sgData->ColCount(), 6);
    EXPECT_EQ(w->sgData->RowCount(), 32);
    EXPECT_EQ(w->sgData->ColWidths(0), 34);
    EXPECT_EQ(w->sgData->ColWidths(1), 92);
    EXPECT_EQ(w->rgMode->ItemIndex(), 0);

    const std::pair<QString, int> panels[] = {
        {QStringLiteral("Success"), 50}, {QString(), 80}, {QStringLiteral("Error"), 50}, {QString(), 80}, {QString(), 50}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w->statusText(i), panels[i].first) << i;
        EXPECT_EQ(i < 4 ? w->sbPanels[i]->width() : w->sbPanels[i]->minimumWidth(), panels[i].second) << i;
    }
    EXPECT_TRUE(w->sbPanels[1]->alignment() & Qt::AlignRight);
}

TEST_F(MainWindow, TabOrderRunsThroughTheTopPanelTheGridAndTheBottomPanel)
{
    auto w = start();
    const QWidget *order[] = {w->rgMode->item(0), w->rgMode->item(1), w->edTable, w->pbTable, w->pbCount,
                              w->edCSV, w->pbCSV, w->pbJobList, w->pbJobAdd, w->pbConnect, w->edSep,
                              w->edDelim, w->sgData, w->pbExecute, w->cbTime, w->cbHead, w->cbBreak,
                              w->cbTruncate, w->cbAutoCmt, w->udCmt, w->pbEnd};
    // Labels and a control's own inner widgets sit in the chain too; among
    // the controls above, each must follow the one before.
    const std::set<const QWidget *> controls(std::begin(order), std::end(order));
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        const QWidget *next = order[i]->nextInFocusChain();
        while (!controls.count(next))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i + 1]) << "after " << order[i]->objectName().toStdString();
    }
}

TEST_F(MainWindow, LabelsFocusTheirFields)
{
    auto w = start();
    const std::pair<QLabel *, QWidget *> buddies[] = {
        {w->lbTable, w->edTable}, {w->lbCSV, w->edCSV}, {w->lbSep, w->edSep}, {w->lbDelim, w->edDelim}};
    for (const auto &[label, field] : buddies)
        EXPECT_EQ(label->buddy(), field) << label->text().toStdString();
}

struct ModeCase {
    int mode;
    bool autoCommit;
    bool time, truncate, autoCmtBox, count;
};

TEST_F(MainWindow, ModeSwitchingSetsTheOptionsAndEmptiesThePreview)
{
    const ModeCase cases[] = {
        // mode, AutoCommit checked -> cbTime, cbTruncate, cbAutoCmt, udCmt enabled
        {1, true, true, false, false, true},
        {1, false, true, false, false, false},
        {0, true, false, true, true, true},
        {0, false, false, true, true, false},
    };
    auto w = start();
    const QColor window = QApplication::palette().color(QPalette::Base);
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (const ModeCase &c : cases) {
        w->cbAutoCmt->setChecked(c.autoCommit);
        w->sgData->setCells(1, 0, "NAME");
        w->sgData->setCells(1, 1, "VARCHAR2");
        w->sgData->setCells(0, 2, "1");
        w->sgData->setCells(2, 31, "tail");
        w->setStatusText(4, QStringLiteral("CSV Data Preview"));
        w->rgMode->setItemIndex(1 - c.mode);
        w->rgMode->setItemIndex(c.mode);
        const std::string where = "mode " + std::to_string(c.mode) + " autoCommit " + std::to_string(c.autoCommit);
        EXPECT_EQ(w->cbTime->isEnabled(), c.time) << where;
        EXPECT_EQ(w->cbTruncate->isEnabled(), c.truncate) << where;
        EXPECT_EQ(w->cbAutoCmt->isEnabled(), c.autoCmtBox) << where;
        EXPECT_EQ(w->udCmt->isEnabled(), c.count) << where;
        EXPECT_EQ(w->udCmt->palette().color(QPalette::Base), c.count ? window : face) << where;
        EXPECT_EQ(w->sgData->Cells(1, 0), "NAME") << where;
        EXPECT_EQ(w->sgData->Cells(1, 1), "VARCHAR2") << where;
        EXPECT_EQ(w->sgData->Cells(0, 2), "") << where;
        EXPECT_EQ(w->sgData->Cells(2, 31), "") << where;
        EXPECT_EQ(w->sgData->ColCount(), 6) << where;
        EXPECT_EQ(w->statusText(4), QString()) << where;
    }
}

TEST_F(MainWindow, EscapeOnAnyControlRequestsACancelAndGoesOn)
{
    login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"));
    auto w = start();
    w->show();
    QApplication::setActiveWindow(w.get());
    for (QWidget *target : {static_cast<QWidget *>(w->edTable), static_cast<QWidget *>(w->sgData)}) {
        w->cancelRequested = false;
        target->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        QApplication::sendEvent(target, &press);
        EXPECT_TRUE(w->cancelRequested) << target->metaObject()->className();
    }
    // Other keys reach the field and ask nothing.
    w->cancelRequested = false;
    w->edTable->setFocus();
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(w->edTable, &letter);
    EXPECT_FALSE(w->cancelRequested);
    EXPECT_EQ(w->edTable->text(), QStringLiteral("A")) << "the table field shows capitals";
    w->close();
}

TEST_F(MainWindow, OneCharacterFieldsTakeOneTypedCharacter)
{
    auto w = start();
    w->edSep->clear();
    for (const char *typed : {";", "|"}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromLatin1(typed));
        QApplication::sendEvent(w->edSep, &press);
    }
    EXPECT_EQ(w->edSep->text(), QStringLiteral(";"));
}

} // namespace
