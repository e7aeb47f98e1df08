#pragma once
// The table chooser: a modal dialog listing the names of the tables, or of
// the views, that the logged-on schema owns, so that the person can pick one
// for the main window's table field. Created once at start and only hidden
// between showings, so the kind chosen with the radio buttons lasts.
//
//   fmTable->TableName = current;          // preselected when listed
//   if (fmTable->run() == QDialog::Accepted)
//       if (auto name = fmTable->selectedName())
//           use(*name);
//
// The list is filled after the dialog is on the screen, one name at a time
// with pending input handled in between: ESC stops the filling and keeps the
// names that came; a change of kind or a close that arrives meanwhile waits
// for the filling to end.
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QListWidget;
class QPushButton;
class QRadioButton;

class TfmTable : public QDialog {
    Q_OBJECT
public:
    explicit TfmTable(QWidget *parent = nullptr);

    QRadioButton *rbTable;
    QRadioButton *rbView;
    QListWidget *lbTable;
    QPushButton *pbOk;
    QPushButton *pbCancel;

    // The name to select once the list is filled (exact, letter case
    // included). The main window sets it before each showing.
    QString TableName;
    // Set by ESC: the filling stops after the name it is adding.
    bool StopFill = false;

    // Shows the dialog modally and returns QDialog::Accepted or Rejected.
    // When a test has set execHook, the hook gets the dialog instead of a
    // person and returns the answer in place of exec().
    int run();
    static std::function<int(TfmTable &)> execHook;

    // The selected entry's name as the database returned it, if one is
    // selected.
    std::optional<QByteArray> selectedName() const;

    // Empties the list and fills it with the names of ObjKind's kind, then
    // selects TableName. Runs from the queue after every showing and change
    // of kind; a request that comes while a filling runs waits for it.
    void RefillList();

    void rbTableClick();
    void rbViewClick();
    void lbTableDblClick();
    // Sees every key of the dialog before its controls: ESC stops a filling.
    void FormKeyPress(char &key);

    // A close (OK, Cancel, double-click, the close box) while the list is
    // being filled takes effect once the filling has ended.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void postRefill();
    void fill();
    void selectTableName();

    bool m_filling = false;
    bool m_refillPending = false;
    std::optional<int> m_pendingResult;
};
