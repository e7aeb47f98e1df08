#pragma once
// A logged-on session of the engine driven through the 20 calls, for tests.
#include "oracle/oci7.h"

#include <string>
#include <vector>

namespace enginetest {

using Rows = std::vector<std::vector<std::string>>;

// A fresh database folder with user DEMO (password "demo").
std::string newDatabase();

class EngineSession {
public:
    explicit EngineSession(const std::string &database, const std::string &user = "demo",
                           const std::string &password = "demo");
    ~EngineSession();

    bool loggedOn() const { return m_loggedOn; }
    Lda_Def *lda() { return &m_lda; }

    // Parses and executes; returns the Oracle error number (0 on success).
    int exec(const std::string &sql, const std::vector<std::string> &binds = {});
    // Runs a query and fetches every row as text ("<NULL>" for NULL).
    Rows query(const std::string &sql, int *error = nullptr);
    // The text oerhms gives for the last error.
    std::string message(int code);
    int commit() { return ocom(&m_lda); }
    int rollback() { return orol(&m_lda); }

private:
    Lda_Def m_lda{};
    hda_def m_hda{};
    bool m_loggedOn = false;
};

} // namespace enginetest
