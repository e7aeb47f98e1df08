#include "EngineSession.h"

#include "embedded/Admin.h"
#include "embedded/Database.h"
#include "tests/support/TestEnvironment.h"

#include <cstring>
#include <stdexcept>

namespace enginetest {

std::string newDatabase()
{
    kdb::db::setBusyTimeout(50); // the lock test need not wait long

    const std::string folder = testenv::makeTempDir("db") + "/data";
    if (kdb::admin::createUser(folder, "demo", "demo") != 0)
        throw std::runtime_error("cannot create the test user");
    return folder;
}

EngineSession::EngineSession(const std::string &database, const std::string &user, const std::string &password)
{
    m_loggedOn = olog(&m_lda, m_hda.data, reinterpret_cast<const oci_text *>(user.c_str()), -1,
                      reinterpret_cast<const oci_text *>(password.c_str()), -1,
                      reinterpret_cast<const oci_text *>(database.c_str()), -1, 0)
        == 0;
}

EngineSession::~EngineSession()
{
    if (m_loggedOn)
        ologof(&m_lda);
}

int EngineSession::exec(const std::string &sql, const std::vector<std::string> &binds)
{
    Cda_Def cda{};
    if (oopen(&cda, &m_lda, nullptr, -1, -1, nullptr, -1) != 0)
        return cda.rc;
    int rc = oparse(&cda, reinterpret_cast<const oci_text *>(sql.c_str()), -1, 0, 1) == 0 ? 0 : cda.rc;
    for (size_t i = 0; rc == 0 && i < binds.size(); ++i) {
        auto *value = reinterpret_cast<oci_ub1 *>(const_cast<char *>(binds[i].c_str()));
        if (obndrn(&cda, oci_sword(i + 1), value, oci_sword(binds[i].size() + 1), OCI_EXT_STRING, -1, nullptr,
                   nullptr, 0, -1)
            != 0)
            rc = cda.rc;
    }
    if (rc == 0 && oexec(&cda) != 0)
        rc = cda.rc;
    oclose(&cda);
    return rc;
}

Rows EngineSession::query(const std::string &sql, int *error)
{
    Rows rows;
    Cda_Def cda{};
    int rc = oopen(&cda, &m_lda, nullptr, -1, -1, nullptr, -1);
    if (rc == 0 && oparse(&cda, reinterpret_cast<const oci_text *>(sql.c_str()), -1, 0, 1) != 0)
        rc = cda.rc;
    std::vector<std::vector<char>> buffers;
    std::vector<oci_sb2> indicators;
    for (int pos = 1; rc == 0; ++pos) {
        oci_sb4 size = 0;
        oci_sb2 type = 0;
        if (odescr(&cda, pos, &size, &type, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) != 0)
            break;
        buffers.emplace_back(size_t(size > 0 ? size : 4000) + 41);
    }
    indicators.resize(buffers.size());
    for (size_t i = 0; rc == 0 && i < buffers.size(); ++i)
        if (odefin(&cda, oci_sword(i + 1), reinterpret_cast<oci_ub1 *>(buffers[i].data()),
                   oci_sword(buffers[i].size()), OCI_EXT_STRING, -1, &indicators[i], nullptr, -1, -1, nullptr,
                   nullptr)
            != 0)
            rc = cda.rc;
    if (rc == 0 && oexec(&cda) != 0)
        rc = cda.rc;
    while (rc == 0) {
        if (ofetch(&cda) != 0) {
            if (cda.rc != 1403)
                rc = cda.rc;
            break;
        }
        std::vector<std::string> row;
        for (size_t i = 0; i < buffers.size(); ++i)
            row.push_back(indicators[i] == -1 ? "<NULL>" : std::string(buffers[i].data()));
        rows.push_back(std::move(row));
    }
    oclose(&cda);
    if (error)
        *error = rc;
    return rows;
}

std::string EngineSession::message(int code)
{
    char buf[512];
    oerhms(&m_lda, oci_sb2(code), reinterpret_cast<oci_text *>(buf), sizeof buf);
    return buf;
}

} // namespace enginetest
