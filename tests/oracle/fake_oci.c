/*
 * A stand-in client library for the binding's tests. It knows one account
 * (user "SCOTT", password "tiger", any connect string), refuses every other
 * with 1017, and records the name of every call in a log the test reads.
 * A test can make one call fail with a chosen error number, give odescr a
 * select list to describe (names whose claimed length may lie), and read the
 * last statement parsed.
 *
 * Built three times: complete, without ocon and orol (FAKE_OMIT_OCON_OROL),
 * and without ogetpi (FAKE_OMIT_OGETPI).
 */
#include "oracle/oci7.h"

#include <stdio.h>
#include <string.h>

#define FAKE_EXPORT __attribute__((visibility("default")))

static char g_log[8192];
static char g_failName[32];
static int g_failCode;

/* The select list odescr describes; empty: 1007 at once. */
struct FakeColumn {
    char name[64];
    int claimedLength; /* what odescr answers as the name's length */
    int type, size, precision, scale;
};
static struct FakeColumn g_columns[8];
static int g_columnCount;
static char g_lastSql[1024];

static void note(const char *name)
{
    size_t used = strlen(g_log);
    snprintf(g_log + used, sizeof g_log - used, "%s%s", used ? " " : "", name);
}

/* Records the call, stamps the area and answers 0 or the planned failure. */
static oci_sword answer(cda_def *area, const char *name, oci_ub1 fc, int refused)
{
    note(name);
    int code = refused;
    if (!code && g_failName[0] && strcmp(g_failName, name) == 0)
        code = g_failCode;
    if (area) {
        area->fc = fc;
        area->rc = (oci_ub2)code;
    }
    return code ? -1 : 0;
}

FAKE_EXPORT const char *fake_oci_log(void) { return g_log; }

FAKE_EXPORT void fake_oci_reset(void)
{
    g_log[0] = '\0';
    g_failName[0] = '\0';
    g_failCode = 0;
    g_columnCount = 0;
    g_lastSql[0] = '\0';
}

FAKE_EXPORT void fake_oci_add_column(const char *name, int claimedLength, int type, int size, int precision,
                                     int scale)
{
    if (g_columnCount == (int)(sizeof g_columns / sizeof g_columns[0]))
        return;
    struct FakeColumn *c = &g_columns[g_columnCount++];
    snprintf(c->name, sizeof c->name, "%s", name);
    c->claimedLength = claimedLength;
    c->type = type;
    c->size = size;
    c->precision = precision;
    c->scale = scale;
}

FAKE_EXPORT const char *fake_oci_last_sql(void) { return g_lastSql; }

FAKE_EXPORT void fake_oci_fail(const char *name, int code)
{
    snprintf(g_failName, sizeof g_failName, "%s", name);
    g_failCode = code;
}

FAKE_EXPORT oci_sword olog(Lda_Def *lda, oci_ub1 *hda, const oci_text *uid, oci_sword uidl,
                           const oci_text *pswd, oci_sword pswdl, const oci_text *conn,
                           oci_sword connl, oci_ub4 mode)
{
    (void)hda; (void)uidl; (void)pswdl; (void)conn; (void)connl; (void)mode;
    int known = strcmp((const char *)uid, "SCOTT") == 0 && strcmp((const char *)pswd, "tiger") == 0;
    return answer(lda, "olog", OCI_FC_OLOG, known ? 0 : OCI_ERR_LOGON_DENIED);
}

FAKE_EXPORT oci_sword ologof(Lda_Def *lda) { return answer(lda, "ologof", OCI_FC_OLOGOF, 0); }
FAKE_EXPORT oci_sword oclose(Cda_Def *c) { return answer(c, "oclose", OCI_FC_OCLOSE, 0); }

FAKE_EXPORT oci_sword oopen(Cda_Def *c, Lda_Def *lda, const oci_text *dbn, oci_sword dbnl,
                            oci_sword arsize, const oci_text *uid, oci_sword uidl)
{
    (void)lda; (void)dbn; (void)dbnl; (void)arsize; (void)uid; (void)uidl;
    return answer(c, "oopen", OCI_FC_OOPEN, 0);
}

FAKE_EXPORT oci_sword oparse(Cda_Def *c, const oci_text *s, oci_sb4 l, oci_sword d, oci_ub4 f)
{
    (void)l; (void)d; (void)f;
    snprintf(g_lastSql, sizeof g_lastSql, "%s", s ? (const char *)s : "");
    return answer(c, "oparse", OCI_FC_OPARSE, 0);
}

FAKE_EXPORT oci_sword odefin(Cda_Def *c, oci_sword pos, oci_ub1 *buf, oci_sword bufl, oci_sword ftype,
                             oci_sword scale, oci_sb2 *indp, const oci_text *fmt, oci_sword fmtl,
                             oci_sword fmtt, oci_ub2 *rlen, oci_ub2 *rcode)
{
    (void)pos; (void)buf; (void)bufl; (void)ftype; (void)scale; (void)indp;
    (void)fmt; (void)fmtl; (void)fmtt; (void)rlen; (void)rcode;
    return answer(c, "odefin", OCI_FC_ODEFIN, 0);
}

FAKE_EXPORT oci_sword oexec(Cda_Def *c) { return answer(c, "oexec", OCI_FC_OEXEC, 0); }
FAKE_EXPORT oci_sword ofetch(Cda_Def *c) { return answer(c, "ofetch", OCI_FC_OFETCH, OCI_ERR_NO_DATA); }

