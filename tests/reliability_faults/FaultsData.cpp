#include "FaultsData.h"

#include "tests/embedded/EngineClient.h"
#include "tests/support/TestEnvironment.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sstream>

namespace faults {

std::vector<long> CsvPlan::goodIds(size_t count) const
{
    std::vector<long> good;
    for (size_t i = 0; i < count && i < ids.size(); ++i) {
        if (ids[i] >= 0)
            good.push_back(ids[i]);
    }
    return good;
}

std::vector<std::string> CsvPlan::badLines(size_t count) const
{
    std::vector<std::string> bad;
    for (size_t i = 0; i < count && i < ids.size(); ++i) {
        if (ids[i] < 0)
            bad.push_back(lines[i]);
    }
    return bad;
}

CsvPlan makeCsv(long firstId, size_t count, size_t badEvery, const std::string &tag, size_t width)
{
    CsvPlan plan;
    for (size_t i = 0; i < count; ++i) {
        const long id = firstId + long(i);
        const bool bad = badEvery > 0 && (i + 1) % badEvery == 0;
        std::string name = tag + std::to_string(id);
        if (name.size() < width)
            name.append(width - name.size(), '.');
        plan.lines.push_back((bad ? "x" : "") + std::to_string(id) + "," + name);
        plan.ids.push_back(bad ? -1 : id);
    }
    return plan;
}

void writeCsv(const std::string &path, const CsvPlan &plan)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string &line : plan.lines)
        out << line << "\r\n";
    ASSERT_TRUE(out.good()) << path;
}

std::string makeDatabase(const std::string &folder, const std::vector<std::string> &statements)
{
    const std::string database = folder + "/db";
    enginetest::createUser(database, "SCOTT", "tiger");
    enginetest::Client client;
    EXPECT_EQ(0, client.logon(database, "SCOTT", "tiger"));
    for (const std::string &sql : statements)
        client.exec(sql);
    EXPECT_EQ(0, client.commit());
    client.logoff();
    return database;
}

void execute(const std::string &database, const std::string &sql)
{
    enginetest::Client client;
    ASSERT_EQ(0, client.logon(database, "SCOTT", "tiger"));
    client.exec(sql);
    EXPECT_EQ(0, client.commit());
    client.logoff();
}

std::vector<std::string> queryRows(const std::string &database, const std::string &sql)
{
    enginetest::Client client;
    const int logon = client.logon(database, "SCOTT", "tiger");
    EXPECT_EQ(0, logon) << "log-on after the run: " << client.message(logon);
    std::vector<std::string> rows;
    for (const enginetest::Row &row : client.query(sql)) {
        std::string joined;
        for (size_t i = 0; i < row.size(); ++i)
            joined += (i ? "|" : "") + row[i];
        rows.push_back(joined);
    }
    client.logoff();
    return rows;
}

std::vector<long> tableIds(const std::string &database, const std::string &table)
{
    std::vector<long> ids;
    for (const std::string &row : queryRows(database, "SELECT ID FROM " + table + " ORDER BY ID"))
        ids.push_back(std::stol(row));
    return ids;
}

std::string integrityOf(const std::string &database)
{
    sqlite3 *db = nullptr;
    const std::string file = database + "/SCOTT.db";
    std::string verdict = "cannot open " + file;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *check = nullptr;
        verdict.clear();
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK) {
            while (sqlite3_step(check) == SQLITE_ROW)
                verdict += reinterpret_cast<const char *>(sqlite3_column_text(check, 0));
        } else {
            verdict = sqlite3_errmsg(db);
        }
        sqlite3_finalize(check);
    }
    sqlite3_close(db);
    return verdict;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> crlfLines(const std::string &bytes, bool &whole)
{
    std::vector<std::string> lines;
    whole = true;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            whole = false;
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    for (const std::string &line : lines) {
        if (line.find_first_of("\r\n") != std::string::npos)
            whole = false;
    }
    return lines;
}

} // namespace faults
