#pragma once
// The cursor component: one cursor area on the session it is bound to, which
// runs one statement at a time.
// Bound through OCIParent to a session of the same owner; the session closes
// it (CleanUP) before it logs off.
//
// A query:
//
//   cursor->SQL = "select ENAME, SAL from EMP";
//   if (!cursor->Execute()) { /* show cursor->LastError */ }
//   // Row() holds the column names now...
//   while (cursor->Fetch()) { /* ...and each row's values as texts now */ }
//   if (!cursor->atEndOfRows()) { /* the fetch failed: cursor->LastError */ }
//
// An insert, prepared once and run for every row:
//
//   cursor->Insert("EMP", {"EMPNO", "ENAME"});
//   std::vector<std::string> values = ...;   // reused from row to row
//   if (!cursor->InsertData(values)) { /* the row was refused: LastError */ }
//
// Texts are bytes in the user's code page, never converted; LastError is for
// a person and so a QString.
#include "oracle/TOCIData.h"
#include "oracle/oci7.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <string>
#include <vector>

class TOCIctrl;
struct DescribedColumn;

class TOCIcur : public QObject {
    Q_OBJECT
public:
    // `owner` owns the cursor (and is the QObject parent).
    explicit TOCIcur(QObject *owner);
    ~TOCIcur() override;

    // The session the cursor is bound to, or null. Binding succeeds only for a
    // TOCIctrl of the same owner; anything else leaves the cursor unbound.
    QObject *OCIParent();
    void setOCIParent(QObject *component);

    std::string SQL;   // the statement Execute runs; a trailing ";" is dropped from it
    QString LastError; // text of the last failure of this cursor

    // --- Query --------------------------------------------------------------
    // Closes whatever ran before, then parses, describes and executes SQL as a
    // query. Row() then holds the column names.
    bool Execute();
    // The next row's values into Row(); false when there is none, or on a
    // failure, after which every value of Row() is empty.
    bool Fetch();
    // Whether the last Fetch returned false because the rows had ended. False
    // after a row came and after a fetch that failed, whose reason is then in
    // LastError: an export must not take a failure for the end of its table.
    bool atEndOfRows() const { return m_endOfRows; }
    // Closes the cursor area if it is open and forgets the last statement.
    bool CleanUP();

    // After Execute the select list's names (trimmed of blanks); after each
    // Fetch that row's values, a NULL as empty text; after Insert one empty
    // entry per insert column.
    const std::vector<std::string> &Row() const { return m_row; }
    // The attributes of the last query's select-list columns.
    const TOCIData &Columns() const { return m_columns; }

    // --- Insert and other statements -----------------------------------------
    // Prepares "INSERT INTO table(columns)VALUES(:1,...)" with the placeholders
    // in the order of `columns`; a DATE column's placeholder is read through
    // TO_DATE(:n, 'yyyy-mm-dd hh24:mi:ss'). Each name must be a column of the
    // table, compared without regard to case.
    bool Insert(const std::string &table, const std::vector<std::string> &columns);
    // Runs the prepared INSERT once with `values` bound as texts, one per
    // insert column: missing values are appended to the caller's list as
    // empty texts, extra ones are ignored. The texts are bound where they lie,
    // without a copy. A refused row leaves the INSERT prepared for the next.
    bool InsertData(std::vector<std::string> &values);
    // Runs one statement that returns no rows, sent as it stands, and closes
    // the cursor again (a prepared INSERT is gone afterwards).
    bool ExecuteSQL(const std::string &statement);

    bool isOpened() const { return m_opened; }
    // How many columns the last query defined.
    int BufferCount() const { return int(m_defines.size()); }
    // Bytes of the define buffer of column `index` of the last query.
    int bufferSize(int index) const { return m_defines[size_t(index)].size; }

private:
    // One column's define buffer: a stretch of m_defineArea.
    struct Define {
        size_t offset = 0;
        int size = 0;
    };

    TOCIctrl *session();
    // The bound session, or null with LastError saying that there is none.
    TOCIctrl *boundSession();
    // CleanUP, then a freshly opened cursor area; false with LastError.
    bool reopen(TOCIctrl &ctrl);
    // Stores the library's text for the last failure on the cursor area.
    bool failWithReport(TOCIctrl &ctrl);
    bool failNotConnected();

    bool GoExecute(TOCIctrl &ctrl);
    bool defineColumns(TOCIctrl &ctrl, const std::vector<DescribedColumn> &list);
    void emptyRowValues();
    bool GoInsert(TOCIctrl &ctrl, const std::string &table, const std::vector<std::string> &columns);
    bool GoExecuteSQL(TOCIctrl &ctrl, const std::string &statement);

    QPointer<QObject> m_ociParent;
    bool m_opened = false;
    bool m_endOfRows = false;
    cda_def m_cda{};
    std::vector<std::string> m_row;
    TOCIData m_columns;
    std::vector<Define> m_defines;  // one per select-list column, in order
    std::vector<char> m_defineArea; // every define buffer, back to back
};
