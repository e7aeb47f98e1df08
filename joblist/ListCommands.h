#pragma once
// The job list window's Save and Load commands, apart from the window: the
// dialog, the file, and the warning when the file fails. The window refreshes
// its buttons afterwards.
#include <functional>

class JobList;
class ListFileDialogs;
class QWidget;

// Saves every job of `list`, selected or not, and `mode` to a file chosen in
// the save dialog. A job that the file cannot hold gets a warning owned by
// `owner` before the dialog shows; a file that cannot be written gets one
// after. Nothing is written then, and an existing file keeps its contents.
// True when the file was written.
bool SaveJobList(QWidget *owner, ListFileDialogs &dialogs, const JobList &list, int mode);

// Replaces the jobs of `list` with those of a file chosen in the open dialog
// and hands the file's mode to `setMode` when the file names one. A file that
// cannot be read gets a warning owned by `owner`, and the list and the mode
// stay as they were. True when the file was loaded.
bool LoadJobList(QWidget *owner, ListFileDialogs &dialogs, JobList &list,
                 const std::function<void(int mode)> &setMode);
