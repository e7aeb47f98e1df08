// The cursor component's insert path and its execution of statements that
// return no rows.
#include "oracle/LocaleText.h"
#include "oracle/SelectList.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"
#include "platform/WaitCursor.h"

#include <algorithm>

namespace {
const char *const kNoTable = "INSERTするテーブルが指定されていません。";
const char *const kNoColumns = "INSERTする列が指定されていません。";
const char *const kUnknownColumn = "項目がテーブルに存在しません。";
} // namespace

bool TOCIcur::Insert(const std::string &table, const std::vector<std::string> &columns)
{
    TOCIctrl *ctrl = boundSession();
    if (!ctrl)
        return false;
    platform::WaitCursor wait;
    return reopen(*ctrl) && GoInsert(*ctrl, table, columns);
}

bool TOCIcur::GoInsert(TOCIctrl &ctrl, const std::string &table, const std::vector<std::string> &columns)
{
    if (!ctrl.connected())
        return failNotConnected();
    if (table.empty()) {
        LastError = QString::fromUtf8(kNoTable);
        return false;
    }
    if (columns.empty()) {
        LastError = QString::fromUtf8(kNoColumns);
        return false;
    }
    // Parsed only, never run: its select list describes the table's columns.
    if (!ctrl.Parse(m_cda, "select * from " + table))
        return failWithReport(ctrl);
    const std::vector<DescribedColumn> described = describeSelectList(ctrl, m_cda);
    std::vector<std::string> tableColumns;
    tableColumns.reserve(described.size());
    for (const DescribedColumn &d : described)
        tableColumns.push_back(upperLocal8Bit(describedName(d.column)));

    std::string columnText;
    std::string valueText;
    for (size_t i = 0; i < columns.size(); ++i) {
        const auto match = std::find(tableColumns.begin(), tableColumns.end(), upperLocal8Bit(columns[i]));
        if (match == tableColumns.end()) {
            LastError = QString::fromUtf8(kUnknownColumn);
            return false;
        }
        if (!columnText.empty()) {
            columnText += ',';
            valueText += ',';
        }
        columnText += columns[i];
        const std::string placeholder = ":" + std::to_string(i + 1);
        if (described[size_t(match - tableColumns.begin())].column.DbType == OCI_TYPE_DATE)
            valueText += "TO_DATE(" + placeholder + ", 'yyyy-mm-dd hh24:mi:ss')";
        else
            valueText += placeholder;
    }
    const std::string statement = "INSERT INTO " + table + "(" + columnText + ")VALUES(" + valueText + ")";
    m_row.resize(m_row.size() + columns.size());
    if (!ctrl.Parse(m_cda, statement))
        return failWithReport(ctrl);
    return true;
}

bool TOCIcur::InsertData(std::vector<std::string> &values)
{
    TOCIctrl *ctrl = boundSession();
    if (!ctrl)
        return false;
    if (!ctrl->connected())
        return failNotConnected();
    if (values.size() < m_row.size())
        values.resize(m_row.size());
    if (!ctrl->Bind(m_cda, values, int(m_row.size())) || !ctrl->Exec(m_cda))
        return failWithReport(*ctrl);
    return true;
}

bool TOCIcur::ExecuteSQL(const std::string &statement)
{
    TOCIctrl *ctrl = boundSession();
    if (!ctrl)
        return false;
    platform::WaitCursor wait;
    if (!reopen(*ctrl))
        return false;
    const bool result = GoExecuteSQL(*ctrl, statement);
    // Closed whatever happened; a failure to close only replaces the text.
    CleanUP();
    return result;
}

bool TOCIcur::GoExecuteSQL(TOCIctrl &ctrl, const std::string &statement)
{
    if (!ctrl.connected())
        return failNotConnected();
    if (!ctrl.Parse(m_cda, statement) || !ctrl.Exec(m_cda))
        return failWithReport(ctrl);
    return true;
}
