// The program's import and export of a CSV file, whole, against what a user
// would pick instead, side by side in one run on the same file:
//   - the program: its main window offscreen, logged on to the embedded
//     engine, the table and file previewed, ESC checking on, the run
//     control's import with every box answered Yes, then the export of the
//     same table to a file; in a child process per round, so that its peak
//     memory belongs to one size;
//   - the sqlite3 command's .import of the file and its CSV output of the
//     table;
//   - a plain loop over SQLite's API (the limit for an engine on SQLite).
// Each side keeps its best of a few rounds, taken in turns so that other
// work on a shared machine weighs on all alike.
// Usage: bench_product [--rounds N] [ROWS...]   (default: 3 rounds of 100000
// and 1000000 lines). Rounds go to standard error; standard output gets one
// JSON object per size, smallest first.
#include "CsvFile.h"
#include "ProductRun.h"
#include "SqlitePeers.h"
#include "bench/common/Measure.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

using namespace bench;

struct Best {
    Timing import, exported, sqliteImport, sqliteExport, limit;
    long peakRssKib = 0;
    double escResponseMs = 0; // the slowest of every round
};

Best measureSize(const std::string &folder, long rows, long rounds)
{
    const std::string csv = folder + "/rows.csv";
    writeCsvFile(csv, rows);
    Best best;
    for (long round = 1; round <= rounds; ++round) {
        const std::string productFolder = folder + "/product";
        std::error_code ec;
        std::filesystem::remove_all(productFolder, ec);
        std::filesystem::create_directories(productFolder);
        ChildRun<ProductTimings> product =
            runInChild([&] { return runProduct(productFolder, csv, productFolder + "/export.csv", rows); });
        std::filesystem::remove_all(productFolder, ec);

        Timing sqliteImport = sqliteCommandImport(folder + "/cli.db", csv, rows);
        Timing sqliteExport = sqliteCommandExport(folder + "/cli.db", folder + "/cli-export.csv");
        Timing limit = sqliteApiImport(folder + "/api.db", csv, rows);
        // The next round's program starts from a fresh process image, as the
        // program does, not from SQLite as these peers left it.
        sqlite3_shutdown();
        std::fprintf(stderr,
                     "%ld rows, round %ld: import %.2f s (CPU %.2f), export %.2f s (CPU %.2f), peak RSS %ld KiB, "
                     "ESC answered within %.1f ms; "
                     "sqlite3 .import %.2f s (CPU %.2f), sqlite3 CSV output %.2f s (CPU %.2f); "
                     "SQLite API loop %.2f s (CPU %.2f)\n",
                     rows, round, product.result.import.wall, product.result.import.cpu,
                     product.result.exported.wall, product.result.exported.cpu, product.peakRssKib,
                     product.result.escResponseMs,
                     sqliteImport.wall, sqliteImport.cpu, sqliteExport.wall, sqliteExport.cpu, limit.wall, limit.cpu);
        const bool first = round == 1;
        keepBest(best.import, product.result.import, first);
        keepBest(best.exported, product.result.exported, first);
        keepBest(best.sqliteImport, sqliteImport, first);
        keepBest(best.sqliteExport, sqliteExport, first);
        keepBest(best.limit, limit, first);
        best.peakRssKib = std::max(best.peakRssKib, product.peakRssKib);
        best.escResponseMs = std::max(best.escResponseMs, product.result.escResponseMs);
    }
    return best;
}

void printJson(long rows, const Best &best)
{
    const double import = rows / best.import.wall;
    const double exported = rows / best.exported.wall;
    const double sqliteImport = rows / best.sqliteImport.wall;
    const double sqliteExport = rows / best.sqliteExport.wall;
    const double limit = rows / best.limit.wall;
    std::printf("{\"rows\": %ld, \"import_rows_per_s\": %.0f, \"export_rows_per_s\": %.0f, "
                "\"sqlite_import_rows_per_s\": %.0f, \"sqlite_export_rows_per_s\": %.0f, "
                "\"cpp_limit_rows_per_s\": %.0f, \"import_ratio_vs_sqlite\": %.3f, "
                "\"export_ratio_vs_sqlite\": %.3f, \"import_ratio_vs_limit\": %.3f, \"peak_rss_kib\": %ld, "
                "\"esc_response_ms\": %.1f}\n",
                rows, import, exported, sqliteImport, sqliteExport, limit, import / sqliteImport,
                exported / sqliteExport, import / limit, best.peakRssKib, best.escResponseMs);
    std::fprintf(stderr,
                 "%ld rows, best: import %.2f s (CPU %.2f), export %.2f s (CPU %.2f), sqlite3 .import %.2f s "
                 "(CPU %.2f), sqlite3 CSV output %.2f s (CPU %.2f), SQLite API loop %.2f s (CPU %.2f)\n",
                 rows, best.import.wall, best.import.cpu, best.exported.wall, best.exported.cpu,
                 best.sqliteImport.wall, best.sqliteImport.cpu, best.sqliteExport.wall, best.sqliteExport.cpu,
                 best.limit.wall, best.limit.cpu);
    std::fflush(stdout);
}

long positiveArgument(const char *text)
{
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && value > 0 ? value : -1;
}

} // namespace

int main(int argc, char **argv)
{
    long rounds = 3;
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = positiveArgument(argv[++i]);
        else
            sizes.push_back(positiveArgument(argv[i]));
    }
    if (sizes.empty())
        sizes = {100000, 1000000};
    if (rounds < 0 || std::count(sizes.begin(), sizes.end(), -1) > 0) {
        std::fprintf(stderr, "usage: bench_product [--rounds N] [ROWS...]\n");
        return 2;
    }
    std::sort(sizes.begin(), sizes.end());

    const std::string folder = makeTempFolder("bench-product");
    for (long rows : sizes)
        printJson(rows, measureSize(folder, rows, rounds));
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
