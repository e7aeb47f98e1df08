#pragma once
// The engine's demo schema, as a newcomer makes it with "karvello-db demo":
// user DEMO (password "demo") in the default database of this test run, its
// sample tables (STAFF has 14 rows), the view SALES_STAFF and the sample CSV
// files. Built once per test executable, on first use.
#include <string>

namespace testenv {

// 0 once the schema is there; otherwise karvello-db's exit status (or -1).
int demoSchema();

// Runs `script` (statements ended by ";") as DEMO through "karvello-db sql
// --stop-on-error"; 0 on success, otherwise its exit status with its error
// text in `*error`.
int demoSql(const std::string &script, std::string *error = nullptr);

// The folder the demo's sample CSV files were written to.
std::string demoSamplesDir();

} // namespace testenv
