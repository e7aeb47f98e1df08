#pragma once
// A main window logged on to a fresh embedded database of its own, with its
// boxes answered by the test: the import and the export run against it as a
// person would drive them, after the previews the run control makes.
#include "app/TfmMain.h"
#include "oracle/LoginScript.h"
#include "support/ScriptedMessageBoxes.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class TransferFixture : public testing::Test {
protected:
    using MsgIcon = platform::MsgIcon;
    using MsgButtons = platform::MsgButtons;
    using MsgResult = platform::MsgResult;

    TransferFixture();
    ~TransferFixture() override;
    void SetUp() override;
    void TearDown() override;

    // Runs statements that must succeed, on a cursor of the window's session
    // other than the one under test.
    void run(const std::vector<std::string> &statements);
    // The rows of a query, each row's values joined by "|".
    std::vector<std::string> rows(const std::string &sql);

    // A file of the test's own folder holding `bytes`; its path.
    QString writeFile(const QString &name, const std::string &bytes);
    QString path(const QString &name) const;
    static std::string readFile(const QString &path);
    // A link in the test's folder to the device that refuses every write as
    // a full disk does. Removing the link leaves the device alone.
    QString fullDiskLink(const QString &name);

    // Previews `table` and `csv` as the run control does before a run, in
    // the mode of `mode` (0 Import, 1 Export).
    void preview(int mode, const std::string &table, const QString &csv);

    // Sends ESC to the window, where its key preview sees it, once the
    // status bar shows `done` rows at a progress check: the moment a person
    // presses it while the run shows that count. Every check refreshes
    // while the test runs, so the moment is exact.
    void escWhenDone(int done);

    std::unique_ptr<TfmMain> window;
    LoginScript login;
    ScriptedMessageBoxes boxes;
    QString folder;

private:
    class EscAtCount;
    std::unique_ptr<EscAtCount> m_esc;
};

// Lines joined by CR LF, each one ended by it.
std::string crlfLines(const std::vector<std::string> &lines);
