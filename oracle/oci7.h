/*
 * oci7.h - the version 7 client call interface, written down once.
 *
 * Both sides include this header: the program (oracle/), which loads a client
 * library at run time and calls it through a table of function pointers, and
 * the embedded engine (embedded/), which implements the calls over SQLite.
 * It is plain C so that either side, and any other client, can use it.
 *
 * Conventions of every call:
 *   - The return value is 0 on success and non-zero on failure.
 *   - The call writes its own function code into byte 10 of the area it was
 *     given (cursor area, or logon area for the logon-level calls) and the
 *     Oracle error number of its outcome into bytes 12-13 (0 on success).
 *   - A text length of -1 means the text is NUL-terminated.
 *   - Text is a byte string in the caller's code page; nothing is converted.
 */
#ifndef KARVELLO_ORACLE_OCI7_H
#define KARVELLO_ORACLE_OCI7_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Scalar types of the interface, sized as on a 64-bit Linux client. */
typedef int           oci_sword;   /* plain int: counts, flags, return values */
typedef int8_t        oci_sb1;
typedef uint8_t       oci_ub1;
typedef int16_t       oci_sb2;
typedef uint16_t      oci_ub2;
typedef int32_t       oci_sb4;
typedef uint32_t      oci_ub4;
typedef unsigned char oci_text;    /* one byte of text in the caller's code page */

/*
 * The cursor data area: 64 bytes that the caller owns. A library writes only
 * the documented fields below; the rest is reserved for it and must not be
 * relied on. The logon data area (Lda) has the same layout.
 */
#define OCI_CDA_SIZE 64
typedef struct cda_def {
    oci_sb2 v2_rc;          /* version 2 return code; unused                   */
    oci_ub2 ft;             /* SQL function type of the parsed statement:
                               3 INSERT, 4 SELECT, 5 UPDATE, 9 DELETE          */
    oci_ub4 rpc;            /* rows processed so far by the statement          */
    oci_ub2 peo;            /* parse error offset; unused                      */
    oci_ub1 fc;             /* code of the call that last used the area        */
    oci_ub1 rcs1;           /* reserved                                        */
    oci_ub2 rc;             /* Oracle error number of that call; 0 on success  */
    oci_ub1 reserved[OCI_CDA_SIZE - 14]; /* the library's; never read          */
} cda_def;

typedef cda_def Lda_Def;    /* logon data area: one per session                */
typedef cda_def Cda_Def;    /* cursor data area: one per open cursor           */

/* The host data area: 256 bytes the caller provides to olog and keeps for the
 * life of the session. Only the library reads or writes it. */
#define OCI_HDA_SIZE 256
typedef struct hda_def {
    oci_ub1 data[OCI_HDA_SIZE];
} hda_def;

/* Byte offsets of the two fields every caller reads. */
#define OCI_CDA_FC_OFFSET 10
#define OCI_CDA_RC_OFFSET 12

#ifdef __cplusplus
static_assert(sizeof(cda_def) == OCI_CDA_SIZE, "cursor data area is 64 bytes");
static_assert(offsetof(cda_def, fc) == OCI_CDA_FC_OFFSET, "function code at byte 10");
static_assert(offsetof(cda_def, rc) == OCI_CDA_RC_OFFSET, "return code at byte 12");
#else
_Static_assert(sizeof(cda_def) == OCI_CDA_SIZE, "cursor data area is 64 bytes");
_Static_assert(offsetof(cda_def, fc) == OCI_CDA_FC_OFFSET, "function code at byte 10");
_Static_assert(offsetof(cda_def, rc) == OCI_CDA_RC_OFFSET, "return code at byte 12");
#endif

/* Function codes written into byte 10. */
enum {
    OCI_FC_OEXEC  = 4,
    OCI_FC_ODEFIN = 8,
    OCI_FC_OFETCH = 12,
    OCI_FC_OOPEN  = 14,
    OCI_FC_OCLOSE = 16,
    OCI_FC_OBNDRV = 28,
    OCI_FC_OBNDRN = 30,
    OCI_FC_OCAN   = 52,
    OCI_FC_OPARSE = 54,
    OCI_FC_ODESCR = 60,
    OCI_FC_OBNDRA = 62,
    OCI_FC_OGETPI = 65,
    /* The logon-area calls have no classic code; these are the engine's own. */
    OCI_FC_OLOG   = 200,
    OCI_FC_OLOGOF = 201,
    OCI_FC_OCON   = 202,
    OCI_FC_OCOF   = 203,
    OCI_FC_OCOM   = 204,
    OCI_FC_OROL   = 205,
    OCI_FC_ODESSP = 206
};

