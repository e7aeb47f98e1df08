// Two program processes on one database at once: two imports into one table,
// and an export while an import runs. Every line ends up stored once or in
// its run's error file with the database's reason, a run that waited too
// long for the other says ORA-00054, and an export writes one committed
// state. KARVELLO_CONCURRENT_RUNS sets the rounds (3 by default).
#include "ChildRun.h"
#include "FaultsData.h"

#include "tests/embedded/EngineClient.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

namespace faults {
namespace {

constexpr size_t kCommitEvery = 50;
const std::string kBusy = "ORA-00054: resource busy";

long rounds()
{
    const char *text = std::getenv("KARVELLO_CONCURRENT_RUNS");
    return text && *text ? std::max(1L, std::strtol(text, nullptr, 10)) : 3;
}

long leadingId(const std::string &line)
{
    const size_t digits = line.find_first_not_of("0123456789");
    return digits == 0 ? -1 : std::stol(line.substr(0, digits));
}

class Concurrent : public testing::Test {
protected:
    void SetUp() override { folder = testenv::makeTempDir("concurrent"); }

    // One import of `plan` tagged `tag`, logged on and waiting for its
    // start.
    struct Import {
        std::string tag;
        CsvPlan plan;
        std::string csv;
        std::unique_ptr<ChildRun> child;
        ChildOutcome outcome;
    };
    Import start(const std::string &round, const std::string &database, const std::string &table,
                 const std::string &tag, CsvPlan plan)
    {
        Import import{tag, std::move(plan), folder + "/" + round + tag + ".csv", nullptr, {}};
        writeCsv(import.csv, import.plan);
        import.child = std::make_unique<ChildRun>(
            folder + "/" + round + tag,
            childArguments(database, "import", table, import.csv,
                           {"commit=" + std::to_string(kCommitEvery), "gate=1"}));
        EXPECT_TRUE(import.child->waitUntilReady()) << import.tag;
        return import;
    }

    // Each line of the run is stored exactly once or rejected in its error
    // file, never both, never neither; the counts it printed say the same;
    // a reason is the line's own or the other run's lock held too long.
    void checkImport(const Import &import, const std::string &database, const std::string &table,
                     const std::vector<std::string> &ownReasons)
    {
        SCOPED_TRACE(import.tag);
        const ChildOutcome &outcome = import.outcome;
        ASSERT_TRUE(outcome.result == 0 || outcome.result == 1) << outcome.message << outcome.log;
        if (outcome.result == 1) {
            EXPECT_NE(std::string::npos, outcome.message.find(kBusy)) << outcome.message;
        }

        std::vector<long> stored;
        for (const std::string &row :
             queryRows(database, "SELECT ID FROM " + table + " WHERE NAME LIKE '" + import.tag + "%' ORDER BY ID"))
            stored.push_back(std::stol(row));
        EXPECT_EQ(outcome.successes, long(stored.size()));
        EXPECT_TRUE(std::adjacent_find(stored.begin(), stored.end()) == stored.end()) << "a row stored twice";

        bool whole = false;
        const std::string base = import.csv.substr(0, import.csv.size() - 4);
        const std::vector<std::string> rejected = outcome.errors ? crlfLines(readFile(base + ".err"), whole)
                                                                 : std::vector<std::string>{};
        EXPECT_TRUE(whole || rejected.empty());
        const std::vector<std::string> reasons = outcome.errors ? crlfLines(readFile(base + ".erm"), whole)
                                                                : std::vector<std::string>{};
        EXPECT_EQ(outcome.errors, long(rejected.size()));
        EXPECT_EQ(rejected.size(), reasons.size());
        for (const std::string &reason : reasons) {
            const bool known = reason.find(kBusy) != std::string::npos
                               || std::any_of(ownReasons.begin(), ownReasons.end(), [&](const std::string &own) {
                                      return reason.find(own) != std::string::npos;
                                  });
            EXPECT_TRUE(known) << reason;
        }
        if (outcome.result != 0)
            return;
        EXPECT_EQ(long(import.plan.lines.size()), outcome.records);
        std::multiset<std::string> accounted(rejected.begin(), rejected.end());
        for (long id : stored) {
            const auto at = std::find(import.plan.ids.begin(), import.plan.ids.end(), id);
            ASSERT_NE(at, import.plan.ids.end()) << id << " is no good line of this run";
            accounted.insert(import.plan.lines[size_t(at - import.plan.ids.begin())]);
        }
        EXPECT_EQ(std::multiset<std::string>(import.plan.lines.begin(), import.plan.lines.end()), accounted);
    }

