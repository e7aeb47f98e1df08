#include "SqlitePeers.h"

#include "CsvFile.h"
#include "bench/common/SqliteExec.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace bench {
namespace {

void removeDatabase(const std::string &db)
{
    std::error_code ec;
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        std::filesystem::remove(db + suffix, ec);
}

using Database = std::unique_ptr<sqlite3, int (*)(sqlite3 *)>;

// `settings` run before the table is made: a page size holds only then.
Database openFresh(const std::string &db, const char *settings = nullptr)
{
    removeDatabase(db);
    sqlite3 *handle = nullptr;
    if (sqlite3_open(db.c_str(), &handle) != SQLITE_OK)
        fail("cannot open " + db);
    Database database(handle, sqlite3_close);
    if (settings)
        sqliteExec(handle, settings);
    sqliteExec(handle, kSqliteTable);
    return database;
}

// Splits one line of the benchmark's files into its fields, in place:
// quotes around a field are dropped, a doubled quote inside one is kept once.
class LineSplitter {
public:
    // Splits [begin, end) (the line without its break); the fields point into it.
    void split(char *begin, char *end)
    {
        m_fields.clear();
        char *p = begin;
        while (true) {
            char *start = p;
            char *out = p;
            if (p < end && *p == '"') {
                ++p;
                start = out = p;
                while (p < end) {
                    if (*p == '"' && p + 1 < end && p[1] == '"') {
                        *out++ = '"';
                        p += 2;
                    } else if (*p == '"') {
                        ++p;
                        break;
                    } else {
                        *out++ = *p++;
                    }
                }
                while (p < end && *p != ',')
                    ++p;
            } else {
                while (p < end && *p != ',')
                    ++p;
                out = p;
            }
            m_fields.push_back({start, static_cast<int>(out - start)});
            if (p >= end)
                break;
            ++p;
        }
    }
    struct Field {
        const char *text;
        int length;
    };
    const std::vector<Field> &fields() const { return m_fields; }

private:
    std::vector<Field> m_fields;
};

std::vector<char> readWhole(const std::string &path)
{
    std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        fail("cannot read " + path);
    std::vector<char> bytes;
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    return bytes;
}

long countRows(const std::string &db)
{
    sqlite3 *handle = nullptr;
    if (sqlite3_open(db.c_str(), &handle) != SQLITE_OK)
        fail("cannot open " + db);
    Database database(handle, sqlite3_close);
    sqlite3_stmt *count = nullptr;
    if (sqlite3_prepare_v2(handle, "SELECT COUNT(*) FROM BENCH_ROWS", -1, &count, nullptr) != SQLITE_OK)
        fail(sqlite3_errmsg(handle));
    const long rows = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int64(count, 0) : -1;
    sqlite3_finalize(count);
    return rows;
}

} // namespace

Timing sqliteCommandImport(const std::string &db, const std::string &csv, long rows)
{
    openFresh(db);
    Timing timing = runCommand({"sqlite3", db, ".mode csv", std::string(".import ") + csv + " " + kTableName});
    if (long stored = countRows(db); stored != rows)
        fail("sqlite3 .import stored " + std::to_string(stored) + " rows");
    return timing;
}

Timing sqliteCommandExport(const std::string &db, const std::string &output)
{
    return runCommand({"sqlite3", "-csv", db, std::string("SELECT * FROM ") + kTableName}, output);
}

Timing sqliteApiImport(const std::string &db, const std::string &csv, long rows)
{
    // The engine's own page size and journal settings, so that the
    // difference is the work above SQLite.
    Database database =
        openFresh(db, "PRAGMA page_size=65536; PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL");
    sqlite3 *handle = database.get();
    sqlite3_stmt *insert = nullptr;
    if (sqlite3_prepare_v2(handle, "INSERT INTO BENCH_ROWS VALUES (?1,?2,?3,?4,?5,?6)", -1, &insert, nullptr) !=
        SQLITE_OK)
        fail(sqlite3_errmsg(handle));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> statement(insert, sqlite3_finalize);

    Stopwatch stopwatch;
    std::vector<char> bytes = readWhole(csv);
    LineSplitter splitter;
    sqliteExec(handle, "BEGIN");
    char *p = bytes.data();
    char *const end = p + bytes.size();
    while (p < end) {
        char *lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
            ++lineEnd;
        if (lineEnd > p) {
            splitter.split(p, lineEnd);
            int column = 1;
            for (const LineSplitter::Field &field : splitter.fields())
                if (column <= 6)
                    sqlite3_bind_text(insert, column++, field.text, field.length, SQLITE_STATIC);
            if (sqlite3_step(insert) != SQLITE_DONE)
                fail(sqlite3_errmsg(handle));
            sqlite3_reset(insert);
        }
        p = lineEnd;
        while (p < end && (*p == '\r' || *p == '\n'))
            ++p;
    }
    sqliteExec(handle, "COMMIT");
    Timing timing = stopwatch.elapsed();
    if (sqlite3_total_changes(handle) != rows)
        fail("the SQLite loop stored " + std::to_string(sqlite3_total_changes(handle)) + " rows");
    return timing;
}

} // namespace bench
