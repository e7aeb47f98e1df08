#pragma once
// A scripted stand-in for the program's message boxes. While the object lives
// it answers every box instead of a person:
//
//   ScriptedMessageBoxes boxes;   // strict: every box must be expected
//   boxes.expect("キャンセルしますか？", MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes);
//   boxes.expectContaining("ORA-00942", MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
//   window.runImport();
//   EXPECT_EQ(boxes.shown().size(), 2u);
//   // leaving the scope fails the test if an expected box never came
//
// Expectations are met in order. A box that was not expected, or that differs
// from the next expectation (text, icon or buttons), fails the current test
// with its text and answers as Escape would (No, Cancel or Ok); the expectation
// stays in the queue. An answer that is not one of the box's buttons fails too.
//
// For benchmarks and runs where the boxes do not matter:
//
//   ScriptedMessageBoxes boxes(MsgResult::Yes);   // answers Yes where it can
//
// answers every box with that answer when the box has that button, and with
// the box's default (first) button otherwise, and only records.
//
// The object installs itself on construction and puts back the service that
// was installed before on destruction, so it nests.
#include "platform/MessageBox.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ScriptedMessageBoxes final : public platform::MessageBoxService {
public:
    using MsgIcon = platform::MsgIcon;
    using MsgButtons = platform::MsgButtons;
    using MsgResult = platform::MsgResult;

    // One box as the program showed it.
    struct Box {
        QPointer<QWidget> owner; // null when shown without owner (or since destroyed)
        bool hadOwner = false;   // an owner was passed at all
        QString text;
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::Ok;
        bool systemModal = false;
        MsgResult answer = MsgResult::Ok; // what the double answered
    };

    ScriptedMessageBoxes();
    explicit ScriptedMessageBoxes(MsgResult answerToAll);
    ~ScriptedMessageBoxes() override;
    ScriptedMessageBoxes(const ScriptedMessageBoxes &) = delete;
    ScriptedMessageBoxes &operator=(const ScriptedMessageBoxes &) = delete;

    // Queues a box whose text is exactly `text`. `whileShown`, if given, runs
    // when the box comes, before the answer is returned (the moment a person
    // would look at the window behind the box).
    ScriptedMessageBoxes &expect(const QString &text, MsgIcon icon, MsgButtons buttons,
                                 MsgResult answer, std::function<void()> whileShown = {});
    // Queues a box whose text contains `part` (for texts that carry a
    // database's own message).
    ScriptedMessageBoxes &expectContaining(const QString &part, MsgIcon icon, MsgButtons buttons,
                                           MsgResult answer, std::function<void()> whileShown = {});

    // Every box shown so far, in order, expected or not.
    const std::vector<Box> &shown() const { return m_shown; }
    // Expectations not met yet.
    size_t pending() const { return m_expected.size(); }

    MsgResult show(QWidget *owner, const QString &text, MsgIcon icon, MsgButtons buttons,
                   bool systemModal) override;

    static std::string describe(const QString &text, MsgIcon icon, MsgButtons buttons);

private:
    struct Expectation {
        QString text;
        bool substring = false;
        MsgIcon icon;
        MsgButtons buttons;
        MsgResult answer;
        std::function<void()> whileShown;
    };

    MsgResult answerStrictly(const Box &box);
    MsgResult answerFixed(MsgButtons buttons) const;

    platform::MessageBoxService *m_previous;
    std::optional<MsgResult> m_answerToAll;
    std::deque<Expectation> m_expected;
    std::vector<Box> m_shown;
};
