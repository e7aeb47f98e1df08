#pragma once
// The main window: the session, the table and CSV fields, the preview grid,
// the options of a transfer, and the state that the transfer engine shares.
//
// Construction does the program's start-up work: it activates the session
// (loading the client library), reads the stored settings, asks for the logon
// and sets the caption and the enabled state of the session's controls.
#include "platform/FileDialog.h"

#include <QMainWindow>
#include <array>
#include <cstdio>
#include <string>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStatusBar;
class RadioGroup;
class StringGrid;
class TOCIctrl;
class TOCIcur;

class TfmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfmMain(QWidget *parent = nullptr);
    ~TfmMain() override;

    // True when the client library could not be activated: construction
    // stopped after telling the person, and the program is to end.
    bool startupAborted() const { return m_startupAborted; }

    // --- Controls -------------------------------------------------------------
    QFrame *Panel1;
    RadioGroup *rgMode; // item 0 Import, item 1 Export
    QLabel *lbTable;
    QLineEdit *edTable;
    QPushButton *pbTable;
    QPushButton *pbCount;
    QLabel *lbCSV;
    QLineEdit *edCSV;
    QPushButton *pbCSV;
    QPushButton *pbJobList;
    QPushButton *pbJobAdd;
    QPushButton *pbConnect;
    QLabel *lbSep;
    QLineEdit *edSep;
    QLabel *lbDelim;
    QLineEdit *edDelim;
    StringGrid *sgData;
    QFrame *Panel2;
    QPushButton *pbExecute;
    QCheckBox *cbTime;
    QCheckBox *cbHead;
    QCheckBox *cbBreak;
    QCheckBox *cbTruncate;
    QCheckBox *cbAutoCmt;
    QSpinBox *udCmt;
    QPushButton *pbEnd;
    QStatusBar *sbMsg;
    std::array<QLabel *, 5> sbPanels; // "Success", done, "Error", errors, preview kind
    platform::FileDialogRequest dlgOpen;
    platform::FileDialogRequest dlgSave;
    TOCIctrl *OCI;
    TOCIcur *OCIcur;

    // --- State shared with the transfer engine --------------------------------
    bool tableReady = false;    // the grid holds the columns of edTable's table
    bool csvReady = false;      // the grid holds the first lines of edCSV's file
    int tableColumnCount = 0;   // columns of the previewed table
    int csvColumnCount = 0;     // most fields among the previewed CSV lines
    std::FILE *errFile = nullptr; // error records of the running import
    std::FILE *ermFile = nullptr; // error messages of the running import
    bool cancelRequested = false; // ESC was pressed; cleared when a run starts
    char sepChar = ',';         // field separator in force
    char quoteChar = '"';       // quote character in force; 0 means none
    QString lastTable;          // edTable's text when it got focus or was previewed
    QString lastCsv;            // edCSV's text when it got focus or was previewed
    std::string lineBuffer;     // reused by the CSV reader for every line
    bool busy = false;          // an import, export or table-data preview runs

    // --- Operations -----------------------------------------------------------
    // Reads the store into the window (read true) or writes the window into
    // it, for the groups in `mask`: 1 the login values, 2 the options.
    void RegSettings(bool read, int mask);
    // Enables the six controls that need a session, or disables and greys them.
    void SetSessionControls(bool enabled);
    // Empties the grid's data rows and the preview label; keeps the headers.
    void ClearPreview();
    void setStatusText(int panel, const QString &text);
    QString statusText(int panel) const;

    // --- Run control (TfmMain_run.cpp) -----------------------------------------
    // Execute. From the button (`sender` set), a job list with jobs is run as
    // a batch if the person agrees, else the fields' table and file once;
    // without a sender (the job list window's request) only the selected jobs
    // run, without a question. Refused while a run is busy.
    void pbExecuteClick(QObject *sender);
    // One import (mode 0) or export (mode 1) of `table` and the file `csv`, a
    // bare file name standing for one in the program's folder: the checks and
    // questions, the transfer and its outcome. The transfer's result, or 1
    // when a check failed or a question was answered No; `message` is the
    // outcome for the person (a batch job's STATUS).
    int RunTransfer(const QString &table, const QString &csv, bool batch, int mode, QString &message);
    // The checks before a run, in order, and the confirmation; true means go.
    // A failed check leaves its text in `message`. In batch mode nothing is
    // shown, no focus moves and every question counts as answered Yes.
    bool ConfirmTransfer(const QString &table, const QString &csv, bool batch, int mode, QString &message);

    // --- Handlers ---------------------------------------------------------------
    void rgModeClick();
    void cbAutoCmtClick();
    // Sees every key of the window before its controls; ESC asks a running
    // transfer to stop. The key goes on to the control. The job list window
    // forwards its ESC here too.
    void FormKeyPress(char &key);
    // Saves the options and ends the session; never refuses.
    void FormCloseQuery(bool &canClose);
    void pbEndClick();

    // --- Job list (TfmMain_jobs.cpp) --------------------------------------------
    // Shows the job list window, or brings it to the front.
    void pbJobListClick();
    // Adds the table and CSV file of the fields to the job list, once a table.
    void pbJobAddClick();
    // Runs the job list as one batch; only its selected jobs when
    // `selectedOnly`, as the job list window asks.
    void RunBatch(bool selectedOnly);

    // --- Table and CSV fields, browsing, the grid (TfmMain_fields.cpp) -----------
    // While a transfer runs (busy) the grid is its mapping: these leave it
    // alone, and the previews they call refuse.
    void edTableChange();
    void edTableEnter();
    void edTableExit();
    void edTableKeyPress(char &key);
    void edCSVChange();
    void edCSVEnter();
    void edCSVExit();
    void edCSVKeyPress(char &key);
    void edSepKeyPress(char &key);
    void edDelimKeyPress(char &key);
    void pbTableClick();
    void pbCSVClick();
    // The chosen file's folder becomes both dialogs' initial folder.
    void dlgOpenCanClose(const QString &path, bool &canClose);
    void dlgSaveCanClose(const QString &path, bool &canClose);
    // A dragged column moved with its name, type and data; the selection is
    // spread again over columns 1 to the last.
    void sgDataColumnMoved(int from, int to);

    // --- Count and ReConnect (TfmMain_commands.cpp) ------------------------------
    void pbCountClick();
    void pbConnectClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createTopPanel();
    void createBottomPanel();
    void createGrid();
    void createStatusBar();
    void setTabOrders();
    void nameControls();
    void initState();
    void showSessionCaption(bool loggedOn);

    // Wires the field, browse, grid, Count and ReConnect handlers.
    void connectFieldHandlers();
    void previewTableField();
    void previewCsvField();

    bool m_startupAborted = false;
};
