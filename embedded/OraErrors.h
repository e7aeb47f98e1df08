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
std::string oraMessage(int code, std::string_view detail = {});

} // namespace kdb
