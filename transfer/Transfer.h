#pragma once
// The import and the export: the two transfers the run control starts.
//
// Both work on the main window's state (the grid's column order is the
// mapping; sepChar, quoteChar, lineBuffer, cancelRequested, busy) and its
// cursor, and return a result code with one message for the person:
//   0 completed, 1 not run, failed or stopped, 2 cancelled by the person.
// In batch mode they ask nothing a job-list run cannot answer.
#include <QString>
#include <cstdint>
#include <string>

class TfmMain;

namespace transfer {
enum Result : int { Completed = 0, Failed = 1, Cancelled = 2 };
}

// Lines handed to the database by the last import, or rows fetched by the
// last export; lines stored or rows written; lines rejected (0 after an
// export). 64 bits, so no file is too long to count. Reset by each transfer.
extern int64_t recordCount;
extern int64_t successCount;
extern int64_t errorCount;

// Imports the CSV file `csvPath` into `table` (bytes, as typed), copying the
// rejected lines to `errPath` and the database's reasons to `ermPath`.
int ImportData(TfmMain &main, const std::string &table, const QString &csvPath,
               const QString &errPath, const QString &ermPath, QString &message,
               bool batch);

// Exports every row of `table` into the CSV file `csvPath`.
int ExportData(TfmMain &main, const std::string &table, const QString &csvPath,
               QString &message, bool batch);
