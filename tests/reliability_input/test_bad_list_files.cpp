// Files chosen in the job list window's Load that are no list files: the
// person is told the file cannot be read, and the job list and the mode stay
// as they were.
#include "BadInputFixture.h"

#include "app/RadioGroup.h"
#include "joblist/JobList.h"
#include "joblist/TfmJob.h"
#include "support/ScriptedFileDialogs.h"

#include <QDir>
#include <QPushButton>
#include <functional>
#include <sys/stat.h>

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

const QString kCannotRead = QStringLiteral("ファイルを読み取れません。");

class BadListFiles : public BadInput {
protected:
    void SetUp() override
    {
        BadInput::SetUp();
        jobWindow = std::make_unique<TfmJob>();
        fmJob = jobWindow.get();
    }
    void TearDown() override
    {
        fmJob = nullptr;
        jobWindow.reset();
        BadInput::TearDown();
    }

    std::string jobs() const
    {
        std::string out;
        for (const Job &job : jobWindow->jobList->jobs())
            out += job.table + "\t" + job.csv + ";";
        return out;
    }

    ScriptedFileDialogs dialogs;
    std::unique_ptr<TfmJob> jobWindow;
};

TEST_F(BadListFiles, WhatIsNoListFileLeavesTheListAndTheModeAlone)
{
    struct Case {
        const char *name;
        std::function<QString(BadInput &)> make; // the chosen path, ending in ".lst"
        bool refused;
        std::string jobsAfter; // when loaded
    };
    const Case cases[] = {
        {"random bytes", [](BadInput &t) { return t.writeFile("random.lst", randomBytes(4096, 3)); }, true, {}},
        {"a list file with a NUL byte in it",
         [](BadInput &t) { return t.writeFile("nul.lst", std::string("0\r\nSTAFF\ts.csv\r\n\0\r\n", 19)); }, true, {}},
        {"a file that is not there", [](BadInput &t) { return t.path("missing.lst"); }, true, {}},
        {"a folder",
         [](BadInput &t) {
             QDir().mkpath(t.path("folder.lst"));
             return t.path("folder.lst");
         },
         true, {}},
        {"a named pipe",
         [](BadInput &t) {
             EXPECT_EQ(::mkfifo(t.path("pipe.lst").toLocal8Bit().constData(), 0600), 0);
             return t.path("pipe.lst");
         },
         true, {}},
        {"a link to a device that never ends",
         [](BadInput &t) {
             QFile::link(QStringLiteral("/dev/zero"), t.path("zero.lst"));
             return t.path("zero.lst");
         },
         true, {}},
        // An empty file is an empty list, as a list file may be.
        {"an empty file", [](BadInput &t) { return t.writeFile("empty.lst", ""); }, false, ""},
        {"text that is no list", [](BadInput &t) { return t.writeFile("text.lst", "hello\r\nworld"); }, false,
         ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        jobWindow->jobList->replaceAll({});
        jobWindow->jobList->AddJob("OLD", "/old.csv");
        window->rgMode->setItemIndex(1);
        const QString file = c.make(*this);
        if (c.refused)
            boxes.expect(kCannotRead, MsgIcon::Warning, MsgButtons::Ok, MsgResult::Ok);
        dialogs.answer(file);

        jobWindow->pbLoad->click();

        EXPECT_EQ(boxes.pending(), 0u);
        EXPECT_EQ(jobs(), c.refused ? "OLD\t/old.csv;" : c.jobsAfter);
        EXPECT_EQ(window->rgMode->ItemIndex(), 1) << "the mode changed";
    }
}

} // namespace