/* SQL function types written into bytes 2-3 at parse. */
enum {
    OCI_FT_INSERT = 3,
    OCI_FT_SELECT = 4,
    OCI_FT_UPDATE = 5,
    OCI_FT_DELETE = 9
};

/* Internal (database) type codes that odescr reports. */
enum {
    OCI_TYPE_VARCHAR2  = 1,
    OCI_TYPE_NUMBER    = 2,
    OCI_TYPE_LONG      = 8,
    OCI_TYPE_ROWID     = 11,
    OCI_TYPE_DATE      = 12,
    OCI_TYPE_RAW       = 23,
    OCI_TYPE_CHAR      = 96,
    OCI_TYPE_TIMESTAMP = 180
};

/* External type: a NUL-terminated character string. The only type the
 * program binds or defines with. */
#define OCI_EXT_STRING 5

/* Oracle error numbers the program and the engine rely on. */
enum {
    OCI_ERR_UNIQUE          = 1,     /* unique constraint violated             */
    OCI_ERR_BUSY            = 54,    /* resource busy (another session writes) */
    OCI_ERR_INVALID_IDENT   = 904,   /* invalid identifier                     */
    OCI_ERR_NO_TABLE        = 942,   /* table or view does not exist           */
    OCI_ERR_NOT_CONNECTED   = 1012,  /* not logged on                          */
    OCI_ERR_LOGON_DENIED    = 1017,  /* invalid username/password              */
    OCI_ERR_FETCH_OUT_OF_SEQ = 1002, /* fetch out of sequence                  */
    OCI_ERR_INVALID_CURSOR  = 1001,  /* invalid cursor                         */
    OCI_ERR_NO_COLUMN       = 1007,  /* variable not in select list            */
    OCI_ERR_NO_DATA         = 1403,  /* no data found: the end of the rows     */
    OCI_ERR_NULL_FETCHED    = 1405,  /* fetched column value is NULL           */
    OCI_ERR_TRUNCATED       = 1406,  /* fetched column value was truncated     */
    OCI_ERR_NOT_NULL        = 1400,  /* cannot insert NULL                     */
    OCI_ERR_PRECISION       = 1438,  /* value larger than specified precision  */
    OCI_ERR_INVALID_NUMBER  = 1722,  /* invalid number                         */
    OCI_ERR_TOO_LARGE       = 12899  /* value too large for column             */
};

/*
 * The 20 calls, in the order of the program's entry-point table.
 */

/* Logs on: fills the logon area and the host data area for a session of user
 * `uid` (length uidl) with password `pswd` in the database `conn`. mode 0 is
 * blocking. 1017 for a wrong password or an unknown user alike. */
oci_sword olog(Lda_Def *lda, oci_ub1 *hda,
               const oci_text *uid, oci_sword uidl,
               const oci_text *pswd, oci_sword pswdl,
               const oci_text *conn, oci_sword connl,
               oci_ub4 mode);

/* Closes the cursor area: frees what the library kept for it. */
oci_sword oclose(Cda_Def *cursor);

/* Logs off: commits, closes the session's cursors and frees the session. */
oci_sword ologof(Lda_Def *lda);

/* Opens a cursor area on the session of `lda`. The program passes null, -1,
 * -1, null, -1 for the remaining (historic) arguments. */
oci_sword oopen(Cda_Def *cursor, Lda_Def *lda,
                const oci_text *dbn, oci_sword dbnl, oci_sword arsize,
                const oci_text *uid, oci_sword uidl);

/* Parses one SQL statement (length sqllen, -1 for NUL-terminated) on the
 * cursor. defflg 0 parses at once; lngflg 1 asks for version 7 behaviour. */
