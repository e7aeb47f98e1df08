#include "karvello_db_oci.h"

#include <algorithm>
#include <cstring>

namespace kdbtool {

int callOutcome(oci_sword result, const cda_def &area)
{
    if (result == 0)
        return 0;
    return area.rc != 0 ? area.rc : -1;
}

Session::~Session()
{
    logoff();
}

int Session::logon(const std::string &user, const std::string &password, const std::string &connect)
{
    logoff();
    auto text = [](const std::string &s) { return reinterpret_cast<const oci_text *>(s.c_str()); };
    int rc = callOutcome(olog(&m_lda, m_hda.data, text(user), -1, text(password), -1, text(connect), -1, 0),
                         m_lda);
    m_loggedOn = rc == 0;
    return rc;
}

int Session::commit()
{
    return callOutcome(ocom(&m_lda), m_lda);
}

int Session::rollback()
{
    return callOutcome(orol(&m_lda), m_lda);
}

int Session::logoff()
{
    if (!m_loggedOn)
        return 0;
    m_loggedOn = false;
    return callOutcome(ologof(&m_lda), m_lda);
}

std::string Session::errorText(int code)
{
    if (code < 0)
        return "a call of the interface failed without an error number";
    char buffer[512] = {};
    oci_sword length = oerhms(&m_lda, static_cast<oci_sb2>(code), reinterpret_cast<oci_text *>(buffer),
                              sizeof buffer);
    std::size_t n = strnlen(buffer, sizeof buffer);
    if (length >= 0 && static_cast<std::size_t>(length) < n)
        n = static_cast<std::size_t>(length);
    return std::string(buffer, n);
}

Cursor::~Cursor()
{
    if (m_open)
        oclose(&m_cda);
}

int Cursor::open()
{
    int rc = callOutcome(oopen(&m_cda, m_session.lda(), nullptr, -1, -1, nullptr, -1), m_cda);
    m_open = rc == 0;
    return rc;
}

int Cursor::parse(std::string_view sql)
{
    m_buffers.clear();
    m_indicators.clear();
    return callOutcome(oparse(&m_cda, reinterpret_cast<const oci_text *>(sql.data()),
                              static_cast<oci_sb4>(sql.size()), 0, 1),
                       m_cda);
}

int Cursor::bindText(int position, const std::string &text)
{
    // The program's way: the text's length plus its terminator, as type 5.
    auto *value = reinterpret_cast<oci_ub1 *>(const_cast<char *>(text.c_str()));
    return callOutcome(obndrn(&m_cda, position, value, static_cast<oci_sword>(text.size() + 1), OCI_EXT_STRING,
                              -1, nullptr, nullptr, 0, -1),
                       m_cda);
}

int Cursor::execute()
{
    return callOutcome(oexec(&m_cda), m_cda);
}

int Cursor::describeAndDefine(std::vector<ColumnInfo> &columns)
{
    if (int rc = describe(columns))
        return rc;
    return defineAll(columns);
}

int Cursor::describe(std::vector<ColumnInfo> &columns)
{
    columns.clear();
    for (oci_sword pos = 1;; ++pos) {
        oci_sb4 dbsize = 0;
        oci_sb2 dbtype = 0, precision = 0, scale = 0;
        char name[256];
        oci_sb4 nameLength = sizeof name;
        oci_sword result = odescr(&m_cda, pos, &dbsize, &dbtype, reinterpret_cast<oci_sb1 *>(name), &nameLength,
                                  nullptr, &precision, &scale, nullptr);
        int rc = callOutcome(result, m_cda);
        if (rc == OCI_ERR_NO_COLUMN)
            return 0;
        if (rc)
            return rc;
        nameLength = std::clamp<oci_sb4>(nameLength, 0, sizeof name);
        columns.push_back({std::string(name, static_cast<std::size_t>(nameLength)), dbtype, dbsize, precision, scale});
    }
}

// Room for the longest text a value of the column can become, terminator
// included. Numbers and dates have short texts whatever their describe size
// says; a LONG has no size, so it gets a generous one and may be cut.
static std::size_t bufferSizeFor(const ColumnInfo &column)
{
    constexpr std::size_t shortText = 128;
    switch (column.type) {
    case OCI_TYPE_LONG:
        return 64 * 1024;
    case OCI_TYPE_RAW:
        return std::max<std::size_t>(2 * static_cast<std::size_t>(std::max(column.size, 0)), shortText) + 1;
    default:
        return std::max<std::size_t>(static_cast<std::size_t>(std::max(column.size, 0)), shortText) + 1;
    }
}

int Cursor::defineAll(const std::vector<ColumnInfo> &columns)
{
    m_buffers.assign(columns.size(), {});
    m_indicators.assign(columns.size(), 0);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        m_buffers[i].assign(bufferSizeFor(columns[i]), 0);
        oci_sword result = odefin(&m_cda, static_cast<oci_sword>(i + 1), m_buffers[i].data(),
                                  static_cast<oci_sword>(m_buffers[i].size()), OCI_EXT_STRING, -1,
                                  &m_indicators[i], nullptr, -1, -1, nullptr, nullptr);
        if (int rc = callOutcome(result, m_cda))
            return rc;
    }
    return 0;
}

int Cursor::fetch(std::vector<Value> &row, bool *truncated)
{
    if (int rc = callOutcome(ofetch(&m_cda), m_cda))
        return rc;
    row.resize(m_buffers.size());
    for (std::size_t i = 0; i < m_buffers.size(); ++i) {
        if (m_indicators[i] == -1) {
            row[i].reset();
            continue;
        }
        const auto *text = reinterpret_cast<const char *>(m_buffers[i].data());
        row[i].emplace(text, strnlen(text, m_buffers[i].size()));
        if (m_indicators[i] > 0 && truncated)
            *truncated = true;
    }
    return 0;
}

} // namespace kdbtool
