#include "SqliteUtil.h"

#include "SqlError.h"

#include <charconv>

namespace kdb {

namespace {
constexpr std::string_view kPrefix = "kdb:";
}

StmtPtr prepare(sqlite3 *db, std::string_view sql)
{
    sqlite3_stmt *s = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), int(sql.size()), &s, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(s);
        throwSqliteError(db, rc);
    }
    return StmtPtr(s);
}

void bindStatic(sqlite3_stmt *s, int index, std::string_view text)
{
    sqlite3_bind_text(s, index, text.empty() ? "" : text.data(), int(text.size()), SQLITE_STATIC);
}

std::string_view columnText(sqlite3_stmt *s, int index)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(s, index));
    if (!p)
        return {};
    return std::string_view(p, size_t(sqlite3_column_bytes(s, index)));
}

std::string encodeFunctionError(int code, std::string_view detail)
{
    std::string m(kPrefix);
    m += std::to_string(code);
    m += ':';
    m += detail;
    return m;
}

bool decodeFunctionError(std::string_view message, int *code, std::string *detail)
{
    if (message.substr(0, kPrefix.size()) != kPrefix)
        return false;
    message.remove_prefix(kPrefix.size());
    const auto colon = message.find(':');
    if (colon == std::string_view::npos)
        return false;
    int value = 0;
    const auto res = std::from_chars(message.data(), message.data() + colon, value);
    if (res.ec != std::errc() || res.ptr != message.data() + colon)
        return false;
    *code = value;
    detail->assign(message.substr(colon + 1));
    return true;
}

void throwSqliteError(sqlite3 *db, int rc)
{
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw SqlError(ora::kBusy);
    const char *msg = db ? sqlite3_errmsg(db) : "";
    int code = 0;
    std::string detail;
    if (decodeFunctionError(msg ? msg : "", &code, &detail))
        throw SqlError(code, detail);
    // A file or folder the user may only read: no write can work, and saying
    // so beats an I/O error that sends people looking at their disk.
    if (primary == SQLITE_READONLY)
        throw SqlError(ora::kReadOnlyDatabase);
    if (primary == SQLITE_IOERR || primary == SQLITE_FULL || primary == SQLITE_CANTOPEN)
        throw SqlError(ora::kIoError);
    throw SqlError(ora::kInternal, msg ? msg : "");
}

} // namespace kdb
