// Transactions: what a commit, a rollback, a failing statement, DDL, a
// second session and a killed process leave in the database.
#include "EngineClient.h"

#include "tests/support/TestEnvironment.h"

#include <sqlite3.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

using namespace enginetest;
namespace fs = std::filesystem;

namespace {

Rows ids(Client &client)
{
    return client.query("SELECT ID FROM T ORDER BY ID");
}

const Rows kOneTwo = {{"1"}, {"2"}};

} // namespace

TEST_F(EngineTest, FailingStatementUndoesOnlyItself)
{
    exec("CREATE TABLE T (ID NUMBER PRIMARY KEY)");
    exec("INSERT INTO T VALUES (1)");
    exec("INSERT INTO T VALUES (2)");
    EXPECT_EQ(OCI_ERR_UNIQUE, errorOf("INSERT INTO T VALUES (1)"));
    // Fails on its second row: the first row's change goes too.
    EXPECT_EQ(OCI_ERR_UNIQUE, errorOf("UPDATE T SET ID = 5"));
    EXPECT_EQ(kOneTwo, ids(c));
    ASSERT_EQ(0, c.commit());
    ASSERT_EQ(0, c.rollback());
    EXPECT_EQ(kOneTwo, ids(c));
}

TEST_F(EngineTest, RollbackUndoesUpToTheLastCommit)
{
    exec("CREATE TABLE T (ID NUMBER)");
    exec("INSERT INTO T VALUES (1)");
    exec("INSERT INTO T VALUES (2)");
    ASSERT_EQ(0, c.commit());
    exec("INSERT INTO T VALUES (3)");
    exec("DELETE FROM T WHERE ID = 1");
    ASSERT_EQ(0, c.rollback());
    EXPECT_EQ(kOneTwo, ids(c));
}

TEST_F(EngineTest, DdlAndTruncateCommitAndSurviveRollback)
{
    exec("CREATE TABLE T (ID NUMBER)");
    exec("INSERT INTO T VALUES (1)");
    exec("INSERT INTO T VALUES (2)");
    exec("CREATE TABLE OTHER (X NUMBER)"); // commits the two rows
    ASSERT_EQ(0, c.rollback());
    EXPECT_EQ(kOneTwo, ids(c));

    exec("TRUNCATE TABLE T");
    ASSERT_EQ(0, c.rollback());
    EXPECT_EQ(Rows{}, ids(c));

    exec("INSERT INTO T VALUES (1)");
    exec("DROP TABLE OTHER");
    ASSERT_EQ(0, c.rollback());
    EXPECT_EQ(Rows{{"1"}}, ids(c));
}

TEST_F(EngineTest, AutoCommitCommitsEveryStatement)
{
    exec("CREATE TABLE T (ID NUMBER)");
    ASSERT_EQ(0, ocon(&c.lda));
    exec("INSERT INTO T VALUES (1)");
    exec("INSERT INTO T VALUES (2)");
    ASSERT_EQ(0, c.rollback());
    EXPECT_EQ(kOneTwo, ids(c));
    ASSERT_EQ(0, ocof(&c.lda));
    exec("INSERT INTO T VALUES (3)");
    ASSERT_EQ(0, c.rollback());
    EXPECT_EQ(kOneTwo, ids(c));
}

TEST_F(EngineTest, LogoffCommits)
{
    exec("CREATE TABLE T (ID NUMBER)");
    exec("INSERT INTO T VALUES (1)");
    exec("INSERT INTO T VALUES (2)");
    ASSERT_EQ(0, c.logoff());
    Client again;
    ASSERT_EQ(0, again.logon(db, "SCOTT", "tiger"));
    EXPECT_EQ(kOneTwo, ids(again));
}

TEST_F(EngineTest, SecondSessionSeesOnlyCommittedRowsAndAWaitingWriterGivesUp)
{
    exec("CREATE TABLE T (ID NUMBER)");
    Client other;
    ASSERT_EQ(0, other.logon(db, "SCOTT", "tiger"));
    exec("INSERT INTO T VALUES (1)");
    EXPECT_EQ(Rows{}, ids(other));
    exec("INSERT INTO T VALUES (2)");
    EXPECT_EQ(OCI_ERR_BUSY, other.errorOf("INSERT INTO T VALUES (9)"));
    EXPECT_EQ(0u, other.message(OCI_ERR_BUSY).find("ORA-00054: resource busy"));
    ASSERT_EQ(0, c.commit());
    // Read committed: each statement sees what was committed before it.
    EXPECT_EQ(kOneTwo, ids(other));
    EXPECT_EQ(0, other.errorOf("INSERT INTO T VALUES (3)"));
    EXPECT_EQ(kOneTwo, ids(c));
    ASSERT_EQ(0, other.commit());
    EXPECT_EQ((Rows{{"1"}, {"2"}, {"3"}}), ids(c));
}

