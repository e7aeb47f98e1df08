#pragma once
// The database and the files the fault tests work on: a fresh schema SCOTT
// with one table, generated CSV files whose good and bad lines are known, and
// the checks of what a run left behind.
#include <string>
#include <vector>

namespace faults {

// A generated CSV file: every line as written (without its CR LF), and for
// each line its ID when the table takes it, or -1 when the database refuses it.
struct CsvPlan {
    std::vector<std::string> lines;
    std::vector<long> ids;

    // IDs of the good lines among the first `count` lines.
    std::vector<long> goodIds(size_t count) const;
    // The bad lines among the first `count` lines.
    std::vector<std::string> badLines(size_t count) const;
};

// `count` lines "ID,NAME" with IDs from `firstId`, NAME being `tag` and the ID
// padded to `width` bytes; every `badEvery`-th line (0: none) has a text in
// place of its ID.
CsvPlan makeCsv(long firstId, size_t count, size_t badEvery, const std::string &tag, size_t width = 0);
// Writes the lines, each ended by CR LF.
void writeCsv(const std::string &path, const CsvPlan &plan);

// A new database folder under `folder` with user SCOTT/tiger and the tables
// the statements create; its path.
std::string makeDatabase(const std::string &folder, const std::vector<std::string> &statements);
// Runs a statement that must succeed, and commits.
void execute(const std::string &database, const std::string &sql);
// The rows of a query as "a|b|c", through a fresh log-on (so a failing
// log-on fails the test).
std::vector<std::string> queryRows(const std::string &database, const std::string &sql);
// The IDs of T in ID order.
std::vector<long> tableIds(const std::string &database, const std::string &table = "T");
// "ok" when SQLite finds SCOTT's schema file whole; its complaint otherwise.
std::string integrityOf(const std::string &database);

std::string readFile(const std::string &path);
// A file's lines without their CR LF; `whole` is false when the file does
// not end with CR LF or holds a bare CR or LF.
std::vector<std::string> crlfLines(const std::string &bytes, bool &whole);

} // namespace faults
