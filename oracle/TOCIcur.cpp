// The cursor component and its query path.
#include "oracle/TOCIcur.h"

#include "oracle/SelectList.h"
#include "oracle/TOCIctrl.h"
#include "platform/WaitCursor.h"

#include <algorithm>
#include <cstring>

namespace {
const char *const kUnbound = "OCI-Controlにバインドされていません";
const char *const kNotConnected = "接続されていません。";
const char *const kUnfetchable = "抽出不可能なカラムが選択されました。";
} // namespace

TOCIcur::TOCIcur(QObject *owner)
    : QObject(owner)
{
}

// Calls nothing of the library: the session closes open cursors when it logs
// off, and the area may belong to a library that is already gone.
TOCIcur::~TOCIcur() = default;

// --- Binding ------------------------------------------------------------------

TOCIctrl *TOCIcur::session()
{
    auto *candidate = qobject_cast<TOCIctrl *>(m_ociParent.data());
    if (!candidate || !candidate->CtrlBind(parent()))
        m_ociParent = nullptr;
    return qobject_cast<TOCIctrl *>(m_ociParent.data());
}

QObject *TOCIcur::OCIParent()
{
    session();
    return m_ociParent;
}

void TOCIcur::setOCIParent(QObject *component)
{
    m_ociParent = component;
    session();
}

TOCIctrl *TOCIcur::boundSession()
{
    TOCIctrl *ctrl = session();
    if (!ctrl)
        LastError = QString::fromUtf8(kUnbound);
    return ctrl;
}

// --- Opening and closing ---------------------------------------------------------

bool TOCIcur::failWithReport(TOCIctrl &ctrl)
{
    LastError = ctrl.err_report(m_cda);
    return false;
}

bool TOCIcur::failNotConnected()
{
    LastError = QString::fromUtf8(kNotConnected);
    return false;
}

bool TOCIcur::reopen(TOCIctrl &ctrl)
{
    if (!CleanUP())
        return false;
    if (!ctrl.connected())
        return failNotConnected();
    if (!ctrl.OpenCur(m_cda))
        return failWithReport(ctrl);
    m_opened = true;
    return true;
}

bool TOCIcur::CleanUP()
{
    TOCIctrl *ctrl = boundSession();
    if (!ctrl)
        return false;
    if (!m_opened)
        return true;
    const bool closed = ctrl->CloseCur(m_cda);
    if (closed)
        m_opened = false;
    else
        LastError = ctrl->err_report(m_cda);
    // The define area keeps its memory for the next query.
    m_defines.clear();
    m_row.clear();
    m_columns.clear();
    m_endOfRows = false;
    return closed;
}

// --- Query --------------------------------------------------------------------

bool TOCIcur::Execute()
{
    TOCIctrl *ctrl = boundSession();
    if (!ctrl)
        return false;
    platform::WaitCursor wait;
    return reopen(*ctrl) && GoExecute(*ctrl);
}

bool TOCIcur::GoExecute(TOCIctrl &ctrl)
{
    if (!SQL.empty() && SQL.back() == ';')
        SQL.pop_back();
    if (!ctrl.connected())
        return failNotConnected();
    if (!ctrl.Parse(m_cda, SQL))
        return failWithReport(ctrl);

    std::vector<DescribedColumn> list = describeSelectList(ctrl, m_cda);
    for (DescribedColumn &described : list) {
        describe &column = described.column;
        if (!isFetchableType(column.DbType)) {
            LastError = QString::fromUtf8(kUnfetchable);
            return false;
        }
        if (column.DbType == OCI_TYPE_DATE)
            column.DbSize = kDateDefineSize;
        m_row.emplace_back(trimBlanks(describedName(column)));
        m_columns.add(makeColumnAttr(column));
    }
    if (!defineColumns(ctrl, list))
        return failWithReport(ctrl);
    if (!ctrl.Exec(m_cda))
        return failWithReport(ctrl);
    return true;
}

// Sizes one zero-filled buffer per column, all in one area that is allocated
// once here and reused by every fetch, and defines each at its column's
// select-list position.
bool TOCIcur::defineColumns(TOCIctrl &ctrl, const std::vector<DescribedColumn> &list)
{
    m_defines.clear();
    size_t total = 0;
    for (const DescribedColumn &described : list) {
        const int size = defineBufferSize(described.column);
        m_defines.push_back({total, size});
        total += size_t(size);
    }
    m_defineArea.assign(total, '\0');
    for (size_t i = 0; i < list.size(); ++i) {
        if (!ctrl.Defin(m_cda, list[i].index, m_defineArea.data() + m_defines[i].offset, list[i].column))
            return false;
    }
    return true;
}

bool TOCIcur::Fetch()
{
    m_endOfRows = false;
    TOCIctrl *ctrl = boundSession();
    if (!ctrl)
        return false;
    if (!ctrl->connected()) {
        emptyRowValues();
        return failNotConnected();
    }
    // The library leaves a NULL value's buffer as it was, so each buffer is
    // emptied first: a NULL then reads as empty text, not as an earlier row's
    // value.
    for (const Define &define : m_defines)
        m_defineArea[define.offset] = '\0';
    if (ctrl->SelFetch(m_cda) || m_cda.rc == OCI_ERR_NULL_FETCHED) {
        for (size_t i = 0; i < m_defines.size(); ++i)
            m_row[i].assign(m_defineArea.data() + m_defines[i].offset);
        return true;
    }
    if (m_cda.rc == OCI_ERR_NO_DATA)
        m_endOfRows = true;
    else
        LastError = ctrl->err_report(m_cda);
    emptyRowValues();
    return false;
}

void TOCIcur::emptyRowValues()
{
    const size_t count = std::min(m_defines.size(), m_row.size());
    for (size_t i = 0; i < count; ++i)
        m_row[i].clear();
}
