// sql: runs a script of statements through the call interface and shows
// the rows of its queries.
#include "karvello_db_commands.h"
#include "karvello_db_oci.h"
#include "karvello_db_output.h"
#include "karvello_db_password.h"
#include "karvello_db_script.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace kdbtool {
namespace {

struct Logon {
    std::string user;
    std::optional<std::string> password;
    std::optional<std::string> connect;
};

// A part that may be double-quoted (a quoted name or password keeps "/" and
// "@"), up to the first of `stops` outside the quotes.
std::size_t endOfPart(const std::string &text, std::size_t from, const char *stops)
{
    std::size_t i = from;
    if (i < text.size() && text[i] == '"') {
        std::size_t close = text.find('"', i + 1);
        i = close == std::string::npos ? text.size() : close + 1;
    }
    std::size_t stop = text.find_first_of(stops, i);
    return stop == std::string::npos ? text.size() : stop;
}

std::string unquoted(const std::string &part)
{
    if (part.size() >= 2 && part.front() == '"' && part.back() == '"')
        return part.substr(1, part.size() - 2);
    return part;
}

// USER[/PASSWORD][@CONN]. The user keeps its quotes: they decide whether the
// name is upper-cased at logon.
Logon parseLogon(const std::string &text)
{
    Logon logon;
    std::size_t userEnd = endOfPart(text, 0, "/@");
    logon.user = text.substr(0, userEnd);
    std::size_t pos = userEnd;
    if (pos < text.size() && text[pos] == '/') {
        std::size_t passwordEnd = endOfPart(text, pos + 1, "@");
        logon.password = unquoted(text.substr(pos + 1, passwordEnd - pos - 1));
        pos = passwordEnd;
    }
    if (pos < text.size() && text[pos] == '@')
        logon.connect = text.substr(pos + 1);
    return logon;
}

std::optional<std::string> passwordFor(const Options &options, const Logon &logon)
{
    if (logon.password)
        return logon.password;
    std::string error;
    std::optional<std::string> password;
    if (!options.passwordStdin)
        password = askPassword("Password for " + unquoted(logon.user) + ": ", &error);
    else if (options.arguments.size() < 2)
        error = "--password-stdin needs a FILE of statements: standard input holds the password";
    else
        password = readPasswordLine(&error);
    if (!password)
        printError(error);
    return password;
}

std::string firstWords(const std::string &statement, int count)
{
    std::istringstream in(statement);
    std::string words, word;
    for (int i = 0; i < count && in >> word; ++i)
        words += (i ? " " : "") + word;
    for (char &c : words)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return words;
}

std::string rowsText(unsigned rows, const char *verb)
{
    return std::to_string(rows) + (rows == 1 ? " row " : " rows ") + verb + ".";
}

// What a person is told after a statement that returns no rows.
std::string feedbackFor(const std::string &statement, int functionType, unsigned rows)
{
    switch (functionType) {
    case OCI_FT_INSERT: return rowsText(rows, "created");
    case OCI_FT_UPDATE: return rowsText(rows, "updated");
    case OCI_FT_DELETE: return rowsText(rows, "deleted");
    default: break;
    }
    static const struct {
        const char *words;
        const char *text;
    } kDone[] = {
        {"CREATE TABLE", "Table created."},     {"CREATE VIEW", "View created."},
        {"DROP TABLE", "Table dropped."},       {"DROP VIEW", "View dropped."},
        {"TRUNCATE TABLE", "Table truncated."}, {"COMMIT", "Commit complete."},
        {"ROLLBACK", "Rollback complete."},
    };
    for (const auto &done : kDone)
        if (firstWords(statement, 2) == done.words || firstWords(statement, 1) == done.words)
            return done.text;
    return "Statement processed.";
}

int runQuery(Cursor &cursor, ResultWriter &writer)
{
    std::vector<ColumnInfo> columns;
    if (int rc = cursor.describeAndDefine(columns))
        return rc;
    if (int rc = cursor.execute())
        return rc;
    writer.begin(columns);
    std::vector<Value> row;
    bool truncated = false;
    unsigned count = 0;
    int rc;
    while ((rc = cursor.fetch(row, &truncated)) == 0) {
        writer.row(row);
        ++count;
    }
    writer.end(count);
    if (truncated)
        printError("some values were longer than karvello-db shows and were cut");
    return rc == OCI_ERR_NO_DATA ? 0 : rc;
}

int runStatement(Cursor &cursor, const ScriptStatement &statement, ResultWriter &writer)
{
    if (int rc = cursor.parse(statement.text))
        return rc;
    if (cursor.functionType() == OCI_FT_SELECT)
        return runQuery(cursor, writer);
    if (int rc = cursor.execute())
        return rc;
    writer.feedback(feedbackFor(statement.text, cursor.functionType(), cursor.rowsProcessed()));
    return 0;
}

void reportStatementError(Session &session, const ScriptStatement &statement, int rc)
{
    std::fflush(stdout);
    std::fprintf(stderr, "ERROR at line %d:\n%s\n", statement.line, session.errorText(rc).c_str());
}

struct ScriptRun {
    Session &session;
    Cursor &cursor;
    ResultWriter &writer;
    bool stopOnError;
    bool failed = false;
    bool stopped = false;

    void run(const std::vector<ScriptStatement> &statements)
    {
        for (const ScriptStatement &statement : statements) {
            if (stopped)
                return;
            int rc = runStatement(cursor, statement, writer);
            std::fflush(stdout);
            if (rc == 0)
                continue;
            failed = true;
            reportStatementError(session, statement, rc);
            if (stopOnError) {
                session.rollback();
                stopped = true;
            }
        }
    }
};

} // namespace

int sqlCommand(const Options &options)
{
    Logon logon = parseLogon(options.arguments[0]);
    if (logon.user.empty()) {
        printError("no user name in \"" + options.arguments[0] + "\"");
        return ExitUsage;
    }
    if (logon.connect && options.db) {
        printError("give the database either as @CONN or with --db, not both");
        return ExitUsage;
    }
    std::ifstream file;
    std::istream *script = &std::cin;
    if (options.arguments.size() > 1) {
        file.open(options.arguments[1], std::ios::binary);
        if (!file) {
            printError("cannot read " + options.arguments[1]);
            return ExitFailed;
        }
        script = &file;
    }
    auto password = passwordFor(options, logon);
    if (!password)
        return ExitFailed;

    Session session;
    if (int rc = session.logon(logon.user, *password, logon.connect.value_or(options.db.value_or("")))) {
        printError(session.errorText(rc));
        return ExitFailed;
    }
    Cursor cursor(session);
    if (int rc = cursor.open()) {
        printError(session.errorText(rc));
        return ExitFailed;
    }
    std::unique_ptr<ResultWriter> writer;
    if (options.csv)
        writer = std::make_unique<CsvResultWriter>(stdout);
    else
        writer = std::make_unique<TextResultWriter>(stdout);

    ScriptRun run{session, cursor, *writer, options.stopOnError};
    ScriptReader reader;
    std::string line;
    while (!run.stopped && std::getline(*script, line))
        run.run(reader.addLine(line + "\n"));
    run.run(reader.finish());
    if (!run.stopped && !script->eof()) {
        printError("the script could not be read to its end");
        run.failed = true;
    }
    if (int rc = session.commit()) {
        printError(session.errorText(rc));
        run.failed = true;
    }
    return run.failed ? ExitFailed : ExitOk;
}

} // namespace kdbtool