    std::string folder;
};

TEST_F(Concurrent, TwoImportsIntoOneTableLoseAndDoubleNothing)
{
    // Without a key nothing but the runs themselves keeps a row from being
    // stored twice; with one, the overlapping lines are the second run's
    // duplicates.
    struct Case {
        const char *name;
        std::string create;
        long secondFirstId;
        std::vector<std::string> reasons;
    };
    const Case cases[] = {
        {"disjoint keys, no key constraint", "CREATE TABLE T (ID NUMBER(8) NOT NULL, NAME VARCHAR2(40))", 5001,
         {"ORA-01722: invalid number"}},
        {"overlapping keys, primary key", "CREATE TABLE T (ID NUMBER(8) PRIMARY KEY, NAME VARCHAR2(40))", 961,
         {"ORA-01722: invalid number", "ORA-00001: unique constraint"}},
    };
    const long count = rounds();
    for (long round = 1; round <= count; ++round) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + ", round " + std::to_string(round));
            const std::string name = "r" + std::to_string(round) + (c.secondFirstId > 1000 ? "d" : "o");
            const std::string database = makeDatabase(folder + "/" + name, {c.create});
            Import first = start(name, database, "T", "A", makeCsv(1, 1000, 41, "A"));
            Import second = start(name, database, "T", "B", makeCsv(c.secondFirstId, 1000, 43, "B"));
            first.child->release();
            second.child->release();
            first.outcome = first.child->finish();
            second.outcome = second.child->finish();
            ASSERT_NO_FATAL_FAILURE(checkImport(first, database, "T", c.reasons));
            ASSERT_NO_FATAL_FAILURE(checkImport(second, database, "T", c.reasons));
            // Every key of either file is in the table once, unless both
            // runs rejected its line.
            const std::vector<long> ids = tableIds(database);
            EXPECT_TRUE(std::adjacent_find(ids.begin(), ids.end()) == ids.end());
            EXPECT_EQ(first.outcome.successes + second.outcome.successes, long(ids.size()));
            if (HasFailure())
                return;
        }
    }
}

// Another session keeps its change open longer than the engine waits: the
// line is rejected with ORA-00054 as its reason, counted, and kept in the
// error file, and the other session's change is untouched.
TEST_F(Concurrent, ImportBehindAnOpenTransactionRejectsTheLineWithOra54)
{
    const std::string database =
        makeDatabase(folder + "/held", {"CREATE TABLE T (ID NUMBER(8) NOT NULL, NAME VARCHAR2(40))"});
    enginetest::Client holder;
    ASSERT_EQ(0, holder.logon(database, "SCOTT", "tiger"));
    holder.exec("INSERT INTO T VALUES (99, 'held')");
    const CsvPlan plan = makeCsv(1, 1, 0, "A");
    const std::string csv = folder + "/held.csv";
    writeCsv(csv, plan);
    const ChildOutcome outcome = runChild(folder + "/heldrun", childArguments(database, "import", "T", csv));
    ASSERT_EQ(0, holder.commit());
    holder.logoff();

    EXPECT_EQ(0, outcome.result) << outcome.message << outcome.log;
    EXPECT_EQ(1, outcome.records);
    EXPECT_EQ(0, outcome.successes);
    EXPECT_EQ(1, outcome.errors);
    EXPECT_TRUE(outcome.showedBox("エラーレコードがあります。"));
    bool whole = false;
    EXPECT_EQ(plan.lines, crlfLines(readFile(folder + "/held.err"), whole));
    const std::vector<std::string> reasons = crlfLines(readFile(folder + "/held.erm"), whole);
    ASSERT_EQ(1u, reasons.size());
    EXPECT_NE(std::string::npos, reasons[0].find(kBusy)) << reasons[0];
    EXPECT_EQ(std::vector<long>{99}, tableIds(database));
}

TEST_F(Concurrent, ExportDuringAnImportWritesOneCommittedState)
{
    const size_t lines = 20000;
    const CsvPlan plan = makeCsv(1, lines, 0, "N");
    const long count = rounds();
    for (long round = 1; round <= count; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string name = "x" + std::to_string(round);
        const std::string database =
            makeDatabase(folder + "/" + name, {"CREATE TABLE T (ID NUMBER(8) NOT NULL, NAME VARCHAR2(40))"});
        Import import = start(name, database, "T", "I", plan);
        const std::string exported = folder + "/" + name + "out.csv";
        ChildRun exporter(folder + "/" + name + "export",
                          childArguments(database, "export", "T", exported, {"gate=1"}));
        ASSERT_TRUE(exporter.waitUntilReady());
        import.child->release();
        // Some commits in: the export reads while the import goes on.
        ASSERT_TRUE(import.child->waitForProgress(2000));
        exporter.release();
        const ChildOutcome outcome = exporter.finish();
        import.outcome = import.child->finish();
        ASSERT_EQ(0, import.outcome.result) << import.outcome.message << import.outcome.log;
        ASSERT_EQ(0, outcome.result) << outcome.message << outcome.log;

        bool whole = false;
        const std::vector<std::string> rows = crlfLines(readFile(exported), whole);
        EXPECT_TRUE(whole || rows.empty());
        EXPECT_EQ(outcome.records, long(rows.size()));
        std::vector<long> ids;
        for (const std::string &row : rows)
            ids.push_back(leadingId(row));
        std::sort(ids.begin(), ids.end());
        // Without a header line the first commit follows line N + 1, the
        // next ones every N lines, the last one the last line.
        const size_t n = ids.size();
        const bool committedCount = n == 0 || n == lines || (n > kCommitEvery && (n - 1) % kCommitEvery == 0);
        EXPECT_TRUE(committedCount) << n << " rows are no committed state";
        EXPECT_EQ(plan.goodIds(n), ids);
        EXPECT_EQ(lines, tableIds(database).size());
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace faults
