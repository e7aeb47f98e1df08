#include "embedded/OraErrors.h"

#include <algorithm>
#include <cstdio>

namespace kdb {
namespace {

// `pattern` holds "%s" where the detail goes; `generic` is the wording when
// the caller has no detail (null: the pattern has no placeholder).
struct Message {
    int code;
    const char *pattern;
    const char *generic;
};

constexpr Message kMessages[] = {
    {1, "unique constraint (%s) violated", "unique constraint violated"},
    {54, "resource busy and acquire with NOWAIT specified or timeout expired", nullptr},
    {600, "internal error code, arguments: [%s]", "internal error code"},
    {900, "invalid SQL statement", nullptr},
    {901, "invalid CREATE command", nullptr},
    {902, "invalid datatype", nullptr},
    {903, "invalid table name", nullptr},
    {904, "%s: invalid identifier", "invalid identifier"},
    {905, "missing keyword", nullptr},
    {906, "missing left parenthesis", nullptr},
    {907, "missing right parenthesis", nullptr},
    {908, "missing NULL keyword", nullptr},
    {909, "invalid number of arguments", nullptr},
    {910, "specified length too long for its datatype", nullptr},
    {911, "invalid character", nullptr},
    {913, "too many values", nullptr},
    {917, "missing comma", nullptr},
    {918, "column ambiguously defined", nullptr},
    {920, "invalid relational operator", nullptr},
    {921, "unexpected end of SQL command", nullptr},
    {922, "missing or invalid option", nullptr},
    {923, "FROM keyword not found where expected", nullptr},
    {924, "missing BY keyword", nullptr},
    {925, "missing INTO keyword", nullptr},
    {926, "missing VALUES keyword", nullptr},
    {927, "missing equal sign", nullptr},
    {928, "missing SELECT keyword", nullptr},
    {932, "inconsistent datatypes: %s", "inconsistent datatypes"},
    {933, "SQL command not properly ended", nullptr},
    {934, "group function is not allowed here", nullptr},
    {935, "group function is nested too deeply", nullptr},
    {936, "missing expression", nullptr},
    {937, "not a single-group group function", nullptr},
    {942, "table or view does not exist", nullptr},
    {947, "not enough values", nullptr},
    {950, "invalid DROP option", nullptr},
    {955, "name is already used by an existing object", nullptr},
    {957, "duplicate column name", nullptr},
    {971, "missing SET keyword", nullptr},
    {972, "identifier is too long", nullptr},
    {984, "column not allowed here", nullptr},
    {988, "missing or invalid password(s)", nullptr},
    {998, "must name this expression with a column alias", nullptr},
    {1001, "invalid cursor", nullptr},
    {1002, "fetch out of sequence", nullptr},
    {1003, "no statement parsed", nullptr},
    {1007, "variable not in select list", nullptr},
    {1008, "not all variables bound", nullptr},
    {1009, "missing mandatory parameter", nullptr},
    {1012, "not logged on", nullptr},
    {1013, "user requested cancel of current operation", nullptr},
    {1017, "invalid username/password; logon denied", nullptr},
    {1027, "bind variables not allowed for data definition operations", nullptr},
    {1031, "insufficient privileges", nullptr},
    {1036, "illegal variable name/number", nullptr},
    {1114, "IO error writing block to file", nullptr},
    {1116, "error in opening database file", nullptr},
    {1400, "cannot insert NULL into (%s)", "cannot insert NULL"},
    {1401, "inserted value too large for column", nullptr},
    {1403, "no data found", nullptr},
    {1405, "fetched column value is NULL", nullptr},
    {1406, "fetched column value was truncated", nullptr},
    {1407, "cannot update (%s) to NULL", "cannot update to NULL"},
    {1410, "invalid ROWID", nullptr},
    {1422, "exact fetch returns more than requested number of rows", nullptr},
    {1425, "escape character must be character string of length 1", nullptr},
    {1426, "numeric overflow", nullptr},
    {1428, "argument '%s' is out of range", "argument is out of range"},
    {1438, "value larger than specified precision allowed for this column", nullptr},
    {1455, "converting column overflows integer datatype", nullptr},
    {1465, "invalid hex number", nullptr},
    {1476, "divisor is equal to zero", nullptr},
    {1481, "invalid number format model", nullptr},
    {1722, "invalid number", nullptr},
    {1723, "zero-length columns are not allowed", nullptr},
    {1727, "numeric precision specifier is out of range (1 to 38)", nullptr},
    {1728, "numeric scale specifier is out of range (-84 to 127)", nullptr},
    {1730, "invalid number of column names specified", nullptr},
    {1732, "data manipulation operation not legal on this view", nullptr},
    {1740, "missing double quote in identifier", nullptr},
    {1741, "illegal zero-length identifier", nullptr},
    {1756, "quoted string not properly terminated", nullptr},
    {1785, "ORDER BY item must be the number of a SELECT-list expression", nullptr},
    {1789, "query block has incorrect number of result columns", nullptr},
    {1792, "maximum number of columns in a table or view is 1000", nullptr},
    {1810, "format code appears twice", nullptr},
    {1821, "date format not recognized", nullptr},
    {1830, "date format picture ends before converting entire input string", nullptr},
    {1839, "date not valid for month specified", nullptr},
    {1841, "(full) year must be between -4713 and +9999, and not be 0", nullptr},
    {1843, "not a valid month", nullptr},
    {1846, "not a valid day of the week", nullptr},
    {1847, "day of month must be between 1 and last day of month", nullptr},
    {1848, "day of year must be between 1 and 365 (366 for leap year)", nullptr},
    {1849, "hour must be between 1 and 12", nullptr},
    {1850, "hour must be between 0 and 23", nullptr},
    {1851, "minutes must be between 0 and 59", nullptr},
    {1852, "seconds must be between 0 and 59", nullptr},
    {1853, "seconds in day must be between 0 and 86399", nullptr},
    {1855, "AM/A.M. or PM/P.M. required", nullptr},
    {1858, "a non-numeric character was found where a numeric was expected", nullptr},
    {1861, "literal does not match format string", nullptr},
    {1862, "the numeric value does not match the length of the format item", nullptr},
    {1918, "user '%s' does not exist", "user does not exist"},
    {1920, "user name '%s' conflicts with another user or role name",
     "user name conflicts with another user or role name"},
    {1935, "missing user or role name", nullptr},
    {2017, "integer value required", nullptr},
    {2091, "transaction rolled back", nullptr},
    {2260, "table can have only one primary key", nullptr},
    {2261, "such unique or primary key already exists in the table", nullptr},
    {2264, "name already used by an existing constraint", nullptr},
    {2290, "check constraint (%s) violated", "check constraint violated"},
    {2291, "integrity constraint (%s) violated - parent key not found",
     "integrity constraint violated - parent key not found"},
    {2292, "integrity constraint (%s) violated - child record found",
     "integrity constraint violated - child record found"},
    {3001, "unimplemented feature", nullptr},
    {3115, "unsupported network datatype or representation", nullptr},
    {3290, "Invalid truncate command - missing CLUSTER or TABLE keyword", nullptr},
    {4063, "%s has errors", "view has errors"},
    {12899, "value too large for column %s", "value too large for column"},
    {16000, "database or pluggable database open for read-only access", nullptr},
    {22818, "subquery expressions not allowed here", nullptr},
    {24333, "zero iteration count", nullptr},
    {24338, "statement handle not executed", nullptr},
    {24374, "define not done before fetch or execute and fetch", nullptr},
    {30088, "datetime/interval precision is out of range", nullptr},
};

constexpr bool sortedByCode()
{
    for (size_t i = 1; i < std::size(kMessages); ++i)
        if (kMessages[i - 1].code >= kMessages[i].code)
            return false;
    return true;
}
static_assert(sortedByCode(), "kMessages must stay sorted by code for the lookup");

const Message *find(int code)
{
    const auto *end = std::end(kMessages);
    const auto *it = std::lower_bound(std::begin(kMessages), end, code,
                                      [](const Message &m, int c) { return m.code < c; });
    return it != end && it->code == code ? it : nullptr;
}

std::string prefix(int code)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "ORA-%05d: ", code);
    return buf;
}

} // namespace

std::string oraMessage(int code, std::string_view detail)
{
    std::string text = prefix(code);
    const Message *m = find(code);
    if (!m) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "Message %d not found;  product=RDBMS; facility=ORA", code);
        return text + buf;
    }
    const std::string_view pattern = m->pattern;
    const size_t hole = pattern.find("%s");
    if (hole == std::string_view::npos) {
        text += pattern;
    } else if (detail.empty()) {
        text += m->generic;
    } else {
        text += pattern.substr(0, hole);
        text += detail;
        text += pattern.substr(hole + 2);
    }
    return text;
}

} // namespace kdb
