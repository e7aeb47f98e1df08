// The engine's SQL on arbitrary text, twice: the parser alone, which must
// either build a statement or refuse with an Oracle error, and the whole
// statement through the exported calls on a throwaway schema (parse,
// describe, define, bind, execute, fetch). Statements that would change the
// schema or end the transaction are only parsed, so that every input meets the
// same tables; what a statement changes is rolled back. A CREATE of a new
// table or view runs, is queried and is dropped again.
#include "embedded/Admin.h"
#include "embedded/Parser.h"
#include "embedded/SqlError.h"
#include "fuzz/FuzzCheck.h"
#include "oracle/oci7.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

constexpr int kInternalError = 600;

Lda_Def lda{};
hda_def hda{};
std::string folder;

const oci_text *text(const char *s)
{
    return reinterpret_cast<const oci_text *>(s);
}

int run(const std::string &sql)
{
    Cda_Def cda{};
    if (oopen(&cda, &lda, nullptr, -1, -1, nullptr, -1) != 0)
        return cda.rc;
    int rc = oparse(&cda, text(sql.c_str()), oci_sb4(sql.size()), 0, 1) == 0 && oexec(&cda) == 0 ? 0 : cda.rc;
    oclose(&cda);
    return rc;
}

// Tables of every type the engine has, a few rows and a view over them.
const char *const kSchema[] = {
    ("CREATE TABLE T (ID NUMBER(10) PRIMARY KEY, NAME VARCHAR2(20) NOT NULL, CODE CHAR(3) DEFAULT 'AB',"
     " AMOUNT NUMBER(8,2), BORN DATE, NOTE LONG, BYTES RAW(8), N NUMBER, CONSTRAINT T_NAME UNIQUE (NAME))"),
    "CREATE TABLE U (K INTEGER, V VARCHAR(40), S TIMESTAMP)",
    "INSERT INTO T VALUES (1, 'first', 'X', 12.5, TO_DATE('2024-01-31', 'YYYY-MM-DD'), 'long text', 'AB01', -0.5)",
    "INSERT INTO T (ID, NAME, AMOUNT) VALUES (2, 'second', NULL)",
    "INSERT INTO U VALUES (7, 'seven', NULL)",
    "CREATE VIEW V AS SELECT ID, NAME || CODE AS NC, AMOUNT * 2 AS TWICE FROM T WHERE ID > 0",
    "COMMIT",
};

// The object a CREATE makes when it names none of the fixed schema's; empty
// otherwise.
std::string createdObject(const kdb::sql::Statement &statement)
{
    std::string name;
    if (statement.createTable)
        name = statement.createTable->name;
    else if (statement.createView)
        name = statement.createView->name;
    return name == "T" || name == "U" || name == "V" ? std::string() : name;
}

bool changesSchemaOrTransaction(kdb::sql::StatementKind kind)
{
    using kdb::sql::StatementKind;
    switch (kind) {
    case StatementKind::Select:
    case StatementKind::Insert:
    case StatementKind::Update:
    case StatementKind::Delete:
        return false;
    default:
        return true;
    }
}

// Describes and defines every select item (one buffer too small for most
// values, to take the cut path), binds :1..:3 where the statement has them,
// executes and fetches a few rows.
void execute(std::string_view sql)
{
    Cda_Def cda{};
    FUZZ_CHECK(oopen(&cda, &lda, nullptr, -1, -1, nullptr, -1) == 0);
    if (oparse(&cda, reinterpret_cast<const oci_text *>(sql.data()), oci_sb4(sql.size()), 0, 1) == 0) {
        std::vector<std::vector<oci_ub1>> buffers;
        std::vector<oci_sb2> indicators(64);
        for (int pos = 1; pos <= 64; ++pos) {
            oci_sb4 size = 0;
            oci_sb2 type = 0;
            // Names are cut to the capacity given; a short one on the heap
            // shows a write past it.
            std::vector<oci_sb1> name(pos % 2 ? 5 : 31);
            oci_sb4 nameLength = oci_sb4(name.size());
            if (odescr(&cda, pos, &size, &type, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != 0)
                break;
            FUZZ_CHECK(nameLength >= 0 && nameLength <= oci_sb4(name.size()));
            buffers.emplace_back(pos == 1 ? 4 : 200);
            odefin(&cda, pos, buffers.back().data(), oci_sword(buffers.back().size()), OCI_EXT_STRING, -1,
                   pos == 2 ? nullptr : &indicators[size_t(pos - 1)], nullptr, -1, -1, nullptr, nullptr);
        }
        static char values[][16] = {"1", "2024-01-31", "x"};
        for (int n = 1; n <= 3; ++n) {
            char *value = values[n - 1];
            obndrn(&cda, n, reinterpret_cast<oci_ub1 *>(value), oci_sword(std::strlen(value) + 1), OCI_EXT_STRING,
                   -1, nullptr, nullptr, -1, -1);
        }
        if (oexec(&cda) == 0) {
            for (int row = 0; row < 4; ++row) {
                const int rc = ofetch(&cda);
                if (rc != 0 && cda.rc != 1405 && cda.rc != 1406)
                    break;
            }
        }
    }
    // An internal error means the engine built SQL that SQLite refused or
    // let an exception of its own through: a fault of the engine, not of the
    // statement.
    if (cda.rc == kInternalError) {
        oci_text text[512];
        oerhms(&lda, cda.rc, text, sizeof text);
        std::fprintf(stderr, "%s\n", reinterpret_cast<const char *>(text));
    }
    FUZZ_CHECK(cda.rc != kInternalError);
    std::vector<oci_text> message(24);
    FUZZ_CHECK(oerhms(&lda, cda.rc, message.data(), oci_sword(message.size())) < oci_sword(message.size()));
    FUZZ_CHECK(oclose(&cda) == 0);
    orol(&lda);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char base[] = "/tmp/karvello-fuzz-sql-XXXXXX";
    FUZZ_CHECK(mkdtemp(base));
    folder = std::string(base) + "/db";
    FUZZ_CHECK(kdb::admin::createUser(folder, "fuzz", "fuzz") == 0);
    FUZZ_CHECK(olog(&lda, hda.data, text("fuzz"), -1, text("fuzz"), -1, text(folder.c_str()), -1, 0) == 0);
    for (const char *statement : kSchema)
        FUZZ_CHECK(run(statement) == 0);
    // The folder goes when the run ends; the open files keep it usable till then.
    std::atexit([] { std::filesystem::remove_all(std::filesystem::path(folder).parent_path()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view sql(reinterpret_cast<const char *>(data), size);
    bool parsed = false;
    bool runnable = false;
    std::string created;
    bool isView = false;
    try {
        const kdb::sql::Statement statement = kdb::sql::parseStatement(sql);
        parsed = true;
        runnable = !changesSchemaOrTransaction(statement.kind);
        created = createdObject(statement);
        isView = statement.createView != nullptr;
    } catch (const kdb::SqlError &error) {
        FUZZ_CHECK(error.code() > 0);
    }
    try {
        kdb::sql::parseExpression(sql);
    } catch (const kdb::SqlError &) {
    }
    if (!parsed || runnable)
        execute(sql);
    if (!created.empty() && run(std::string(sql)) == 0) {
        execute("SELECT * FROM \"" + created + "\"");
        // What could be created can be dropped, and the schema is as before.
        FUZZ_CHECK(run((isView ? "DROP VIEW \"" : "DROP TABLE \"") + created + "\"") == 0);
    }
    return 0;
}
