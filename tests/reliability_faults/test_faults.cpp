// A full disk, a CSV file that goes away or shrinks, and a database the run
// may not write: each run says what went wrong, claims no success it did not
// have, and loses nothing it had stored.
#include "ChildRun.h"
#include "FaultsData.h"

#include "tests/support/TestEnvironment.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace faults {
namespace {

namespace fs = std::filesystem;

const std::string kCannotWrite = "ＣＳＶファイルを出力できません。";
const std::string kLinesLost = "エラーファイルに出力できなかったエラーレコードがあります。";
const std::string kNotReadToEnd = "CSVファイルを最後まで読めませんでした。";
const std::string kImported = "インポートを完了しました。";
const std::string kExported = "エクスポートを完了しました。";

// The child's files may grow to `bytes`; past that a write fails with EFBIG
// instead of the signal ending the process. SQLite's shared-memory file
// needs 32 KiB, so a limit stays well above that.
std::function<void()> fileSizeLimit(rlim_t bytes)
{
    return [bytes] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
    };
}

class Faults : public testing::Test {
protected:
    void SetUp() override
    {
        folder = testenv::makeTempDir("faults");
        database = makeDatabase(folder, {"CREATE TABLE T (ID NUMBER(8) NOT NULL, NAME VARCHAR2(2000))"});
    }

    std::string runFolder(const std::string &name) const { return folder + "/" + name; }
    std::string csvPath(const std::string &name) const { return folder + "/" + name + ".csv"; }

    // Imports the file with the child, without limits: the table's rows for
    // a test that exports them.
    void load(const CsvPlan &plan)
    {
        writeCsv(csvPath("load"), plan);
        const ChildOutcome outcome = runChild(runFolder("load"), childArguments(database, "import", "T", csvPath("load")));
        ASSERT_EQ(0, outcome.result) << outcome.message << outcome.log;
    }

    std::string folder;
    std::string database;
};

TEST_F(Faults, ExportOntoAFullDiskSaysItCannotWriteAndClaimsNoSuccess)
{
    ASSERT_NO_FATAL_FAILURE(load(makeCsv(1, 3000, 0, "N", 150)));
    for (const bool batch : {false, true}) {
        SCOPED_TRACE(batch ? "batch" : "a person's run");
        const ChildOutcome outcome =
            runChild(runFolder(batch ? "batch" : "export"),
                     childArguments(database, "export", "T", csvPath("out"), {batch ? "batch=1" : "batch=0"}),
                     fileSizeLimit(256 * 1024));
        EXPECT_EQ(1, outcome.result) << outcome.log;
        // A person sees the box; a job list gets the text as the job's status.
        if (batch)
            EXPECT_EQ(kCannotWrite, outcome.message);
        else
            EXPECT_TRUE(outcome.showedBox(kCannotWrite));
        EXPECT_NE(kExported, outcome.message);
        EXPECT_FALSE(outcome.showedBox(kExported));
        EXPECT_LE(fs::file_size(csvPath("out")), 256u * 1024);
    }
    EXPECT_EQ(3000u, tableIds(database).size());
}

