#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

QMessageBox *visibleMessageBox()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Runs `act` on the real box once its modal loop runs.
void whenBoxShows(std::function<void(QMessageBox *)> act)
{
    QTimer::singleShot(0, [act] {
        QMessageBox *box = visibleMessageBox();
        ASSERT_NE(box, nullptr) << "no message box on screen";
        act(box);
    });
}

void pressKey(QWidget *target, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

} // namespace

TEST(QtMessageBox, DefaultIsTheFirstButtonAndEscapeRefuses)
{
    struct Case {
        MsgButtons buttons;
        MsgResult onReturn;
        MsgResult onEscape;
    };
    const Case cases[] = {
        {MsgButtons::Ok, MsgResult::Ok, MsgResult::Ok},
        {MsgButtons::OkCancel, MsgResult::Ok, MsgResult::Cancel},
        {MsgButtons::YesNo, MsgResult::Yes, MsgResult::No},
        {MsgButtons::YesNoCancel, MsgResult::Yes, MsgResult::Cancel},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.buttons));
        QString caption;
        QString defaultText;
        QString firstText;
        int buttonCount = 0;
        whenBoxShows([&](QMessageBox *box) {
            caption = box->windowTitle();
            buttonCount = int(box->buttons().size());
            defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
            firstText = box->button(c.onReturn == MsgResult::Ok ? QMessageBox::Ok : QMessageBox::Yes)->text();
            pressKey(box, Qt::Key_Escape);
        });
        EXPECT_EQ(platform::showMessage(nullptr, "x", MsgIcon::Question, c.buttons), c.onEscape);
        EXPECT_EQ(caption, QStringLiteral("Karvello+ Version1.23"));
        EXPECT_EQ(buttonCount, int(platform::buttonAnswers(c.buttons).size()));
        EXPECT_EQ(defaultText, firstText);

        whenBoxShows([](QMessageBox *box) { pressKey(box, Qt::Key_Return); });
        EXPECT_EQ(platform::showMessage(nullptr, "x", MsgIcon::Question, c.buttons), c.onReturn);
    }
}

TEST(QtMessageBox, ClosingTheWindowAnswersLikeEscape)
{
    whenBoxShows([](QMessageBox *box) { box->close(); });
    EXPECT_EQ(platform::showMessage(nullptr, "x", MsgIcon::Warning, MsgButtons::YesNo), MsgResult::No);
}

TEST(QtMessageBox, ShowsTheTextPlainWithItsIconOverItsOwner)
{
    QWidget owner;
    owner.show();
    const QString text = QString::fromUtf8("ORA-00904: \"<B>\": 無効な識別子\n2行目");
    QWidget *parent = nullptr;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QString shownText;
    whenBoxShows([&](QMessageBox *box) {
        parent = box->parentWidget();
        icon = box->icon();
        format = box->textFormat();
        shownText = box->text();
        pressKey(box, Qt::Key_Escape);
    });
    platform::showMessage(&owner, text, MsgIcon::Error, MsgButtons::Ok);
    EXPECT_EQ(parent, &owner);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shownText, text);
}

TEST(QtMessageBox, SystemModalBoxBlocksTheApplicationAndStaysOnTop)
{
    QWidget owner;
    owner.show();
    Qt::WindowModality modality = Qt::NonModal;
    bool onTop = false;
    whenBoxShows([&](QMessageBox *box) {
        modality = box->windowModality();
        onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        pressKey(box, Qt::Key_Escape);
    });
    platform::showMessage(&owner, "x", MsgIcon::Error, MsgButtons::Ok, true);
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_TRUE(onTop);
}

