// demo: the schema someone who has never seen the program can try it on,
// built through the call interface like any other client would.
#include "karvello_db_commands.h"
#include "karvello_db_oci.h"
#include "karvello_db_samples.h"

#include "embedded/Admin.h"

#include <cstdio>

namespace kdbtool {
namespace {

const char kDemoUser[] = "DEMO";
const char kDemoPassword[] = "demo";

// Every type the program maps, a primary key on each table, a NOT NULL and
// an unconstrained NUMBER. STAFF has 14 rows; PRODUCTS is where the sample
// CSV files go.
const char *const kSchema[] = {
    "CREATE TABLE SECTIONS (SECTION_ID NUMBER(2) PRIMARY KEY, NAME VARCHAR2(20) NOT NULL, CITY VARCHAR2(20))",
    "INSERT INTO SECTIONS VALUES (10, 'Head Office', 'Helsinki')",
    "INSERT INTO SECTIONS VALUES (20, 'Research', 'Tampere')",
    "INSERT INTO SECTIONS VALUES (30, 'Sales', 'Osaka')",
    "INSERT INTO SECTIONS VALUES (40, 'Operations', 'Porto')",

    "CREATE TABLE STAFF (STAFF_ID NUMBER(4) PRIMARY KEY, NAME VARCHAR2(20) NOT NULL, ROLE VARCHAR2(12), "
    "GRADE CHAR(2), MANAGER_ID NUMBER(4), HIRED DATE, SALARY NUMBER(7,2), BONUS NUMBER(7,2), SECTION_ID NUMBER(2))",
    "INSERT INTO STAFF VALUES (7001, 'Aino Virtanen', 'DIRECTOR', 'A1', NULL, "
    "TO_DATE('2012-03-01', 'YYYY-MM-DD'), 9200, NULL, 10)",
    "INSERT INTO STAFF VALUES (7002, 'Tomás Reis', 'MANAGER', 'B1', 7001, "
    "TO_DATE('2013-06-17', 'YYYY-MM-DD'), 6100, NULL, 20)",
    "INSERT INTO STAFF VALUES (7003, 'Keiko Mori', 'MANAGER', 'B1', 7001, "
    "TO_DATE('2014-01-06', 'YYYY-MM-DD'), 5900, NULL, 30)",
    "INSERT INTO STAFF VALUES (7004, 'Jonas Lind', 'MANAGER', 'B2', 7001, "
    "TO_DATE('2015-09-21', 'YYYY-MM-DD'), 5400, NULL, 40)",
    "INSERT INTO STAFF VALUES (7005, 'Elina Koski', 'ANALYST', 'C1', 7002, "
    "TO_DATE('2016-02-01 09:30:00', 'YYYY-MM-DD HH24:MI:SS'), 4300, NULL, 20)",
    "INSERT INTO STAFF VALUES (7006, 'Rui Almeida', 'ANALYST', 'C1', 7002, "
    "TO_DATE('2016-11-14', 'YYYY-MM-DD'), 4250.5, NULL, 20)",
    "INSERT INTO STAFF VALUES (7007, 'Sanna Halme', 'ENGINEER', 'C2', 7002, "
    "TO_DATE('2018-04-03', 'YYYY-MM-DD'), 3900, NULL, 20)",
    "INSERT INTO STAFF VALUES (7008, 'Hiroshi Sato', 'SALES', 'C2', 7003, "
    "TO_DATE('2017-05-08', 'YYYY-MM-DD'), 3100, 450, 30)",
    "INSERT INTO STAFF VALUES (7009, 'Marta Costa', 'SALES', 'C2', 7003, "
    "TO_DATE('2019-08-19', 'YYYY-MM-DD'), 2950, 300, 30)",
    "INSERT INTO STAFF VALUES (7010, 'Yuki Ono', 'SALES', 'C3', 7003, "
    "TO_DATE('2021-10-04', 'YYYY-MM-DD'), 2700, 0, 30)",
    "INSERT INTO STAFF VALUES (7011, 'Pekka Laine', 'CLERK', 'D1', 7004, "
    "TO_DATE('2019-01-14', 'YYYY-MM-DD'), 2300, NULL, 40)",
    "INSERT INTO STAFF VALUES (7012, 'Inês Faria', 'CLERK', 'D1', 7004, "
    "TO_DATE('2020-03-30', 'YYYY-MM-DD'), 2250, NULL, 40)",
    "INSERT INTO STAFF VALUES (7013, 'Ville Aalto', 'CLERK', 'D2', 7001, "
    "TO_DATE('2022-07-11', 'YYYY-MM-DD'), 2100, NULL, 10)",
    "INSERT INTO STAFF VALUES (7014, 'Naomi Ito', 'CLERK', 'D2', 7002, "
    "TO_DATE('2023-12-04 13:15:00', 'YYYY-MM-DD HH24:MI:SS'), 1950.75, NULL, 20)",

    "CREATE VIEW SALES_STAFF AS SELECT STAFF_ID, NAME, ROLE, HIRED, SALARY, BONUS FROM STAFF WHERE SECTION_ID = 30",

    "CREATE TABLE PRODUCTS (CODE CHAR(6) PRIMARY KEY, NAME VARCHAR2(40) NOT NULL, PRICE NUMBER(8,2), "
    "STOCK NUMBER, RELEASED DATE)",
    "INSERT INTO PRODUCTS VALUES ('P00001', '煎茶 100g', 1080, 50, "
    "TO_DATE('2023-01-16 09:00:00', 'YYYY-MM-DD HH24:MI:SS'))",
    "INSERT INTO PRODUCTS VALUES ('P00002', '急須', 3500, 8, TO_DATE('2022-11-01', 'YYYY-MM-DD'))",
    "INSERT INTO PRODUCTS VALUES ('P00003', '茶こし', 450, NULL, NULL)",
};

// Creates the tables and rows as DEMO; false after reporting the statement
// that failed.
bool buildSchema(const std::string &connect)
{
    Session session;
    int rc = session.logon(kDemoUser, kDemoPassword, connect);
    Cursor cursor(session);
    if (rc == 0)
        rc = cursor.open();
    if (rc) {
        printError(session.errorText(rc));
        return false;
    }
    for (const char *statement : kSchema) {
        rc = cursor.parse(statement);
        if (rc == 0)
            rc = cursor.execute();
        if (rc) {
            printError("the demo schema could not be built:\n" + std::string(statement) + "\n" +
                       session.errorText(rc));
            return false;
        }
    }
    if ((rc = session.commit())) {
        printError(session.errorText(rc));
        return false;
    }
    return true;
}

} // namespace

int demoCommand(const Options &options)
{
    const std::string connect = options.db.value_or(std::string());
    const std::string database = kdb::admin::databaseFolder(connect);
    std::string message;
    if (kdb::admin::userExists(connect, kDemoUser)) {
        if (!options.force) {
            printError(std::string("user ") + kDemoUser + " already exists in " + database +
                       "; its tables and rows are left as they are. Run \"karvello-db demo --force\" to drop "
                       "and recreate it.");
            return ExitFailed;
        }
        if (int rc = kdb::admin::dropUser(connect, kDemoUser, &message))
            return reportAdminError(rc, message);
    }
    if (int rc = kdb::admin::createUser(connect, kDemoUser, kDemoPassword, &message))
        return reportAdminError(rc, message);
    if (!buildSchema(connect)) {
        // A half-built schema would block the next try without --force.
        kdb::admin::dropUser(connect, kDemoUser);
        return ExitFailed;
    }

    std::printf("User %s (password \"%s\") created in %s\n", kDemoUser, kDemoPassword, database.c_str());
    std::printf("  tables SECTIONS (4 rows), STAFF (14 rows), PRODUCTS (3 rows); view SALES_STAFF\n");
    const std::string folder = options.samples.value_or(defaultSamplesFolder());
    std::vector<std::string> written;
    if (!writeSamples(folder, &written, &message)) {
        printError(message);
        return ExitFailed;
    }
    std::printf("Sample CSV files for PRODUCTS in %s\n", folder.c_str());
    for (const std::string &path : written)
        std::printf("  %s\n", path.c_str());
    return ExitOk;
}

} // namespace kdbtool