TEST_F(Faults, ErrorFilesOntoAFullDiskEndTheRunWithLostRecordsAndKeepWholeLines)
{
    // 20 good lines and 99 long bad ones, more than the limit lets the
    // record file hold.
    CsvPlan plan = makeCsv(1, 20, 0, "N");
    const CsvPlan bad = makeCsv(100, 99, 1, "B", 1500);
    plan.lines.insert(plan.lines.end(), bad.lines.begin(), bad.lines.end());
    plan.ids.insert(plan.ids.end(), bad.ids.begin(), bad.ids.end());
    const std::string csv = csvPath("bad");
    writeCsv(csv, plan);
    const rlim_t limit = 96 * 1024;
    for (const bool batch : {false, true}) {
        SCOPED_TRACE(batch ? "batch" : "a person's run");
        execute(database, "TRUNCATE TABLE T");
        const ChildOutcome outcome =
            runChild(runFolder(batch ? "batch" : "import"),
                     childArguments(database, "import", "T", csv, {batch ? "batch=1" : "batch=0"}), fileSizeLimit(limit));

        EXPECT_EQ(1, outcome.result) << outcome.log;
        EXPECT_EQ(20, outcome.successes);
        EXPECT_EQ(99, outcome.errors);
        // A person reads it in the box; a job list keeps it in the status.
        EXPECT_TRUE(batch ? outcome.message.find(kLinesLost) != std::string::npos : outcome.showedBox(kLinesLost))
            << outcome.message;
        EXPECT_EQ(plan.goodIds(20), tableIds(database));

        bool whole = false;
        const std::string err = readFile(folder + "/bad.err");
        const std::vector<std::string> records = crlfLines(err, whole);
        EXPECT_TRUE(whole);
        EXPECT_LE(err.size(), limit);
        ASSERT_LT(records.size(), 99u);
        EXPECT_EQ(std::vector<std::string>(bad.lines.begin(), bad.lines.begin() + long(records.size())), records);
        EXPECT_EQ(99u, crlfLines(readFile(folder + "/bad.erm"), whole).size());
        EXPECT_TRUE(whole);
    }
}

// The database's own files cannot grow past the limit: whatever the run
// reports as stored is what the table holds, with or without intermediate
// commits, and the rows committed before the run stay.
TEST_F(Faults, DatabaseFilesOntoAFullDiskKeepCountsTrueToTheTable)
{
    ASSERT_NO_FATAL_FAILURE(load(makeCsv(1, 200, 0, "N")));
    const CsvPlan plan = makeCsv(1000, 3000, 0, "N", 1500);
    const std::string csv = csvPath("grow");
    writeCsv(csv, plan);
    for (const char *commit : {"commit=0", "commit=100"}) {
        SCOPED_TRACE(commit);
        const ChildOutcome outcome = runChild(runFolder(std::string("grow-") + commit),
                                              childArguments(database, "import", "T", csv, {commit}),
                                              fileSizeLimit(1024 * 1024));
        const std::vector<long> stored = tableIds(database);
        ASSERT_GE(stored.size(), 200u) << outcome.log;
        EXPECT_EQ(makeCsv(1, 200, 0, "N").ids, std::vector<long>(stored.begin(), stored.begin() + 200));
        EXPECT_EQ(outcome.successes, long(stored.size()) - 200) << outcome.message << outcome.log;
        EXPECT_LT(stored.size(), 3200u);
        EXPECT_FALSE(outcome.showedBox(kImported) && outcome.errors == 0);
        execute(database, "DELETE FROM T WHERE ID >= 1000");
    }
}

// The file is taken away after the run read its first block of lines:
// removed, the run reads on to its end; cut short, it says that it could not
// read the file to its end, and keeps the lines it read.
TEST_F(Faults, CsvFileRemovedOrCutShortDuringTheImport)
{
    // Larger than the reader's block, so it reads again after the change.
    const CsvPlan plan = makeCsv(1, 12000, 0, "N", 100);
    struct Case {
        const char *name;
        std::function<void(const std::string &)> change;
        bool readToEnd;
    };
    const Case cases[] = {
        {"removed", [](const std::string &csv) { ASSERT_EQ(0, unlink(csv.c_str())); }, true},
        {"emptied", [](const std::string &csv) { ASSERT_EQ(0, truncate(csv.c_str(), 0)); }, false},
        {"cut in half", [](const std::string &csv) { ASSERT_EQ(0, truncate(csv.c_str(), 600000)); }, false},
    };
    int run = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string csv = csvPath("big" + std::to_string(++run));
        writeCsv(csv, plan);
        {
            ChildRun child(runFolder("import" + std::to_string(run)),
                           childArguments(database, "import", "T", csv, {"commit=1000"}));
            ASSERT_TRUE(child.waitForProgress());
            c.change(csv);
            const ChildOutcome outcome = child.finish();
            const std::vector<long> stored = tableIds(database);
            EXPECT_EQ(outcome.successes, long(stored.size()));
            EXPECT_EQ(outcome.records, outcome.successes);
            EXPECT_EQ(plan.goodIds(stored.size()), stored);
            if (c.readToEnd) {
                EXPECT_EQ(0, outcome.result) << outcome.log;
                EXPECT_EQ(12000u, stored.size());
                EXPECT_TRUE(outcome.showedBox(kImported));
            } else {
                EXPECT_EQ(1, outcome.result) << outcome.log;
                EXPECT_LT(stored.size(), 12000u);
                EXPECT_TRUE(outcome.showedBox(kNotReadToEnd));
                EXPECT_FALSE(outcome.showedBox(kImported));
            }
        }
        execute(database, "TRUNCATE TABLE T");
    }
}

} // namespace
} // namespace faults

