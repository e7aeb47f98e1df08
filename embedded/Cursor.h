#pragma once
// One cursor area's statement: parsed and translated once, executed with the
// current binds, fetched into the defined buffers.
#include "Binds.h"
#include "Compiler.h"
#include "InsertPlan.h"
#include "SqliteUtil.h"
#include "oracle/oci7.h"

#include <memory>
#include <string>
#include <vector>

namespace kdb {

class Session;

struct Define {
    oci_ub1 *buffer = nullptr;
    int length = 0;
    int type = OCI_EXT_STRING;
    oci_sb2 *indicator = nullptr;
    oci_ub2 *returnLength = nullptr;
    oci_ub2 *returnCode = nullptr;
    bool set = false;
};

struct Description {
    const OutputColumn *column;
};

class Cursor {
public:
    explicit Cursor(Session *session) : m_session(session) {}

    Session *session() const { return m_session; }

    // Each throws SqlError on failure.
    void parse(std::string_view text);
    void bind(std::string_view name, const BindValue &value);
    void bindNumber(int number, const BindValue &value);
    void define(int position, const Define &d);
    const OutputColumn &describe(int position) const;
    // Runs the statement; returns the rows processed.
    uint32_t execute();
    // One row into the defined buffers; returns 0, 1405 or 1406 for a row
    // that came, throws 1403 at the end and 1002 after it.
    int fetch();
    uint32_t rowsProcessed() const { return m_rows; }
    int functionType() const { return m_functionType; }
    void cancel();

private:
    enum class State { Parsed, Executed, Finished };

    void reset();
    void checkBind(const BindValue &value) const;
    uint32_t executeWrite();
    void executeDefinition();
    void bindSqlParameters(bool copy);
    [[noreturn]] void throwWriteError(int rc, bool update);
    int writeColumn(size_t i, Define &d);

    Session *m_session;
    std::unique_ptr<sql::Statement> m_statement;
    sql::StatementKind m_kind = sql::StatementKind::Select;
    std::string m_text;
    StmtPtr m_stmt;
    SelectPlan m_select;
    InsertPlan m_insert;
    ObjectInfo m_target;
    std::vector<BindSlot> m_binds;
    std::vector<Define> m_defines;
    std::vector<std::string> m_scratch;
    State m_state = State::Parsed;
    bool m_parsed = false;
    uint32_t m_rows = 0;
    int m_functionType = 0;
};

} // namespace kdb