// Commits that leave the WAL large are copied back into the schema file by a
// thread of the session's own while the session goes on; a second session
// reads every committed row meanwhile, and after the last log-off the file
// holds everything and no WAL is left beside it.
TEST_F(EngineTest, LargeCommitsAreCheckpointedBesideTheSessionAndLogoffLeavesNoWal)
{
    exec("CREATE TABLE T (ID NUMBER PRIMARY KEY, PAD VARCHAR2(4000))");
    Client reader;
    ASSERT_EQ(0, reader.logon(db, "SCOTT", "tiger"));
    const std::string pad(3000, 'p');
    const int rows = 4000; // about 12 MB: the WAL passes its limit a few times
    for (int i = 1; i <= rows; ++i) {
        ASSERT_EQ(0, c.runBound("INSERT INTO T VALUES (:1, :2)", {std::to_string(i), pad}));
        if (i % 500 == 0) {
            ASSERT_EQ(0, c.commit());
            EXPECT_EQ((Rows{{std::to_string(i)}}), reader.query("SELECT COUNT(*) FROM T"));
        }
    }
    ASSERT_EQ(0, reader.logoff());
    ASSERT_EQ(0, c.logoff());

    bool walLeft = false;
    for (const auto &entry : fs::directory_iterator(db))
        walLeft = walLeft || entry.path().string().ends_with("-wal");
    EXPECT_FALSE(walLeft);
    Client again;
    ASSERT_EQ(0, again.logon(db, "SCOTT", "tiger"));
    EXPECT_EQ((Rows{{std::to_string(rows)}}), again.query("SELECT COUNT(*) FROM T"));
    EXPECT_EQ((Rows{{std::to_string(rows)}}), again.query("SELECT COUNT(*) FROM T WHERE PAD = '" + pad + "'"));
}

// A process killed in the middle of a transaction: its committed rows stay,
// its open transaction is gone, and the file is whole.
TEST(EngineCrash, KilledProcessKeepsOnlyCommittedRowsAndAnIntactFile)
{
    const std::string db = testenv::makeTempDir("crash");
    ASSERT_NO_FATAL_FAILURE(createUser(db, "SCOTT", "tiger"));
    {
        Client setup;
        ASSERT_EQ(0, setup.logon(db, "SCOTT", "tiger"));
        setup.exec("CREATE TABLE T (ID NUMBER, PAD VARCHAR2(200))");
    }
    int ready[2];
    ASSERT_EQ(0, pipe(ready));
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // No test macros here: the child only reports through its pipe.
        close(ready[0]);
        Client child;
        bool ok = child.logon(db, "SCOTT", "tiger") == 0 && child.run("INSERT INTO T (ID) VALUES (1)") == 0 &&
                  child.run("INSERT INTO T (ID) VALUES (2)") == 0 && child.commit() == 0;
        const std::string pad(200, 'x');
        for (int i = 3; ok && i < 2000; ++i)
            ok = child.runBound("INSERT INTO T VALUES (:1, :2)", {std::to_string(i), pad}) == 0;
        char status = ok ? 'y' : 'n';
        (void)!write(ready[1], &status, 1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char status = 0;
    ASSERT_EQ(1, read(ready[0], &status, 1));
    close(ready[0]);
    kill(pid, SIGKILL);
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    ASSERT_EQ('y', status) << "the child could not write its rows";

    Client after;
    ASSERT_EQ(0, after.logon(db, "SCOTT", "tiger"));
    EXPECT_EQ(kOneTwo, ids(after));
    after.logoff();

    int files = 0;
    for (const auto &entry : fs::directory_iterator(db)) {
        if (entry.path().extension() != ".db")
            continue;
        ++files;
        sqlite3 *raw = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(entry.path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr));
        sqlite3_stmt *check = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(raw, "PRAGMA integrity_check", -1, &check, nullptr));
        ASSERT_EQ(SQLITE_ROW, sqlite3_step(check));
        EXPECT_STREQ("ok", reinterpret_cast<const char *>(sqlite3_column_text(check, 0))) << entry.path();
        sqlite3_finalize(check);
        sqlite3_close(raw);
    }
    EXPECT_GE(files, 1);
}
