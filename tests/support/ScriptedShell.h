#pragma once
// A stand-in for opening documents with their programs: records each path and
// starts nothing.
//
//   ScriptedShell shell;                 // installed for this scope
//   jobWindow.openErrorFiles();
//   EXPECT_EQ(shell.opened(), QStringList({dir + "/a.err", dir + "/a.erm"}));
//
// setResult(false) makes every later open report failure, as a desktop with no
// program for the file would.
#include "platform/Shell.h"

#include <QStringList>

class ScriptedShell final : public platform::ShellService {
public:
    ScriptedShell();
    ~ScriptedShell() override;
    ScriptedShell(const ScriptedShell &) = delete;
    ScriptedShell &operator=(const ScriptedShell &) = delete;

    bool openDocument(const QString &path) override;

    const QStringList &opened() const { return m_opened; }
    void setResult(bool result) { m_result = result; }

private:
    platform::ShellService *m_previous;
    QStringList m_opened;
    bool m_result = true;
};
