#include "ScriptedMessageBoxes.h"

#include <algorithm>
#include <gtest/gtest.h>

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

const char *iconName(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None: return "no icon";
    case MsgIcon::Information: return "information";
    case MsgIcon::Warning: return "warning";
    case MsgIcon::Question: return "question";
    case MsgIcon::Error: return "error";
    }
    return "?";
}

const char *buttonsName(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return "OK";
    case MsgButtons::OkCancel: return "OK/Cancel";
    case MsgButtons::YesNo: return "Yes/No";
    case MsgButtons::YesNoCancel: return "Yes/No/Cancel";
    }
    return "?";
}

bool hasButton(MsgButtons buttons, MsgResult answer)
{
    const std::vector<MsgResult> answers = platform::buttonAnswers(buttons);
    return std::find(answers.begin(), answers.end(), answer) != answers.end();
}

} // namespace

ScriptedMessageBoxes::ScriptedMessageBoxes()
    : m_previous(&platform::messageBoxService())
{
    platform::setMessageBoxService(this);
}

ScriptedMessageBoxes::ScriptedMessageBoxes(MsgResult answerToAll)
    : ScriptedMessageBoxes()
{
    m_answerToAll = answerToAll;
}

ScriptedMessageBoxes::~ScriptedMessageBoxes()
{
    platform::setMessageBoxService(m_previous);
    for (const Expectation &e : m_expected) {
        ADD_FAILURE() << "expected message box never came: "
                      << describe(e.text, e.icon, e.buttons)
                      << (e.substring ? " (text containing)" : "");
    }
}

std::string ScriptedMessageBoxes::describe(const QString &text, MsgIcon icon, MsgButtons buttons)
{
    // Built by appending: GCC 12 at -O2 warns falsely (-Wrestrict) about a
    // literal added in front of a temporary string.
    std::string described(1, '"');
    described += text.toStdString();
    described += "\" [";
    described += iconName(icon);
    described += ", ";
    described += buttonsName(buttons);
    described += "]";
    return described;
}

ScriptedMessageBoxes &ScriptedMessageBoxes::expect(const QString &text, MsgIcon icon,
                                                   MsgButtons buttons, MsgResult answer,
                                                   std::function<void()> whileShown)
{
    m_expected.push_back({text, false, icon, buttons, answer, std::move(whileShown)});
    return *this;
}

ScriptedMessageBoxes &ScriptedMessageBoxes::expectContaining(const QString &part, MsgIcon icon,
                                                             MsgButtons buttons, MsgResult answer,
                                                             std::function<void()> whileShown)
{
    m_expected.push_back({part, true, icon, buttons, answer, std::move(whileShown)});
    return *this;
}

MsgResult ScriptedMessageBoxes::show(QWidget *owner, const QString &text, MsgIcon icon,
                                     MsgButtons buttons, bool systemModal)
{
    Box box{owner, owner != nullptr, text, icon, buttons, systemModal, MsgResult::Ok};
    box.answer = m_answerToAll ? answerFixed(buttons) : answerStrictly(box);
    m_shown.push_back(box);
    return box.answer;
}

MsgResult ScriptedMessageBoxes::answerFixed(MsgButtons buttons) const
{
    return hasButton(buttons, *m_answerToAll) ? *m_answerToAll
                                              : platform::buttonAnswers(buttons).front();
}

MsgResult ScriptedMessageBoxes::answerStrictly(const Box &box)
{
    const MsgResult refusal = platform::escapeAnswer(box.buttons);
    if (m_expected.empty()) {
        ADD_FAILURE() << "unexpected message box: " << describe(box.text, box.icon, box.buttons);
        return refusal;
    }
    const Expectation &next = m_expected.front();
    const bool textMatches = next.substring ? box.text.contains(next.text) : box.text == next.text;
    if (!textMatches || next.icon != box.icon || next.buttons != box.buttons) {
        ADD_FAILURE() << "message box differs from the expected one\n  shown:    "
                      << describe(box.text, box.icon, box.buttons) << "\n  expected: "
                      << describe(next.text, next.icon, next.buttons)
                      << (next.substring ? " (text containing)" : "");
        return refusal;
    }
    Expectation met = std::move(m_expected.front());
    m_expected.pop_front();
    if (!hasButton(box.buttons, met.answer)) {
        ADD_FAILURE() << "scripted answer is not a button of " << describe(box.text, box.icon, box.buttons);
        return refusal;
    }
    if (met.whileShown)
        met.whileShown();
    return met.answer;
}
