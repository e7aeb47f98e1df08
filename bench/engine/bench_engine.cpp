// How fast the engine stores rows the way an import sends them, measured
// against SQLite's own API doing the same work.
//
// The engine side prepares one INSERT of six columns and, for every row,
// binds six texts with obndrn and runs oexec, all in one transaction, exactly
// as the program's import does. The SQLite side prepares the equivalent
// INSERT once and binds, steps and resets per row, in one transaction, on a
// plain table in its own file with the engine's journal settings (WAL,
// synchronous=NORMAL), so the difference is the engine's own work: parsing
// the values, checking them against their types and converting them.
//
// The engine runs in a child process so that its peak memory is its own.
// The two sides take turns for a few rounds and each keeps its best time, so
// that other work on a shared machine weighs on both alike.
// Usage: bench_engine [ROWS [ROUNDS]]   (default 1000000 rows, 3 rounds). The
// last line of the output is one JSON object with the results.
#include "bench/common/Measure.h"
#include "bench/common/SqliteExec.h"
#include "embedded/Admin.h"
#include "oracle/oci7.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

using namespace bench;

constexpr int kColumns = 6;
constexpr std::size_t kFieldSize = 48;

// The six texts of one row, generated from its number so both sides store
// identical data. Fits NUMBER(10), VARCHAR2(20), NUMBER(10,2), DATE,
// CHAR(3), VARCHAR2(40).
struct RowTexts {
    char field[kColumns][kFieldSize];
    int length[kColumns];

    void fill(long i)
    {
        long cents = (i * 7919) % 1000000000;
        length[0] = std::snprintf(field[0], kFieldSize, "%ld", i + 1);
        length[1] = std::snprintf(field[1], kFieldSize, "name-%08ld", i);
        length[2] = std::snprintf(field[2], kFieldSize, "%ld.%02ld", cents / 100, cents % 100);
        length[3] = std::snprintf(field[3], kFieldSize, "%04ld-%02ld-%02ld %02ld:%02ld:%02ld", 1990 + i % 35,
                                  1 + (i / 35) % 12, 1 + (i / 420) % 28, i % 24, (i / 24) % 60, (i / 7) % 60);
        length[4] = std::snprintf(field[4], kFieldSize, "K%02ld", i % 100);
        length[5] = std::snprintf(field[5], kFieldSize, "note %ld for the benchmark", i * 31);
    }
};

const oci_text *text(const char *s)
{
    return reinterpret_cast<const oci_text *>(s);
}

std::string oracleError(Lda_Def *lda, int code)
{
    char buffer[512] = {};
    oerhms(lda, static_cast<oci_sb2>(code), reinterpret_cast<oci_text *>(buffer), sizeof buffer);
    return buffer;
}

void check(oci_sword result, Lda_Def *lda, const cda_def &area, const char *step)
{
    if (result != 0)
        fail(std::string(step) + ": " + oracleError(lda, area.rc));
}

void runStatement(Cda_Def *cda, Lda_Def *lda, const char *sql)
{
    check(oparse(cda, text(sql), -1, 0, 1), lda, *cda, sql);
    check(oexec(cda), lda, *cda, sql);
}

// The engine's part, in the child: the time for inserting and committing.
Timing insertThroughEngine(const std::string &folder, long rows)
{
    std::string message;
    if (int rc = kdb::admin::createUser(folder, "BENCH", "bench", &message))
        fail("create user: " + std::to_string(rc) + " " + message);
    Lda_Def lda{};
    hda_def hda{};
    Cda_Def cda{};
    check(olog(&lda, hda.data, text("BENCH"), -1, text("bench"), -1, text(folder.c_str()), -1, 0), &lda, lda, "olog");
    check(oopen(&cda, &lda, nullptr, -1, -1, nullptr, -1), &lda, cda, "oopen");
    runStatement(&cda, &lda,
                 "CREATE TABLE T (ID NUMBER(10), NAME VARCHAR2(20), AMOUNT NUMBER(10,2), D DATE, CODE CHAR(3), "
                 "NOTE VARCHAR2(40))");
    check(oparse(&cda,
                 text("INSERT INTO T (ID,NAME,AMOUNT,D,CODE,NOTE) VALUES "
                      "(:1,:2,:3,TO_DATE(:4,'YYYY-MM-DD HH24:MI:SS'),:5,:6)"),
                 -1, 0, 1),
          &lda, cda, "parse the INSERT");

    RowTexts row;
    Stopwatch stopwatch;
    for (long i = 0; i < rows; ++i) {
        row.fill(i);
        for (int c = 0; c < kColumns; ++c)
            check(obndrn(&cda, c + 1, reinterpret_cast<oci_ub1 *>(row.field[c]), row.length[c] + 1, OCI_EXT_STRING,
                         -1, nullptr, nullptr, 0, -1),
                  &lda, cda, "obndrn");
        check(oexec(&cda), &lda, cda, "oexec");
    }
    check(ocom(&lda), &lda, lda, "ocom");
    Timing timing = stopwatch.elapsed();

    char count[32] = {};
    check(oparse(&cda, text("SELECT COUNT(*) FROM T"), -1, 0, 1), &lda, cda, "count");
    check(odefin(&cda, 1, reinterpret_cast<oci_ub1 *>(count), sizeof count, OCI_EXT_STRING, -1, nullptr, nullptr, -1,
                 -1, nullptr, nullptr),
          &lda, cda, "count");
    check(oexec(&cda), &lda, cda, "count");
    check(ofetch(&cda), &lda, cda, "count");
    if (std::strtol(count, nullptr, 10) != rows)
        fail(std::string("the engine stored ") + count + " rows");
    oclose(&cda);
    ologof(&lda);
    return timing;
}

