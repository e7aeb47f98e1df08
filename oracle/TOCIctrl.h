#pragma once
// The session controller: one logon to a database through the version 7 call
// interface of a client library that it loads at run time.
//
// Every operation answers true or false and leaves the reason in LastError;
// nothing here shows a box. Only SetActive and SetAutoCommit throw (OciError).
// The cursor components it serves are the TOCIcur children of its owner.
#include "oracle/Describe.h"
#include "oracle/OciEntryPoints.h"
#include "oracle/oci7.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>
#include <vector>

class TfmLogin;

// What SetActive and SetAutoCommit throw. what() holds the text in UTF-8.
class OciError : public std::runtime_error {
public:
    explicit OciError(const QString &text);
    QString text() const { return QString::fromUtf8(what()); }
};

class TOCIctrl : public QObject {
    Q_OBJECT
public:
    // `owner` owns the session (and is the QObject parent); the session finds
    // its cursors among the owner's children.
    explicit TOCIctrl(QObject *owner);
    ~TOCIctrl() override;

    // --- The binding to the client library --------------------------------
    // Library files tried in order by activation: a bare name goes through the
    // system's search path, a path is opened as it stands.
    QStringList libraryNames() const { return m_libraryNames; }
    void setLibraryNames(const QStringList &names) { m_libraryNames = names; }
    // The list every new session starts with: an installed client first, then
    // the embedded engine in the program's folder. Tests replace it before the
    // main window creates its session.
    static QStringList defaultLibraryNames();
    static void setDefaultLibraryNames(const QStringList &names);
    static void resetDefaultLibraryNames();

    // Loads the library and takes its 20 entries (true), or releases it,
    // logging off first (false). Throws OciError and leaves the session as it
    // was on failure. Does nothing when already in the asked state.
    void SetActive(bool value);
    // SetActive(true/false) with the error swallowed: false on failure.
    bool Active();
    bool UnActive();
    bool isActivated() const { return m_activated; }

    // --- Session ------------------------------------------------------------
    QString UserID;   // user name for the next logon
    QString Password; // password for the next logon; never stored anywhere
    QString ConnStr;  // connect string (database alias) for the next logon
    QString LastError; // text of the last failure of this session

    bool connected() const { return m_connected; }
    bool autoCommit() const { return m_autoCommit; }

    // Asks for the logon values in the login dialog and logs on with them.
    bool Login();
    // Logs on with UserID, Password and ConnStr (off first when connected).
    bool Connect();
    // Closes the owner's cursors and logs off; true when not connected.
    bool DisConnect();
    // Closes the cursors of every cursor component of the owner.
    bool CleanUP();
    bool Commit();
    bool Rollback();
    // Switches auto-commit; ignored while not connected. Throws OciError when
    // the library refuses.
    void SetAutoCommit(bool value);
    // Builds the error text for the last failing call on `area`, stores it in
    // LastError and returns it.
    QString err_report(const cda_def &area);

    // The login dialog while Login shows it, null otherwise.
    TfmLogin *loginForm() const { return m_loginForm; }

    // --- Cursor primitives ----------------------------------------------------
    // Thin calls on a cursor area the caller owns; false at once when not
    // connected. None stores a text: the caller asks err_report(area) for the
    // reason. Positions count from 0 here and from 1 in the library.
    bool OpenCur(cda_def &area);
    bool CloseCur(cda_def &area);
    bool Parse(cda_def &area, const std::string &sql);
    // Describes select-list position `index` into `column`, whose NameLen the
    // caller sets to the capacity of Name; the name comes back NUL-terminated
    // and cut to that capacity, whatever length the library claims. False
    // with return code 1007 past the last column.
    bool Descr(cda_def &area, int index, describe &column);
    // Defines `buffer`, of defineBufferSize(column) bytes, as the output of
    // position `index`: after each fetch it holds the value as NUL-terminated
    // text (a NULL value leaves it untouched).
    bool Defin(cda_def &area, int index, char *buffer, const describe &column);
    bool Exec(cda_def &area);
    // False with return code 1403 at the end of the rows, 1405 for a row that
    // came with a NULL value.
    bool SelFetch(cda_def &area);
    // Binds values[0..count) to :1..:count as NUL-terminated texts. The
    // library keeps their addresses and reads them at Exec, so the texts must
    // stay put until then. Stops at the first refusal.
    bool Bind(cda_def &area, std::vector<std::string> &values, int count);
    // True when `component` is this session's owner: a cursor of the same
    // owner may bind to it.
    bool CtrlBind(const QObject *component) const;
    // Sets types[i] to the dictionary's data type of the column named
    // columns[i] in `table`; entries the dictionary does not name keep their
    // text. `area` must be open; it is left parsed with the dictionary query.
    // False (with LastError) when the lists differ in length or the query
    // cannot run.
    bool ChkColType(const std::string &table, const std::vector<std::string> &columns,
                    std::vector<std::string> &types, cda_def &area);

private:
    void activate();
    void deactivate();
    void unloadLibrary();
    bool libraryUnavailable();
    // Commits (ocom) or rolls back (orol); both take the logon area alone.
    bool endTransaction(oci_ocom_fn call);

    OciEntryPoints m_entries;
    QStringList m_libraryNames;
    bool m_activated = false;
    bool m_connected = false;
    bool m_autoCommit = false;
    TfmLogin *m_loginForm = nullptr;
    void *m_libHandle = nullptr;
    cda_def m_lda{};
    hda_def m_hda{};
};