FAKE_EXPORT oci_sword oerhms(Lda_Def *lda, oci_sb2 rcode, oci_text *buf, oci_sword bufsiz)
{
    (void)lda;
    note("oerhms");
    const char *text = rcode == OCI_ERR_LOGON_DENIED ? "invalid username/password; logon denied"
                                                     : "fake failure";
    return snprintf((char *)buf, (size_t)bufsiz, "ORA-%05d: %s", rcode, text);
}

FAKE_EXPORT oci_sword odescr(Cda_Def *c, oci_sword pos, oci_sb4 *dbsize, oci_sb2 *dbtype, oci_sb1 *cbuf,
                             oci_sb4 *cbufl, oci_sb4 *dsize, oci_sb2 *prec, oci_sb2 *scale,
                             oci_sb2 *nullok)
{
    if (pos < 1 || pos > g_columnCount)
        return answer(c, "odescr", OCI_FC_ODESCR, OCI_ERR_NO_COLUMN);
    const struct FakeColumn *col = &g_columns[pos - 1];
    /* Writes no more than the capacity it was given, then claims what the
     * test asked for. */
    size_t n = strlen(col->name);
    if (*cbufl >= 0 && n > (size_t)*cbufl)
        n = (size_t)*cbufl;
    memcpy(cbuf, col->name, n);
    *cbufl = col->claimedLength;
    *dbsize = col->size;
    *dbtype = (oci_sb2)col->type;
    *dsize = col->size;
    *prec = (oci_sb2)col->precision;
    *scale = (oci_sb2)col->scale;
    *nullok = 1;
    return answer(c, "odescr", OCI_FC_ODESCR, 0);
}

FAKE_EXPORT oci_sword obndrn(Cda_Def *c, oci_sword n, oci_ub1 *v, oci_sword vl, oci_sword t,
                             oci_sword s, oci_sb2 *i, const oci_text *f, oci_sword fl, oci_sword ft)
{
    (void)n; (void)v; (void)vl; (void)t; (void)s; (void)i; (void)f; (void)fl; (void)ft;
    return answer(c, "obndrn", OCI_FC_OBNDRN, 0);
}

FAKE_EXPORT oci_sword obndrv(Cda_Def *c, const oci_text *sv, oci_sword svl, oci_ub1 *v, oci_sword vl,
                             oci_sword t, oci_sword s, oci_sb2 *i, const oci_text *f, oci_sword fl,
                             oci_sword ft)
{
    (void)sv; (void)svl; (void)v; (void)vl; (void)t; (void)s; (void)i; (void)f; (void)fl; (void)ft;
    return answer(c, "obndrv", OCI_FC_OBNDRV, 0);
}

FAKE_EXPORT oci_sword ocan(Cda_Def *c) { return answer(c, "ocan", OCI_FC_OCAN, 0); }

#ifndef FAKE_OMIT_OCON_OROL
FAKE_EXPORT oci_sword ocon(Lda_Def *lda) { return answer(lda, "ocon", OCI_FC_OCON, 0); }
FAKE_EXPORT oci_sword orol(Lda_Def *lda) { return answer(lda, "orol", OCI_FC_OROL, 0); }
#endif
FAKE_EXPORT oci_sword ocof(Lda_Def *lda) { return answer(lda, "ocof", OCI_FC_OCOF, 0); }
FAKE_EXPORT oci_sword ocom(Lda_Def *lda) { return answer(lda, "ocom", OCI_FC_OCOM, 0); }

FAKE_EXPORT oci_sword obndra(Cda_Def *c, const oci_text *sv, oci_sword svl, oci_ub1 *v, oci_sword vl,
                             oci_sword t, oci_sword s, oci_sb2 *i, oci_ub2 *al, oci_ub2 *arc,
                             oci_ub4 ms, oci_ub4 *cs, const oci_text *f, oci_sword fl, oci_sword ft)
{
    (void)sv; (void)svl; (void)v; (void)vl; (void)t; (void)s; (void)i; (void)al; (void)arc;
    (void)ms; (void)cs; (void)f; (void)fl; (void)ft;
    return answer(c, "obndra", OCI_FC_OBNDRA, 0);
}

FAKE_EXPORT oci_sword odessp(Lda_Def *lda, const oci_text *o, size_t ol, oci_ub1 *r1, size_t r1l,
                             oci_ub1 *r2, size_t r2l, oci_ub2 *ov, oci_ub2 *pos, oci_ub2 *lev,
                             oci_text **an, oci_ub2 *anl, oci_ub2 *dt, oci_ub1 *ds, oci_ub1 *md,
                             oci_ub4 *dts, oci_sb2 *pr, oci_sb2 *sc, oci_ub1 *rx, oci_ub4 *sp,
                             oci_ub4 *as)
{
    (void)o; (void)ol; (void)r1; (void)r1l; (void)r2; (void)r2l; (void)ov; (void)pos; (void)lev;
    (void)an; (void)anl; (void)dt; (void)ds; (void)md; (void)dts; (void)pr; (void)sc; (void)rx;
    (void)sp; (void)as;
    return answer(lda, "odessp", OCI_FC_ODESSP, 0);
}

#ifndef FAKE_OMIT_OGETPI
FAKE_EXPORT oci_sword ogetpi(Cda_Def *c, oci_ub1 *p, void **ctx, oci_ub4 *it, oci_ub4 *ix)
{
    (void)p; (void)ctx; (void)it; (void)ix;
    return answer(c, "ogetpi", OCI_FC_OGETPI, 0);
}
#endif