oci_sword oparse(Cda_Def *cursor, const oci_text *sqlstm, oci_sb4 sqllen,
                 oci_sword defflg, oci_ub4 lngflg);

/* Defines the output buffer of select-list position `pos` (from 1). With
 * ftype 5 each fetch writes the value as NUL-terminated text of at most bufl
 * bytes, terminator included. indp, fmt, rlen and rcode may be null. */
oci_sword odefin(Cda_Def *cursor, oci_sword pos, oci_ub1 *buf, oci_sword bufl,
                 oci_sword ftype, oci_sword scale, oci_sb2 *indp,
                 const oci_text *fmt, oci_sword fmtl, oci_sword fmtt,
                 oci_ub2 *rlen, oci_ub2 *rcode);

/* Executes the parsed statement with its current binds. */
oci_sword oexec(Cda_Def *cursor);

/* Fetches the next row into the defined buffers. 1403 at the end of the rows;
 * 1405 when a row came and one of its values is NULL with no indicator. */
oci_sword ofetch(Cda_Def *cursor);

/* Writes the message text of error `rcode` into buf (NUL-terminated, cut to
 * bufsiz bytes) and returns its length. */
oci_sword oerhms(Lda_Def *lda, oci_sb2 rcode, oci_text *buf, oci_sword bufsiz);

/* Describes select-list position `pos` (from 1). cbufl holds the capacity of
 * cbuf on entry and the name's length on return; the name is not
 * NUL-terminated. 1007 past the last item. dsize, prec, scale and nullok may
 * be null. */
oci_sword odescr(Cda_Def *cursor, oci_sword pos, oci_sb4 *dbsize,
                 oci_sb2 *dbtype, oci_sb1 *cbuf, oci_sb4 *cbufl,
                 oci_sb4 *dsize, oci_sb2 *prec, oci_sb2 *scale,
                 oci_sb2 *nullok);

/* Binds the program variable progv (progvl bytes) to placeholder ":n",
 * n = sqlvn. The library reads the value when the statement executes. */
oci_sword obndrn(Cda_Def *cursor, oci_sword sqlvn, oci_ub1 *progv,
                 oci_sword progvl, oci_sword ftype, oci_sword scale,
                 oci_sb2 *indp, const oci_text *fmt, oci_sword fmtl,
                 oci_sword fmtt);

/* Binds by placeholder name (":NAME", length sqlvl). */
oci_sword obndrv(Cda_Def *cursor, const oci_text *sqlvar, oci_sword sqlvl,
                 oci_ub1 *progv, oci_sword progvl, oci_sword ftype,
                 oci_sword scale, oci_sb2 *indp, const oci_text *fmt,
                 oci_sword fmtl, oci_sword fmtt);

/* Cancels the current query of the cursor. */
oci_sword ocan(Cda_Def *cursor);

/* Turns auto-commit after every statement on (ocon) or off (ocof). */
oci_sword ocon(Lda_Def *lda);
oci_sword ocof(Lda_Def *lda);

/* Commits (ocom) or rolls back (orol) the session's transaction. */
oci_sword ocom(Lda_Def *lda);
oci_sword orol(Lda_Def *lda);

/* Binds a program array by placeholder name. */
oci_sword obndra(Cda_Def *cursor, const oci_text *sqlvar, oci_sword sqlvl,
                 oci_ub1 *progv, oci_sword progvl, oci_sword ftype,
                 oci_sword scale, oci_sb2 *indp, oci_ub2 *alen,
                 oci_ub2 *arcode, oci_ub4 maxsiz, oci_ub4 *cursiz,
                 const oci_text *fmt, oci_sword fmtl, oci_sword fmtt);

/* Describes the parameters of a stored procedure. */
oci_sword odessp(Lda_Def *lda, const oci_text *objnam, size_t onlen,
                 oci_ub1 *rsv1, size_t rsv1ln, oci_ub1 *rsv2, size_t rsv2ln,
                 oci_ub2 *ovrld, oci_ub2 *pos, oci_ub2 *level,
                 oci_text **argnm, oci_ub2 *arnlen, oci_ub2 *dtype,
                 oci_ub1 *defsup, oci_ub1 *mode, oci_ub4 *dtsiz,
                 oci_sb2 *prec, oci_sb2 *scale, oci_ub1 *radix,
                 oci_ub4 *spare, oci_ub4 *arrsiz);

