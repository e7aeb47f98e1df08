#pragma once
// Test helpers that reach the engine only through its exported calls, and
// provision users with the karvello-db command.
#include "oracle/oci7.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace enginetest {

// How a NULL value appears in Rows.
inline const std::string kNull = "<NULL>";

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

struct ProcessResult {
    int status = -1; // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs a program with an argument list (no shell), feeding `input` to its
// standard input. `env` adds or replaces environment variables.
ProcessResult runProgram(const std::vector<std::string> &args, const std::string &input = {},
                         const std::vector<std::pair<std::string, std::string>> &env = {});

std::string karvelloDbPath();

// Creates a user with karvello-db; fails the test when that fails.
void createUser(const std::string &database, const std::string &user, const std::string &password);

// The byte at offset 10 and the 16-bit value at offset 12 of an area, read
// as raw memory, the way a caller that knows only the layout reads them.
int functionCodeOf(const cda_def &area);
int returnCodeOf(const cda_def &area);

// One session with one cursor.
class Client {
public:
    Client() = default;
    ~Client();
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;

    int logon(const std::string &database, const std::string &user, const std::string &password);
    int logoff();

    // Runs one statement: a query is described, defined with generous
    // buffers and indicators, executed and fetched to its end. Returns 0 or
    // the first error number; *rows gets the rows of a query.
    int run(const std::string &sql, Rows *rows = nullptr);
    // The same with texts bound to :1, :2, ... the way the program binds
    // (length + 1, type 5).
    int runBound(const std::string &sql, const std::vector<std::string> &values, Rows *rows = nullptr);

    // Like run(), and a failure of the test with the error text when the
    // statement fails.
    int exec(const std::string &sql);
    Rows query(const std::string &sql);
    int errorOf(const std::string &sql) { return run(sql); }

    std::string message(int code);
    int commit();
    int rollback();

    Lda_Def lda{};
    hda_def hda{};
    Cda_Def cda{};

private:
    int fetchAll(Rows *rows);
    bool m_loggedOn = false;
    bool m_open = false;
};

// A fresh database folder with user SCOTT/tiger, logged on.
class EngineTest : public testing::Test {
protected:
    void SetUp() override;

    int exec(const std::string &sql) { return c.exec(sql); }
    Rows query(const std::string &sql) { return c.query(sql); }
    int errorOf(const std::string &sql) { return c.errorOf(sql); }
    // The text oerhms gives for the error of the statement.
    std::string messageOf(const std::string &sql);

    std::string db;
    Client c;
};

} // namespace enginetest
