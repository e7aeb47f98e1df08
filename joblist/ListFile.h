#pragma once
// The list file (".lst"): the job list saved as text, bytes in and bytes out.
//
// Line 1 holds the main window's mode as a decimal digit, "0" Import or
// "1" Export. Every further line is one job: its TABLE, a TAB and its CSV.
// Lines end with CR LF; results and selection marks are not saved.
//
// Reading keeps the rules that list files in circulation were written for:
//  - the mode is taken from the first byte of line 1 when it is "0" or "1";
//    the rest of that line is ignored, whatever it holds;
//  - job lines are taken in pieces of at most kListPieceSize bytes; a longer
//    line becomes several pieces, each read as a job line of its own;
//  - a piece counts only when a LF ends it or it fills the piece size: text
//    after the last line end is an unfinished line and is dropped;
//  - the line end (LF or CR LF) is removed; TABLE is field 0 and CSV field 1
//    of the line split at TABs; a line whose TABLE is empty is skipped.
#include "joblist/Job.h"

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

// The most bytes of a line taken at a time.
inline constexpr size_t kListPieceSize = 9998;

// Field `n` (from 0) of `text` split at `separator`; empty when `text` has
// fewer fields. An empty text has one field, the empty one.
std::string GetField(std::string_view text, char separator, int n);

// What a list file holds.
struct ListFileContents {
    std::optional<int> mode; // 0 or 1; none when line 1 does not begin with either
    std::vector<Job> jobs;   // TABLE and CSV only
};

// Reads a list file from `device`, which is open for reading. Nothing when a
// read fails before the end (a half-read file is not passed off as whole) or
// when the bytes hold a NUL, which no text file does.
std::optional<ListFileContents> readListFile(QIODevice &device);
// Opens and reads the file at `path`; nothing when it cannot be opened or
// read, or is no regular file.
std::optional<ListFileContents> readListFile(const QString &path);

// The first job whose line would not read back as the same job (an empty
// TABLE, a TAB, LF or NUL in TABLE or CSV, a line longer than a piece); -1 when
// every job can be written.
int firstUnwritableJob(const std::vector<Job> &jobs);

// Writes the mode line and one line per job to `device`. False when a write
// failed. Jobs are written as they are; check firstUnwritableJob first.
bool writeListFile(QIODevice &device, int mode, const std::vector<Job> &jobs);
// Writes the file at `path` as a whole or not at all: on failure an existing
// file keeps its old contents. False when the file could not be written.
bool saveListFile(const QString &path, int mode, const std::vector<Job> &jobs);
