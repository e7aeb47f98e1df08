// An import killed at a random moment keeps exactly what it committed: the
// table holds the good lines of a whole number of commit intervals, the
// schema file is whole, the next log-on works and both error files hold
// whole lines. KARVELLO_CRASH_RUNS sets the number of kills (30 by default),
// KARVELLO_CRASH_SEED replays the kill times of a failed run.
#include "ChildRun.h"
#include "FaultsData.h"

#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace faults {
namespace {

constexpr size_t kLines = 1500;
constexpr size_t kBadEvery = 37; // fewer than 100 bad lines: no stop at the error limit
constexpr size_t kCommitEvery = 25;

long envNumber(const char *name, long fallback)
{
    const char *text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

class CrashedImport : public testing::Test {
protected:
    void SetUp() override
    {
        folder = testenv::makeTempDir("crash");
        plan = makeCsv(1, kLines, kBadEvery, "N", 40);
        csv = folder + "/data.csv";
        ASSERT_NO_FATAL_FAILURE(writeCsv(csv, plan));
    }

    // A fresh schema for each run, so every run starts from an empty table.
    std::vector<std::string> arguments(const std::string &database)
    {
        return childArguments(database, "import", "T", csv, {"commit=" + std::to_string(kCommitEvery)});
    }
    std::string freshDatabase(int run)
    {
        const std::string runFolder = folder + "/run" + std::to_string(run);
        return makeDatabase(runFolder, {"CREATE TABLE T (ID NUMBER(8) NOT NULL, NAME VARCHAR2(60))"});
    }

    // What the killed (or finished) run left behind.
    // Returns whether the run had committed its last line.
    bool checkAfterKill(const std::string &database, bool finished)
    {
        const std::vector<long> stored = tableIds(database);
        // The last commit comes after the last line; without a header line
        // the first follows line N + 1, the next ones every N lines.
        size_t committedLines = kLines;
        bool atCommit = stored == plan.goodIds(kLines);
        for (size_t lines = 0; !finished && !atCommit && lines < kLines;
             lines += lines == 0 ? kCommitEvery + 1 : kCommitEvery) {
            if (stored == plan.goodIds(lines)) {
                atCommit = true;
                committedLines = lines;
            }
        }
        EXPECT_TRUE(atCommit) << stored.size() << " rows are no committed state of the file";
        EXPECT_EQ("ok", integrityOf(database));

        bool whole = false;
        const std::string err = readFile(csv.substr(0, csv.size() - 4) + ".err");
        const std::vector<std::string> records = crlfLines(err, whole);
        EXPECT_TRUE(whole) << "the record file ends in half a line";
        const std::vector<std::string> bad = plan.badLines(kLines);
        EXPECT_LE(records.size(), bad.size());
        if (records.size() > bad.size())
            return false;
        EXPECT_TRUE(std::equal(records.begin(), records.end(), bad.begin()));
        // Rejected lines are written before the commit that follows them.
        EXPECT_GE(records.size(), plan.badLines(committedLines).size());

        const std::vector<std::string> reasons = crlfLines(readFile(csv.substr(0, csv.size() - 4) + ".erm"), whole);
        EXPECT_TRUE(whole) << "the message file ends in half a line";
        EXPECT_TRUE(reasons.size() == records.size() || reasons.size() + 1 == records.size());
        // Every reason is the same whole text: the finished run's.
        if (reason.empty() && !reasons.empty())
            reason = reasons.front();
        for (const std::string &line : reasons)
            EXPECT_EQ(reason, line);
        EXPECT_TRUE(reason.ends_with("ORA-01722: invalid number")) << reason;
        return committedLines == kLines;
    }

    std::string folder;
    std::string csv;
    std::string reason;
    CsvPlan plan;
};

TEST_F(CrashedImport, KeepsItsLastCommitAWholeFileAndWholeErrorLines)
{
    // One run to its end tells how long a run takes here, so the kills
    // spread over the whole of it (and a little past).
    std::chrono::microseconds span{};
    {
        const std::string database = freshDatabase(0);
        ChildRun child(folder + "/run0", arguments(database));
        ASSERT_TRUE(child.waitForProgress());
        const auto started = std::chrono::steady_clock::now();
        const ChildOutcome outcome = child.finish();
        ASSERT_EQ(0, outcome.result) << outcome.message << outcome.log;
        ASSERT_EQ(long(plan.goodIds(kLines).size()), outcome.successes);
        span = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
        checkAfterKill(database, true);
        ASSERT_FALSE(HasFailure());
    }

    const long runs = envNumber("KARVELLO_CRASH_RUNS", 30);
    const unsigned seed = unsigned(envNumber("KARVELLO_CRASH_SEED", long(std::random_device{}() & 0x7fffffff)));
    std::cout << "crash runs: " << runs << ", seed " << seed << " (KARVELLO_CRASH_SEED replays)\n";
    std::mt19937 random(seed);
    // Most of a finished run is spent closing the window and the session.
    std::uniform_int_distribution<long> delay(0, long(span.count()) / 2);
    int killedMidway = 0;
    for (long run = 1; run <= runs; ++run) {
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
        const std::string database = freshDatabase(int(run));
        ChildRun child(folder + "/run" + std::to_string(run), arguments(database));
        const long wait = delay(random);
        ASSERT_TRUE(child.waitForProgress());
        std::this_thread::sleep_for(std::chrono::microseconds(wait));
        child.kill();
        const ChildOutcome outcome = child.finish();
        killedMidway += checkAfterKill(database, outcome.status == 0) ? 0 : 1;
        if (HasFailure())
            break;
    }
    std::cout << "killed before the end: " << killedMidway << " of " << runs << "\n";
}

} // namespace
} // namespace faults
