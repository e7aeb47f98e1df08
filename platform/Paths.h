#pragma once
// Path helpers over QStrings. On Linux "/" is the only separator.
#include <QString>

namespace platform {

// Everything up to and including the last "/"; empty when there is none.
QString folderPart(const QString &path);
// Everything after the last "/".
QString fileNamePart(const QString &path);
// Replaces the extension of the file-name part (from its last "." on) with
// `ext` (".csv"); a name without a dot gets `ext` appended. A dot in a folder
// name is not an extension, nor are the leading dots of a hidden file's name
// (".profile" becomes ".profile.csv", ".data.txt" becomes ".data.csv"). A
// trailing dot is an empty extension ("data." becomes "data.csv").
QString changeExtension(const QString &path, const QString &ext);
// The folder that holds the running program, ending in "/".
QString programFolder();

} // namespace platform
