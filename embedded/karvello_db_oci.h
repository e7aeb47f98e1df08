#pragma once
// karvello-db's view of the call interface: a logon and a cursor as small
// C++ objects. The command goes through the same 20 calls as the program, so
// whatever it shows is what the program would see. Every function returns 0
// or the Oracle error number that the call left in its area.
#include "oracle/oci7.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kdbtool {

// The error number of a call's outcome: 0 on success, else the code in the
// area, or -1 for a failure that came without one.
int callOutcome(oci_sword result, const cda_def &area);

class Session {
public:
    Session() = default;
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    int logon(const std::string &user, const std::string &password, const std::string &connect);
    int commit();
    int rollback();
    // Logs off; the interface commits what is still open.
    int logoff();
    bool isLoggedOn() const { return m_loggedOn; }

    // "ORA-nnnnn: text" for an error number, through oerhms.
    std::string errorText(int code);

    Lda_Def *lda() { return &m_lda; }

private:
    Lda_Def m_lda{};
    hda_def m_hda{};
    bool m_loggedOn = false;
};

struct ColumnInfo {
    std::string name;  // select-list name as described
    int type = 0;      // internal type code (OCI_TYPE_*)
    int size = 0;      // describe size in bytes
    int precision = 0; // NUMBER precision, 0 when unconstrained
    int scale = 0;     // NUMBER scale
};

// One value of a fetched row; nullopt is NULL.
using Value = std::optional<std::string>;

class Cursor {
public:
    explicit Cursor(Session &session) : m_session(session) {}
    ~Cursor();
    Cursor(const Cursor &) = delete;
    Cursor &operator=(const Cursor &) = delete;

    int open();
    int parse(std::string_view sql);
    // Binds text to placeholder ":position"; the text must stay alive and
    // unchanged until execute().
    int bindText(int position, const std::string &text);
    int execute();

    int functionType() const { return m_cda.ft; }
    unsigned rowsProcessed() const { return m_cda.rpc; }

    // Describes the parsed query's select list and defines a text buffer for
    // each item, large enough for any value the describe allows.
    int describeAndDefine(std::vector<ColumnInfo> &columns);
    // 0 with the next row, 1403 after the last one, or an error. A value cut
    // to its buffer sets *truncated.
    int fetch(std::vector<Value> &row, bool *truncated = nullptr);

private:
    int describe(std::vector<ColumnInfo> &columns);
    int defineAll(const std::vector<ColumnInfo> &columns);

    Session &m_session;
    Cda_Def m_cda{};
    bool m_open = false;
    std::vector<std::vector<oci_ub1>> m_buffers;
    std::vector<oci_sb2> m_indicators;
};

} // namespace kdbtool