namespace faults {
namespace {

constexpr uid_t kNobody = 65534;

void chownTree(const fs::path &root)
{
    ASSERT_EQ(0, chown(root.c_str(), kNobody, kNobody));
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root))
        ASSERT_EQ(0, lchown(entry.path().c_str(), kNobody, kNobody)) << entry.path();
}

// Root writes whatever the permission bits say, so the run goes on as the
// unprivileged user nobody, the owner of every file it is handed.
void becomeNobody()
{
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)
        _exit(126);
}

// A folder nobody can reach: the test environment's own is root's alone.
class ReadOnlyDatabase : public testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/karvello-readonly-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(name));
        folder = name;
        ASSERT_EQ(0, chmod(folder.c_str(), 0755));
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string folder;
};

// A folder the run may not write keeps SQLite from the WAL index it needs
// even to read, so the log-on fails, saying why; a schema file the run may
// only read lets it log on, and refuses every line with the reason.
TEST_F(ReadOnlyDatabase, ImportFailsWithTheDatabasesErrorAndLeavesRowsAndFileAsTheyWere)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "making another user's files read-only needs root";
    struct Case {
        const char *name;
        mode_t folderMode;
        std::string logonError; // empty: the log-on works
    };
    const Case cases[] = {
        {"read-only folder and schema file", 0500, "ORA-01116: error in opening database file"},
        {"read-only schema file", 0700, ""},
    };
    const std::string kReadOnly = "ORA-16000: database or pluggable database open for read-only access";
    int run = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string base = folder + "/" + std::to_string(++run);
        ASSERT_EQ(0, mkdir(base.c_str(), 0755));
        ASSERT_EQ(0, mkdir((base + "/run").c_str(), 0755));
        const std::string database = makeDatabase(base, {"CREATE TABLE T (ID NUMBER(8) NOT NULL, NAME VARCHAR2(20))",
                                                         "INSERT INTO T VALUES (1, 'kept')"});
        const std::string csv = base + "/new.csv";
        writeCsv(csv, makeCsv(10, 3, 0, "N"));
        ASSERT_NO_FATAL_FAILURE(chownTree(base));
        const std::string schema = database + "/SCOTT.db";
        const std::string before = readFile(schema);
        ASSERT_EQ(0, chmod(schema.c_str(), 0400));
        ASSERT_EQ(0, chmod(database.c_str(), c.folderMode));

        const ChildOutcome outcome =
            runChild(base + "/run", childArguments(database, "import", "T", csv), becomeNobody);
        if (!c.logonError.empty()) {
            EXPECT_EQ(3, outcome.result) << outcome.log;
            EXPECT_NE(std::string::npos, outcome.message.find(c.logonError)) << outcome.message;
        } else {
            EXPECT_EQ(0, outcome.successes) << outcome.message << outcome.log;
            EXPECT_EQ(3, outcome.errors);
            EXPECT_TRUE(outcome.showedBox("エラーレコードがあります。"));
            bool whole = false;
            const std::vector<std::string> reasons = crlfLines(readFile(base + "/new.erm"), whole);
            EXPECT_EQ(3u, reasons.size());
            for (const std::string &reason : reasons)
                EXPECT_TRUE(reason.ends_with(kReadOnly)) << reason;
        }
        EXPECT_EQ(before, readFile(schema));
        ASSERT_EQ(0, chmod(database.c_str(), 0700));
        EXPECT_EQ(std::vector<long>{1}, tableIds(database));
        EXPECT_EQ("ok", integrityOf(database));
    }
}

} // namespace
} // namespace faults
