#pragma once
// The message texts of the Oracle error numbers the engine reports.
#include <string>
#include <string_view>

namespace kdb {

// "ORA-nnnnn: text" in Oracle's classic English wording. Where the message
// carries details (the column of a 12899, the constraint of a 1), `detail`
// replaces the placeholder part, e.g. for 12899:
//   detail "\"DEMO\".\"T\".\"C\" (actual: 5, maximum: 3)" gives
//   "ORA-12899: value too large for column \"DEMO\".\"T\".\"C\" (actual: 5, maximum: 3)".
// An empty detail gives the generic wording. An unknown number gives
// "ORA-nnnnn: Message nnnnn not found;  product=RDBMS; facility=ORA".
// Messages without a placeholder ignore the detail.
//
// What `detail` holds, by code:
//   1, 2290, 2291, 2292  the constraint: SCHEMA.NAME        "unique constraint (DEMO.SYS_C0000012) violated"
//   904                  the identifier as written: "ABC"   "\"ABC\": invalid identifier"
//   932                  expected X got Y                   "inconsistent datatypes: expected NUMBER got DATE"
//   1400, 1407           the column: "SCHEMA"."TABLE"."COL" "cannot insert NULL into (\"DEMO\".\"T\".\"C\")"
//   1428                 the argument's value               "argument '-1' is out of range"
//   1918, 1920           the user name                      "user 'SCOTT' does not exist"
//   12899                the column and the sizes, as above
// Every number the engine reports has its wording; the list is in
// OraErrors.cpp.
std::string oraMessage(int code, std::string_view detail = {});

} // namespace kdb