TEST(QtMessageBox, ShowsTheArrowPointerDuringABusyRun)
{
    platform::WaitCursor busy;
    Qt::CursorShape during = Qt::WaitCursor;
    whenBoxShows([&](QMessageBox *box) {
        during = QGuiApplication::overrideCursor()->shape();
        pressKey(box, Qt::Key_Escape);
    });
    platform::showMessage(nullptr, "キャンセルしますか？", MsgIcon::Question, MsgButtons::YesNo);
    EXPECT_EQ(during, Qt::ArrowCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

TEST(ScriptedMessageBoxesTest, AnswersExpectedBoxesInOrderAndRecordsThem)
{
    QWidget owner;
    ScriptedMessageBoxes boxes;
    boxes.expect("キャンセルしますか？", MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes)
        .expectContaining("ORA-00942", MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);

    EXPECT_EQ(platform::showMessage(&owner, "キャンセルしますか？", MsgIcon::Question, MsgButtons::YesNo),
              MsgResult::Yes);
    EXPECT_EQ(platform::showMessage(nullptr, "-- ORACLE error\nORA-00942: table", MsgIcon::Error,
                                    MsgButtons::Ok, true),
              MsgResult::Ok);

    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].owner, &owner);
    EXPECT_FALSE(boxes.shown()[0].systemModal);
    EXPECT_FALSE(boxes.shown()[1].hadOwner);
    EXPECT_TRUE(boxes.shown()[1].systemModal);
    EXPECT_EQ(boxes.pending(), 0u);
}

TEST(ScriptedMessageBoxesTest, UnexpectedOrDifferentBoxFailsAndRefuses)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            EXPECT_EQ(platform::showMessage(nullptr, "surprise", MsgIcon::Question, MsgButtons::YesNoCancel),
                      MsgResult::Cancel);
        },
        "unexpected message box: \"surprise\"");

    struct Case {
        const char *text;
        MsgIcon icon;
        MsgButtons buttons;
    };
    const Case differing[] = {
        {"other text", MsgIcon::Question, MsgButtons::YesNo},
        {"中断しますか？", MsgIcon::Warning, MsgButtons::YesNo},
        {"中断しますか？", MsgIcon::Question, MsgButtons::OkCancel},
    };
    for (const Case &c : differing) {
        SCOPED_TRACE(c.text);
        ScriptedMessageBoxes boxes;
        boxes.expect("中断しますか？", MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes);
        EXPECT_NONFATAL_FAILURE(
            EXPECT_NE(platform::showMessage(nullptr, c.text, c.icon, c.buttons), MsgResult::Yes),
            "differs from the expected one");
        // The expectation still waits for its box.
        platform::showMessage(nullptr, "中断しますか？", MsgIcon::Question, MsgButtons::YesNo);
    }
}

TEST(ScriptedMessageBoxesTest, ExpectationThatNeverCameFailsAtTheEnd)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            boxes.expect("インポートを完了しました。", MsgIcon::Information, MsgButtons::Ok, MsgResult::Ok);
        },
        "never came: \"インポートを完了しました。\"");
}

TEST(ScriptedMessageBoxesTest, AnswerThatIsNotAButtonFails)
{
    ScriptedMessageBoxes boxes;
    boxes.expect("x", MsgIcon::Warning, MsgButtons::Ok, MsgResult::Yes);
    EXPECT_NONFATAL_FAILURE(platform::showMessage(nullptr, "x", MsgIcon::Warning, MsgButtons::Ok),
                            "not a button");
}

TEST(ScriptedMessageBoxesTest, WhileShownRunsBeforeTheAnswer)
{
    ScriptedMessageBoxes boxes;
    int boxesWhenRun = -1;
    boxes.expect("x", MsgIcon::Question, MsgButtons::YesNo, MsgResult::No,
                 [&] { boxesWhenRun = int(boxes.shown().size()); });
    EXPECT_EQ(platform::showMessage(nullptr, "x", MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
    EXPECT_EQ(boxesWhenRun, 0);
}

TEST(ScriptedMessageBoxesTest, FixedAnswerModeAnswersEveryBoxAndNests)
{
    ScriptedMessageBoxes outer;
    {
        ScriptedMessageBoxes all(MsgResult::No);
        EXPECT_EQ(platform::showMessage(nullptr, "a", MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
        EXPECT_EQ(platform::showMessage(nullptr, "b", MsgIcon::Information, MsgButtons::Ok), MsgResult::Ok);
        EXPECT_EQ(platform::showMessage(nullptr, "c", MsgIcon::Warning, MsgButtons::OkCancel), MsgResult::Ok);
        EXPECT_EQ(all.shown().size(), 3u);
    }
    EXPECT_EQ(&platform::messageBoxService(), &outer);
}
