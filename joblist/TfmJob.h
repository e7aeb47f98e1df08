#pragma once
// The job list window: a modeless window that shows, edits and runs the job
// list. Created once at start, hidden when closed; the jobs live as long as
// the window.
#include "joblist/ListFileDialogs.h"
#include "platform/FileDialog.h"

#include <QWidget>
#include <string>

class JobList;
class JobListView;
class QAction;
class QFrame;
class QMenu;
class QPushButton;
class TFolderDialog;

class TfmJob : public QWidget {
    Q_OBJECT
public:
    explicit TfmJob(QWidget *parent = nullptr);

    // --- Controls -------------------------------------------------------------
    QFrame *Panel2;      // top: Load, Save, Execute
    QPushButton *pbLoad;
    QPushButton *pbSave;
    QPushButton *pbExec;
    JobListView *lvJob;
    QFrame *Panel1;      // bottom: Delete, up, down, Close
    QPushButton *pbDel;
    QPushButton *pbUp;
    QPushButton *pbDown;
    QPushButton *pbClose;
    QMenu *pn;           // popup menu of lvJob
    QAction *mnSet;      // Ctrl+S while the list has the focus
    QAction *mnFile;     // Ctrl+F while the list has the focus
    platform::FileDialogRequest dlgFileSel; // another CSV file for one job
    TFolderDialog *dlgFolderSel;            // another folder for several jobs

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

    // --- Handlers ---------------------------------------------------------------
    // Sees every key of the window before its controls; ESC is the main
    // window's cancel request, wherever it is pressed. The key goes on.
    void FormKeyPress(char &key);
    // Delete and Execute follow the selection, and Execute needs a session.
    // Recomputed only at a click in the list and after the list's commands,
    // not at each change of the selection.
    void lvJobClick();
    void lvJobSelectItem();
    // Opens the error files of the first selected job.
    void lvJobDblClick();
    // Alt+Up and Alt+Down move the selected block, Ctrl+A selects every
    // job; true when the key was used up.
    bool lvJobKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void pbDelClick();
    void pbUpClick();
    void pbDownClick();
    // Runs the selected jobs, without asking first.
    void pbExecClick();
    void pbCloseClick();
    // "File" for one selected job, "Folder" for several.
    void pnPopup();
    // Puts the first selected job's table and CSV file into the main window's
    // fields and previews both, as Enter in each field would.
    void mnSetClick();
    // Another CSV file for the one selected job, or another folder for the
    // CSV files of the selected jobs.
    void mnFileClick();
    // Up and down are enabled only for an unbroken block that has a row
    // beyond it on that side.
    void UpdateMoveButtons();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createTopPanel();
    void createBottomPanel();
    void createPopup();
    void setTabOrders();
    void nameControls();
    void chooseFile(int row);
    void chooseFolder(int firstRow);
};