/* Returns information about the next piece of a piecewise operation. */
oci_sword ogetpi(Cda_Def *cursor, oci_ub1 *piecep, void **ctxpp,
                 oci_ub4 *iterp, oci_ub4 *indexp);

/* Function pointer types, for callers that load a library at run time. */
typedef oci_sword (*oci_olog_fn)(Lda_Def *, oci_ub1 *, const oci_text *, oci_sword,
                                 const oci_text *, oci_sword, const oci_text *,
                                 oci_sword, oci_ub4);
typedef oci_sword (*oci_oclose_fn)(Cda_Def *);
typedef oci_sword (*oci_ologof_fn)(Lda_Def *);
typedef oci_sword (*oci_oopen_fn)(Cda_Def *, Lda_Def *, const oci_text *, oci_sword,
                                  oci_sword, const oci_text *, oci_sword);
typedef oci_sword (*oci_oparse_fn)(Cda_Def *, const oci_text *, oci_sb4, oci_sword,
                                   oci_ub4);
typedef oci_sword (*oci_odefin_fn)(Cda_Def *, oci_sword, oci_ub1 *, oci_sword,
                                   oci_sword, oci_sword, oci_sb2 *, const oci_text *,
                                   oci_sword, oci_sword, oci_ub2 *, oci_ub2 *);
typedef oci_sword (*oci_oexec_fn)(Cda_Def *);
typedef oci_sword (*oci_ofetch_fn)(Cda_Def *);
typedef oci_sword (*oci_oerhms_fn)(Lda_Def *, oci_sb2, oci_text *, oci_sword);
typedef oci_sword (*oci_odescr_fn)(Cda_Def *, oci_sword, oci_sb4 *, oci_sb2 *,
                                   oci_sb1 *, oci_sb4 *, oci_sb4 *, oci_sb2 *,
                                   oci_sb2 *, oci_sb2 *);
typedef oci_sword (*oci_obndrn_fn)(Cda_Def *, oci_sword, oci_ub1 *, oci_sword,
                                   oci_sword, oci_sword, oci_sb2 *, const oci_text *,
                                   oci_sword, oci_sword);
typedef oci_sword (*oci_obndrv_fn)(Cda_Def *, const oci_text *, oci_sword, oci_ub1 *,
                                   oci_sword, oci_sword, oci_sword, oci_sb2 *,
                                   const oci_text *, oci_sword, oci_sword);
typedef oci_sword (*oci_ocan_fn)(Cda_Def *);
typedef oci_sword (*oci_ocon_fn)(Lda_Def *);
typedef oci_sword (*oci_ocof_fn)(Lda_Def *);
typedef oci_sword (*oci_ocom_fn)(Lda_Def *);
typedef oci_sword (*oci_orol_fn)(Lda_Def *);
typedef oci_sword (*oci_obndra_fn)(Cda_Def *, const oci_text *, oci_sword, oci_ub1 *,
                                   oci_sword, oci_sword, oci_sword, oci_sb2 *,
                                   oci_ub2 *, oci_ub2 *, oci_ub4, oci_ub4 *,
                                   const oci_text *, oci_sword, oci_sword);
typedef oci_sword (*oci_odessp_fn)(Lda_Def *, const oci_text *, size_t, oci_ub1 *,
                                   size_t, oci_ub1 *, size_t, oci_ub2 *, oci_ub2 *,
                                   oci_ub2 *, oci_text **, oci_ub2 *, oci_ub2 *,
                                   oci_ub1 *, oci_ub1 *, oci_ub4 *, oci_sb2 *,
                                   oci_sb2 *, oci_ub1 *, oci_ub4 *, oci_ub4 *);
typedef oci_sword (*oci_ogetpi_fn)(Cda_Def *, oci_ub1 *, void **, oci_ub4 *,
                                   oci_ub4 *);

#ifdef __cplusplus
}
#endif

#endif /* KARVELLO_ORACLE_OCI7_H */
