// The cursor primitives of the session controller: thin calls on a cursor
// area that the caller owns. None stores a text or shows anything; the caller
// asks err_report(area) for the reason of a false result.
#include "oracle/TOCIctrl.h"

#include <algorithm>

namespace {

oci_ub1 *bufferOf(char *bytes)
{
    return reinterpret_cast<oci_ub1 *>(bytes);
}

} // namespace

bool TOCIctrl::OpenCur(cda_def &area)
{
    return m_connected && m_entries.oopen(&area, &m_lda, nullptr, -1, -1, nullptr, -1) == 0;
}

bool TOCIctrl::CloseCur(cda_def &area)
{
    return m_connected && m_entries.oclose(&area) == 0;
}

bool TOCIctrl::Parse(cda_def &area, const std::string &sql)
{
    return m_connected
        && m_entries.oparse(&area, reinterpret_cast<const oci_text *>(sql.c_str()), -1, 0, 1) == 0;
}

bool TOCIctrl::Descr(cda_def &area, int index, describe &column)
{
    if (!m_connected)
        return false;
    // The library is told no more room than Name has, and whatever length it
    // answers, the terminator goes inside Name.
    const oci_sb4 capacity = std::clamp<oci_sb4>(column.NameLen, 0, kDescribeNameCapacity);
    column.NameLen = capacity;
    const bool described = m_entries.odescr(&area, index + 1, &column.DbSize, &column.DbType,
                                            reinterpret_cast<oci_sb1 *>(column.Name), &column.NameLen,
                                            &column.DispSize, &column.Precision, &column.Scale,
                                            &column.NullOk)
        == 0;
    if (described) {
        column.NameLen = std::clamp<oci_sb4>(column.NameLen, 0, capacity);
        column.Name[column.NameLen] = '\0';
    }
    return described;
}

bool TOCIctrl::Defin(cda_def &area, int index, char *buffer, const describe &column)
{
    return m_connected
        && m_entries.odefin(&area, index + 1, bufferOf(buffer), defineBufferSize(column), OCI_EXT_STRING, -1,
                            nullptr, nullptr, -1, -1, nullptr, nullptr)
        == 0;
}

bool TOCIctrl::Exec(cda_def &area)
{
    return m_connected && m_entries.oexec(&area) == 0;
}

bool TOCIctrl::SelFetch(cda_def &area)
{
    return m_connected && m_entries.ofetch(&area) == 0;
}

bool TOCIctrl::Bind(cda_def &area, std::vector<std::string> &values, int count)
{
    if (!m_connected)
        return false;
    if (count > int(values.size()))
        return false;
    for (int i = 0; i < count; ++i) {
        std::string &value = values[size_t(i)];
        // An empty text is a one-byte buffer holding only the terminator.
        if (m_entries.obndrn(&area, i + 1, bufferOf(value.data()), oci_sword(value.size() + 1), OCI_EXT_STRING,
                             -1, nullptr, nullptr, 0, -1)
            != 0)
            return false;
    }
    return true;
}

bool TOCIctrl::CtrlBind(const QObject *component) const
{
    return component == parent();
}
