#pragma once
// The two files an import writes beside its CSV file: the rejected lines
// (".err") and the database's reason for each (".erm").
#include <QStringList>

// The ".err" and then the ".erm" path of `csv`. A bare file name stands for a
// file in the program's own folder, where the run put the CSV file and its
// error files. None for an empty path.
QStringList errorFilePaths(const QString &csv);

// Opens each error file of `csv` that exists with the program associated
// with it, the ".err" file first. Files that cannot be shown are passed over
// silently.
void openErrorFiles(const QString &csv);
