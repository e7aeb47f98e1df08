// The 20 calls of the version 7 interface. Each body runs under the
// registry's lock and catches every exception: an error becomes the Oracle
// number in the area's return code and the call's non-zero result. Only the
// documented fields of the caller's areas are written.
#include "OraErrors.h"
#include "Registry.h"
#include "SqlError.h"
#include "oracle/oci7.h"

#include <algorithm>
#include <cstring>
#include <new>

#define KDB_EXPORT extern "C" __attribute__((visibility("default")))

using namespace kdb;

namespace {

std::string_view textArg(const oci_text *p, long length)
{
    if (!p)
        return {};
    const char *s = reinterpret_cast<const char *>(p);
    return length < 0 ? std::string_view(s) : std::string_view(s, size_t(length));
}

oci_sword finish(cda_def *area, int functionCode, int rc)
{
    if (area) {
        area->fc = oci_ub1(functionCode);
        area->rc = oci_ub2(rc);
    }
    return rc;
}

// Runs `body` (0 or an error number) so that no exception escapes: the
// outcome goes into the area and, with its detail, into the session for
// oerhms.
template <typename F>
oci_sword guarded(cda_def *area, int functionCode, Session *session, F &&body)
{
    int rc = 0;
    std::string detail;
    try {
        rc = body();
    } catch (const SqlError &e) {
        rc = e.code();
        detail = e.detail();
    } catch (const std::bad_alloc &) {
        rc = ora::kInternal;
        detail = "out of memory";
    } catch (...) {
        rc = ora::kInternal;
    }
    if (rc != 0 && session)
        session->setLastError(rc, std::move(detail));
    return finish(area, functionCode, rc);
}

// Runs `body` on the cursor of `cda`: 1001 when the area has no open cursor.
template <typename F>
oci_sword onCursor(Cda_Def *cda, int functionCode, F &&body)
{
    if (!cda)
        return ora::kInvalidCursor;
    Registry &reg = Registry::instance();
    std::lock_guard<std::mutex> guard(reg.lock());
    Cursor *cursor = reg.cursor(cda);
    if (!cursor)
        return finish(cda, functionCode, ora::kInvalidCursor);
    return guarded(cda, functionCode, cursor->session(), [&] { return body(*cursor); });
}

// Runs `body` on the session of `lda`: 1012 when it is not logged on.
template <typename F>
oci_sword onSession(Lda_Def *lda, int functionCode, F &&body)
{
    if (!lda)
        return ora::kNotLoggedOn;
    Registry &reg = Registry::instance();
    std::lock_guard<std::mutex> guard(reg.lock());
    Session *session = reg.session(lda);
    if (!session)
        return finish(lda, functionCode, ora::kNotLoggedOn);
    return guarded(lda, functionCode, session, [&] {
        body(*session);
        return 0;
    });
}

std::string bindName(std::string_view name)
{
    if (!name.empty() && name.front() == ':')
        name.remove_prefix(1);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        return std::string(name.substr(1, name.size() - 2));
    std::string out(name);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

BindValue bindValue(oci_ub1 *progv, oci_sword progvl, oci_sword ftype, oci_sb2 *indp)
{
    return BindValue{progv, progvl, ftype, indp};
}

} // namespace

KDB_EXPORT oci_sword olog(Lda_Def *lda, oci_ub1 *, const oci_text *uid, oci_sword uidl, const oci_text *pswd,
                          oci_sword pswdl, const oci_text *conn, oci_sword connl, oci_ub4)
{
    if (!lda)
        return ora::kLogonDenied;
    Registry &reg = Registry::instance();
    std::lock_guard<std::mutex> guard(reg.lock());
    return guarded(lda, OCI_FC_OLOG, nullptr, [&] {
        std::string_view user = textArg(uid, uidl);
        std::string_view password = textArg(pswd, pswdl);
        std::string_view connect = textArg(conn, connl);
        // "user/password@connect" in the user argument, as Oracle accepts it.
        if (password.empty()) {
            const auto at = user.find('@');
            if (at != std::string_view::npos) {
                if (connect.empty())
                    connect = user.substr(at + 1);
                user = user.substr(0, at);
            }
            const auto slash = user.find('/');
            if (slash != std::string_view::npos) {
                password = user.substr(slash + 1);
                user = user.substr(0, slash);
            }
        }
        if (Session *old = reg.session(lda)) {
            try {
                old->commit();
            } catch (const SqlError &) {
            }
            reg.removeSession(lda);
        }
        reg.addSession(lda, Session::logon(user, password, connect));
        return 0;
    });
}

KDB_EXPORT oci_sword ologof(Lda_Def *lda)
{
    if (!lda)
        return ora::kNotLoggedOn;
    Registry &reg = Registry::instance();
    std::lock_guard<std::mutex> guard(reg.lock());
    Session *session = reg.session(lda);
    if (!session)
        return finish(lda, OCI_FC_OLOGOF, ora::kNotLoggedOn);
    return guarded(lda, OCI_FC_OLOGOF, session, [&] {
        session->commit();
        reg.removeSession(lda); // on success the session is not touched again
        return 0;
    });
}

KDB_EXPORT oci_sword oopen(Cda_Def *cursor, Lda_Def *lda, const oci_text *, oci_sword, oci_sword,
                           const oci_text *, oci_sword)
{
    if (!cursor)
        return ora::kInvalidCursor;
    Registry &reg = Registry::instance();
    std::lock_guard<std::mutex> guard(reg.lock());
    Session *session = lda ? reg.session(lda) : nullptr;
    if (!session)
        return finish(cursor, OCI_FC_OOPEN, ora::kNotLoggedOn);
    return guarded(cursor, OCI_FC_OOPEN, session, [&] {
        reg.openCursor(cursor, session);
        cursor->rpc = 0;
        cursor->ft = 0;
        return 0;
    });
}

KDB_EXPORT oci_sword oclose(Cda_Def *cursor)
{
    if (!cursor)
        return ora::kInvalidCursor;
    Registry &reg = Registry::instance();
    std::lock_guard<std::mutex> guard(reg.lock());
    if (!reg.cursor(cursor))
        return finish(cursor, OCI_FC_OCLOSE, ora::kInvalidCursor);
    reg.closeCursor(cursor);
    return finish(cursor, OCI_FC_OCLOSE, 0);
}

KDB_EXPORT oci_sword oparse(Cda_Def *cursor, const oci_text *sqlstm, oci_sb4 sqllen, oci_sword, oci_ub4)
{
    return onCursor(cursor, OCI_FC_OPARSE, [&](Cursor &c) {
        cursor->rpc = 0;
        cursor->ft = 0;
        if (!sqlstm)
            throw SqlError(ora::kInvalidStatement);
        c.parse(textArg(sqlstm, sqllen));
        cursor->ft = oci_ub2(c.functionType());
        return 0;
    });
}

KDB_EXPORT oci_sword odefin(Cda_Def *cursor, oci_sword pos, oci_ub1 *buf, oci_sword bufl, oci_sword ftype,
                            oci_sword, oci_sb2 *indp, const oci_text *, oci_sword, oci_sword, oci_ub2 *rlen,
                            oci_ub2 *rcode)
{
    return onCursor(cursor, OCI_FC_ODEFIN, [&](Cursor &c) {
        Define d;
        d.buffer = buf;
        d.length = buf ? bufl : 0;
        d.type = ftype;
        d.indicator = indp;
        d.returnLength = rlen;
        d.returnCode = rcode;
        c.define(pos, d);
        return 0;
    });
}

KDB_EXPORT oci_sword oexec(Cda_Def *cursor)
{
    return onCursor(cursor, OCI_FC_OEXEC, [&](Cursor &c) {
        cursor->rpc = 0;
        cursor->rpc = c.execute();
        return 0;
    });
}

KDB_EXPORT oci_sword ofetch(Cda_Def *cursor)
{
    return onCursor(cursor, OCI_FC_OFETCH, [&](Cursor &c) {
        struct RowCount {
            Cda_Def *area;
            Cursor &cursor;
            ~RowCount() { area->rpc = cursor.rowsProcessed(); }
        } count{cursor, c};
        return c.fetch();
    });
}

KDB_EXPORT oci_sword oerhms(Lda_Def *lda, oci_sb2 rcode, oci_text *buf, oci_sword bufsiz)
{
    if (!buf || bufsiz <= 0)
        return 0;
    try {
        std::string detail;
        {
            Registry &reg = Registry::instance();
            std::lock_guard<std::mutex> guard(reg.lock());
            if (Session *s = lda ? reg.session(lda) : nullptr)
                detail = s->detailFor(rcode);
        }
        const std::string message = oraMessage(rcode, detail);
        const size_t n = std::min(message.size(), size_t(bufsiz) - 1);
        std::memcpy(buf, message.data(), n);
        buf[n] = '\0';
        return oci_sword(n);
    } catch (...) {
        buf[0] = '\0';
        return 0;
    }
}

KDB_EXPORT oci_sword odescr(Cda_Def *cursor, oci_sword pos, oci_sb4 *dbsize, oci_sb2 *dbtype, oci_sb1 *cbuf,
                            oci_sb4 *cbufl, oci_sb4 *dsize, oci_sb2 *prec, oci_sb2 *scale, oci_sb2 *nullok)
{
    return onCursor(cursor, OCI_FC_ODESCR, [&](Cursor &c) {
        const OutputColumn &col = c.describe(pos);
        if (dbsize)
            *dbsize = col.type.size;
        if (dbtype)
            *dbtype = oci_sb2(col.type.code);
        if (cbufl) {
            const size_t capacity = cbuf && *cbufl > 0 ? size_t(*cbufl) : 0;
            const size_t n = std::min(col.name.size(), capacity);
            if (n)
                std::memcpy(cbuf, col.name.data(), n);
            *cbufl = oci_sb4(n);
        }
        if (dsize)
            *dsize = textWidth(col.type);
        if (prec)
            *prec = oci_sb2(col.type.precision);
        if (scale)
            *scale = oci_sb2(col.type.scale);
        if (nullok)
            *nullok = col.nullable ? 1 : 0;
        return 0;
    });
}

KDB_EXPORT oci_sword obndrn(Cda_Def *cursor, oci_sword sqlvn, oci_ub1 *progv, oci_sword progvl, oci_sword ftype,
                            oci_sword, oci_sb2 *indp, const oci_text *, oci_sword, oci_sword)
{
    return onCursor(cursor, OCI_FC_OBNDRN, [&](Cursor &c) {
        c.bindNumber(sqlvn, bindValue(progv, progvl, ftype, indp));
        return 0;
    });
}

KDB_EXPORT oci_sword obndrv(Cda_Def *cursor, const oci_text *sqlvar, oci_sword sqlvl, oci_ub1 *progv,
                            oci_sword progvl, oci_sword ftype, oci_sword, oci_sb2 *indp, const oci_text *,
                            oci_sword, oci_sword)
{
    return onCursor(cursor, OCI_FC_OBNDRV, [&](Cursor &c) {
        c.bind(bindName(textArg(sqlvar, sqlvl)), bindValue(progv, progvl, ftype, indp));
        return 0;
    });
}

KDB_EXPORT oci_sword obndra(Cda_Def *cursor, const oci_text *sqlvar, oci_sword sqlvl, oci_ub1 *progv,
                            oci_sword progvl, oci_sword ftype, oci_sword, oci_sb2 *indp, oci_ub2 *, oci_ub2 *,
                            oci_ub4 maxsiz, oci_ub4 *, const oci_text *, oci_sword, oci_sword)
{
    return onCursor(cursor, OCI_FC_OBNDRA, [&](Cursor &c) {
        // A scalar (maxsiz 0) binds like obndrv; PL/SQL arrays have no place here.
        if (maxsiz != 0)
            throw SqlError(ora::kUnsupportedFeature);
        c.bind(bindName(textArg(sqlvar, sqlvl)), bindValue(progv, progvl, ftype, indp));
        return 0;
    });
}

KDB_EXPORT oci_sword ocan(Cda_Def *cursor)
{
    return onCursor(cursor, OCI_FC_OCAN, [&](Cursor &c) {
        c.cancel();
        return 0;
    });
}

KDB_EXPORT oci_sword ocon(Lda_Def *lda)
{
    return onSession(lda, OCI_FC_OCON, [](Session &s) { s.setAutoCommit(true); });
}

KDB_EXPORT oci_sword ocof(Lda_Def *lda)
{
    return onSession(lda, OCI_FC_OCOF, [](Session &s) { s.setAutoCommit(false); });
}

KDB_EXPORT oci_sword ocom(Lda_Def *lda)
{
    return onSession(lda, OCI_FC_OCOM, [](Session &s) { s.commit(); });
}

KDB_EXPORT oci_sword orol(Lda_Def *lda)
{
    return onSession(lda, OCI_FC_OROL, [](Session &s) { s.rollback(); });
}

KDB_EXPORT oci_sword odessp(Lda_Def *lda, const oci_text *, size_t, oci_ub1 *, size_t, oci_ub1 *, size_t, oci_ub2 *,
                            oci_ub2 *, oci_ub2 *, oci_text **, oci_ub2 *, oci_ub2 *, oci_ub1 *, oci_ub1 *,
                            oci_ub4 *, oci_sb2 *, oci_sb2 *, oci_ub1 *, oci_ub4 *, oci_ub4 *)
{
    // The engine has no stored procedures to describe.
    return onSession(lda, OCI_FC_ODESSP, [](Session &) { throw SqlError(ora::kUnsupportedFeature); });
}

KDB_EXPORT oci_sword ogetpi(Cda_Def *cursor, oci_ub1 *, void **, oci_ub4 *, oci_ub4 *)
{
    // Piecewise operations are never started, so there is no piece to report.
    return onCursor(cursor, OCI_FC_OGETPI, [](Cursor &) -> int { throw SqlError(ora::kUnsupportedFeature); });
}
