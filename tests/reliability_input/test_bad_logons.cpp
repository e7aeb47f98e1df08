// Logons that must fail, through ReConnect and the login dialog: a wrong
// password many times over, names and connect strings that are not what the
// field expects, and files standing where a user's schema file should be.
// Each is refused with the database's text, and nothing on disk changes.
#include "BadInputFixture.h"

#include "embedded/Admin.h"
#include "oracle/TOCIctrl.h"
#include "support/TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QPushButton>
#include <map>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

const QString kLogonDenied = QStringLiteral(
    "-- ORACLE error when processing OCI function\nORA-01017: invalid username/password; logon denied");

class BadLogons : public BadInput {
protected:
    // ReConnect answered with these values; true when the session is open
    // afterwards. A refusal is to show the logon-denied box.
    bool reconnect(const QString &user, const QString &password, const QString &conn, bool refused)
    {
        if (refused)
            boxes.expect(kLogonDenied, MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
        login.accept(user, password, conn);
        window->pbConnect->click();
        EXPECT_EQ(boxes.pending(), 0u);
        if (refused && !boxes.shown().empty()) {
            EXPECT_TRUE(boxes.shown().back().systemModal);
        }
        return window->OCI->connected();
    }

    // Every file under `dir` with a digest of its bytes.
    static std::map<QString, std::string> snapshot(const QString &dir)
    {
        std::map<QString, std::string> files;
        QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            files[file] = QFileInfo(file).isFile()
                              ? QCryptographicHash::hash(QByteArray::fromStdString(readFile(file)),
                                                         QCryptographicHash::Sha256)
                                    .toHex()
                                    .toStdString()
                              : std::string("(not a file)");
        }
        return files;
    }
};

TEST_F(BadLogons, AWrongPasswordIsRefusedEveryTimeAndLocksNothing)
{
    for (int attempt = 1; attempt <= 20; ++attempt) {
        SCOPED_TRACE(attempt);
        EXPECT_FALSE(reconnect(QStringLiteral("DEMO"), QStringLiteral("wrong%1").arg(attempt), {}, true));
        EXPECT_FALSE(window->pbCount->isEnabled());
    }
    // Case matters in a password; the name is upper-cased like an identifier.
    EXPECT_FALSE(reconnect(QStringLiteral("demo"), QStringLiteral("DEMO"), {}, true));
    EXPECT_TRUE(reconnect(QStringLiteral("demo"), QStringLiteral("demo"), {}, false));
    EXPECT_EQ(rows("select count(*) from STAFF"), std::vector<std::string>{"14"});
}

TEST_F(BadLogons, NamesAndConnectStringsThatAreNoUsersAreRefused)
{
    // Once the session is closed its files are at rest; from then on a
    // refused logon is to change nothing at all.
    EXPECT_FALSE(reconnect(QStringLiteral("DEMO"), QStringLiteral("wrong"), {}, true));
    const std::map<QString, std::string> before = snapshot(QDir::homePath());
    struct Case {
        const char *name;
        QString user, password, conn;
    };
    const Case cases[] = {
        {"no user name", {}, QStringLiteral("demo"), {}},
        {"no password", QStringLiteral("DEMO"), {}, {}},
        {"a quote and a comment in the name", QStringLiteral("DEMO\" --"), QStringLiteral("demo"), {}},
        {"a statement in the name", QStringLiteral("DEMO; DROP TABLE STAFF"), QStringLiteral("demo"), {}},
        {"a path in the name", QStringLiteral("../default/DEMO"), QStringLiteral("demo"), {}},
        {"a very long name", QString(10000, QLatin1Char('D')), QStringLiteral("demo"), {}},
        {"a password with quotes and a statement", QStringLiteral("DEMO"), QStringLiteral("x' or '1'='1"), {}},
        {"a database folder that does not exist", QStringLiteral("DEMO"), QStringLiteral("demo"),
         QStringLiteral("/nonexistent/karvello")},
        {"a file as the database folder", QStringLiteral("DEMO"), QStringLiteral("demo"), QStringLiteral("/etc/hostname")},
        {"a database name that climbs out", QStringLiteral("DEMO"), QStringLiteral("demo"), QStringLiteral("../..")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(reconnect(c.user, c.password, c.conn, true));
    }
    EXPECT_EQ(snapshot(QDir::homePath()), before) << "a refused logon changed files";
    EXPECT_TRUE(reconnect(QStringLiteral("DEMO"), QStringLiteral("demo"), {}, false));
    EXPECT_EQ(rows("select count(*) from STAFF"), std::vector<std::string>{"14"});
}

// A foreign SQLite database with a table and rows, as another program would
// leave it, in the journal mode given ("delete" is SQLite's default).
void writeForeignDatabase(const QString &path, const std::string &journalMode)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toLocal8Bit().constData(), &db), SQLITE_OK);
    const std::string sql = "PRAGMA journal_mode=" + journalMode
                            + ";CREATE TABLE notes(id INTEGER PRIMARY KEY, text TEXT);"
                              "INSERT INTO notes(text) VALUES('first'),('second');";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

TEST_F(BadLogons, AFileThatIsNoSchemaOfOursIsRefusedAndLeftAsItWas)
{
    struct Case {
        const char *name;
        std::function<void(const QString &path)> make;
    };
    const Case cases[] = {
        {"a foreign SQLite database", [](const QString &p) { writeForeignDatabase(p, "delete"); }},
        {"a foreign SQLite database in WAL mode", [](const QString &p) { writeForeignDatabase(p, "wal"); }},
        {"an empty file", [this](const QString &p) { writeFileAt(p, ""); }},
        {"random bytes", [this](const QString &p) { writeFileAt(p, randomBytes(8192, 7)); }},
        {"a SQLite header and then nothing", [this](const QString &p) { writeFileAt(p, std::string("SQLite format 3\0", 16)); }},
        {"a folder", [](const QString &p) { QDir().mkpath(p); }},
        {"a named pipe", [](const QString &p) { ::mkfifo(p.toLocal8Bit().constData(), 0600); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString database = QString::fromStdString(testenv::makeTempDir("foreign"));
        c.make(database + QStringLiteral("/X.db"));
        const std::map<QString, std::string> before = snapshot(database);
        EXPECT_FALSE(reconnect(QStringLiteral("X"), QStringLiteral("x"), database, true));
        EXPECT_FALSE(reconnect(QStringLiteral("X"), {}, database, true));
        EXPECT_EQ(snapshot(database), before) << "the file or its folder changed";
        // The administration does not take it for a user either.
        std::string message;
        EXPECT_NE(kdb::admin::setPassword(database.toStdString(), "X", "x", &message), 0);
        EXPECT_EQ(snapshot(database), before) << "setting a password changed the file";
    }
    EXPECT_TRUE(reconnect(QStringLiteral("DEMO"), QStringLiteral("demo"), {}, false));
}

} // namespace
