#pragma once
// The job list window: a modeless window that shows, edits and runs the job
// list. Created once at start, hidden when closed; the jobs live as long as
// the window.
#include "joblist/ListFileDialogs.h"

#include <QWidget>
#include <string>

class JobList;

class TfmJob : public QWidget {
    Q_OBJECT
public:
    explicit TfmJob(QWidget *parent = nullptr);

    // The jobs the window shows; the run control reads and writes them here.
    JobList *jobList;
    // The load and save dialogs of list files (dlgOpen, dlgSave).
    ListFileDialogs listDialogs;

    // Adds a job for `table` unless one is listed for it already; true when
    // added.
    bool AddJob(const std::string &table, const std::string &csv);
    // Saves the jobs and the main window's mode to a list file.
    void pbSaveClick();
    // Replaces the jobs with a list file's, and takes its mode into the main
    // window.
    void pbLoadClick();

protected:
    void showEvent(QShowEvent *event) override;
};
