#include "platform/FileDialog.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using platform::FileDialogRequest;

namespace {

const QString kCsvFilter = QString::fromUtf8("CSVﾌｧｲﾙ(*.csv)|*.csv|全てのﾌｧｲﾙ(*.*)|*.*");

// Runs `act` on the real dialog once its modal loop runs, and makes sure the
// dialog ends whatever `act` did.
void whenDialogShows(std::function<void(QFileDialog *)> act)
{
    QTimer::singleShot(0, [act] {
        QFileDialog *dialog = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *d = qobject_cast<QFileDialog *>(w); d && d->isVisible())
                dialog = d;
        }
        ASSERT_NE(dialog, nullptr) << "no file dialog on screen";
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

TEST(FileDialog, FilterBecomesQtNameFilters)
{
    struct Case {
        const char *filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"CSVﾌｧｲﾙ(*.csv)|*.csv|全てのﾌｧｲﾙ(*.*)|*.*", {"CSVﾌｧｲﾙ(*.csv)", "全てのﾌｧｲﾙ(*.*) (*)"}},
        {"ﾘｽﾄﾌｧｲﾙ(*.LST)|*.LST", {"ﾘｽﾄﾌｧｲﾙ(*.LST)"}},
        {"Text|*.txt;*.csv", {"Text (*.txt *.csv)"}},
        {"Text files|*.txt; *.log |Bad", {"Text files (*.txt *.log)"}},
        {"", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(platform::qtNameFilters(QString::fromUtf8(c.filter)), c.expected);
    }
}

TEST(FileDialog, DefaultExtensionOnlyForNamesWithoutOne)
{
    struct Case {
        const char *path, *ext, *expected;
    };
    const Case cases[] = {
        {"/d/out", ".csv", "/d/out.csv"},
        {"/d/out", "csv", "/d/out.csv"},
        {"/d/out.txt", ".csv", "/d/out.txt"},
        {"/d.v/out", ".csv", "/d.v/out.csv"},
        {"/d/.hidden", ".csv", "/d/.hidden"},
        {"/d/out", "", "/d/out"},
        {"/d/", ".csv", "/d/"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(platform::withDefaultExtension(c.path, c.ext), QString::fromUtf8(c.expected));
    }
}

TEST(FileDialog, RefusedCanCloseKeepsTheRealDialogOpen)
{
    const QString dir = QString::fromStdString(testenv::makeTempDir("save"));
    QStringList offered;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.initialDir = dir;
    request.fileName = "*.csv";
    request.filter = kCsvFilter;
    request.defaultExt = ".csv";
    request.overwritePrompt = true;
    request.canClose = [&](const QString &path) {
        offered << path;
        return offered.size() > 1;
    };

    QString shownDir, shownFilter, shownName;
    bool openAfterRefusal = false;
    whenDialogShows([&](QFileDialog *dialog) {
        shownDir = dialog->directory().absolutePath();
        shownFilter = dialog->selectedNameFilter();
        shownName = dialog->selectedFiles().value(0);
        dialog->selectFile("out");
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it
        openAfterRefusal = dialog->isVisible();
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it
    });
    EXPECT_EQ(platform::getFile(nullptr, request), dir + "/out.csv");
    EXPECT_EQ(shownDir, dir);
    EXPECT_EQ(shownFilter, QString::fromUtf8("CSVﾌｧｲﾙ(*.csv)"));
    EXPECT_FALSE(shownName.contains(u'*')) << "a pattern is not a file name";
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(offered, QStringList({dir + "/out.csv", dir + "/out.csv"}));
}

TEST(FileDialog, FolderChooserStartsInAnExistingFolder)
{
    const QString dir = QString::fromStdString(testenv::makeTempDir("pick"));
    QString title;
    whenDialogShows([&](QFileDialog *dialog) {
        title = dialog->windowTitle();
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it
    });
    EXPECT_EQ(platform::getFolder(nullptr, QString::fromUtf8("フォルダを選択してください"), dir), dir);
    EXPECT_EQ(title, QString::fromUtf8("フォルダを選択してください"));

    whenDialogShows([](QFileDialog *dialog) { dialog->reject(); });
    EXPECT_EQ(platform::getFolder(nullptr, "x", dir + "/missing"), std::nullopt);
}

TEST(ScriptedFileDialogsTest, AnswersInOrderAndOffersEachTryToCanClose)
{
    ScriptedFileDialogs dialogs;
    dialogs.answer("/d/first").answer("/d/second.txt").cancel().answer("/data");

    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.defaultExt = ".lst";
    request.canClose = [](const QString &path) { return !path.contains("first"); };
    EXPECT_EQ(platform::getFile(nullptr, request), QString("/d/second.txt"));
    EXPECT_EQ(platform::getFile(nullptr, request), std::nullopt);
    EXPECT_EQ(platform::getFolder(nullptr, "m", "/start"), QString("/data"));

    ASSERT_EQ(dialogs.requests().size(), 3u);
    EXPECT_EQ(dialogs.requests()[0].offered, QStringList({"/d/first.lst", "/d/second.txt"}));
    EXPECT_EQ(dialogs.requests()[2].kind, ScriptedFileDialogs::Request::Kind::Folder);
    EXPECT_EQ(dialogs.requests()[2].startDir, "/start");
}

TEST(ScriptedFileDialogsTest, DialogWithoutAnswerFailsAndCancels)
{
    ScriptedFileDialogs dialogs;
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(platform::getFile(nullptr, FileDialogRequest{}), std::nullopt),
                            "no scripted answer left");
    EXPECT_NONFATAL_FAILURE({ ScriptedFileDialogs unused; unused.answer("/x"); }, "never taken: /x");
}