// The same rows through SQLite's API: the time for inserting and committing.
Timing insertThroughSqlite(const std::string &path, long rows)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        fail("cannot open " + path);
    sqliteExec(db, "PRAGMA journal_mode=WAL");
    sqliteExec(db, "PRAGMA synchronous=NORMAL");
    sqliteExec(db, "CREATE TABLE T (ID INTEGER, NAME TEXT, AMOUNT NUMERIC, D TEXT, CODE TEXT, NOTE TEXT)");
    sqlite3_stmt *insert = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO T (ID,NAME,AMOUNT,D,CODE,NOTE) VALUES (?1,?2,?3,?4,?5,?6)", -1, &insert,
                           nullptr) != SQLITE_OK)
        fail(sqlite3_errmsg(db));

    RowTexts row;
    Stopwatch stopwatch;
    sqliteExec(db, "BEGIN");
    for (long i = 0; i < rows; ++i) {
        row.fill(i);
        for (int c = 0; c < kColumns; ++c)
            sqlite3_bind_text(insert, c + 1, row.field[c], row.length[c], SQLITE_STATIC);
        if (sqlite3_step(insert) != SQLITE_DONE)
            fail(sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }
    sqliteExec(db, "COMMIT");
    Timing timing = stopwatch.elapsed();
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return timing;
}

long positiveArgument(const char *text)
{
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    return *end == '\0' && value > 0 ? value : -1;
}

} // namespace

int main(int argc, char **argv)
{
    long rows = argc > 1 ? positiveArgument(argv[1]) : 1000000;
    long rounds = argc > 2 ? positiveArgument(argv[2]) : 3;
    if (argc > 3 || rows < 0 || rounds < 0) {
        std::fprintf(stderr, "usage: bench_engine [ROWS [ROUNDS]]\n");
        return 2;
    }
    const std::string folder = makeTempFolder("bench-engine");
    std::printf("%ld rows, six columns, one transaction, best of %ld rounds, in %s\n", rows, rounds,
                folder.c_str());

    Timing engineBest, sqliteBest;
    long peakRssKib = 0;
    for (long round = 1; round <= rounds; ++round) {
        std::error_code ec;
        fs::remove_all(folder + "/engine", ec);
        fs::remove(folder + "/plain.db", ec);
        fs::remove(folder + "/plain.db-wal", ec);
        fs::remove(folder + "/plain.db-shm", ec);
        const std::string engineFolder = folder + "/engine";
        ChildRun<Timing> engine = runInChild([&] { return insertThroughEngine(engineFolder, rows); });
        Timing plain = insertThroughSqlite(folder + "/plain.db", rows);
        std::printf("round %ld: engine (obndrn x6 + oexec per row) %.2f s (CPU %.2f s), "
                    "SQLite (bind x6 + step + reset per row) %.2f s (CPU %.2f s)\n",
                    round, engine.result.wall, engine.result.cpu, plain.wall, plain.cpu);
        keepBest(engineBest, engine.result, round == 1);
        keepBest(sqliteBest, plain, round == 1);
        peakRssKib = std::max(peakRssKib, engine.peakRssKib);
    }
    std::printf("best: engine %.2f s (CPU %.2f s), SQLite %.2f s (CPU %.2f s), CPU ratio %.3f\n", engineBest.wall,
                engineBest.cpu, sqliteBest.wall, sqliteBest.cpu, sqliteBest.cpu / engineBest.cpu);
    std::error_code ec;
    fs::remove_all(folder, ec);

    double engineRate = rows / engineBest.wall;
    double sqliteRate = rows / sqliteBest.wall;
    std::printf("{\"rows\": %ld, \"engine_rows_per_s\": %.0f, \"sqlite_rows_per_s\": %.0f, \"ratio\": %.3f, "
                "\"engine_peak_rss_kib\": %ld}\n",
                rows, engineRate, sqliteRate, engineRate / sqliteRate, peakRssKib);
    return 0;
}
