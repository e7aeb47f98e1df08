#pragma once
// Failures inside the engine travel as SqlError: an Oracle error number and
// the detail that the message places in its placeholder (a column, a
// constraint, an identifier). Only the exported calls turn them into return
// codes; nothing of this kind crosses the C boundary.
#include <stdexcept>
#include <string>

namespace kdb {

class SqlError : public std::exception {
public:
    explicit SqlError(int code, std::string detail = {}) : m_code(code), m_detail(std::move(detail)) {}
    int code() const { return m_code; }
    const std::string &detail() const { return m_detail; }
    const char *what() const noexcept override { return "SQL error"; }

private:
    int m_code;
    std::string m_detail;
};

// The Oracle error numbers the engine itself reports, by name.
namespace ora {
constexpr int kUnique = 1;
constexpr int kBusy = 54;
constexpr int kInternal = 600;
constexpr int kInvalidStatement = 900;
constexpr int kCreateKeyword = 901;
constexpr int kInvalidDatatype = 902;
constexpr int kInvalidTableName = 903;
constexpr int kInvalidIdentifier = 904;
constexpr int kMissingKeyword = 905;
constexpr int kMissingLeftParen = 906;
constexpr int kMissingRightParen = 907;
constexpr int kMissingNull = 908;
constexpr int kArgumentCount = 909;
constexpr int kLengthTooLong = 910;
constexpr int kInvalidCharacter = 911;
constexpr int kTooManyValues = 913;
constexpr int kMissingComma = 917;
constexpr int kAmbiguousColumn = 918;
constexpr int kInvalidRelOp = 920;
constexpr int kUnexpectedEnd = 921;
constexpr int kMissingOption = 922;
constexpr int kMissingFrom = 923;
constexpr int kMissingBy = 924;
constexpr int kMissingInto = 925;
constexpr int kMissingValues = 926;
constexpr int kMissingEquals = 927;
constexpr int kMissingSelect = 928;
constexpr int kNotEnded = 933;
constexpr int kGroupFunctionNotAllowed = 934;
constexpr int kMissingExpression = 936;
constexpr int kNotSingleGroup = 937;
constexpr int kInconsistentTypes = 932;
constexpr int kNoTable = 942;
constexpr int kNotEnoughValues = 947;
constexpr int kNameInUse = 955;
constexpr int kDuplicateColumn = 957;
constexpr int kIdentifierTooLong = 972;
constexpr int kColumnNotAllowed = 984;
constexpr int kMissingAlias = 998;
constexpr int kInvalidCursor = 1001;
constexpr int kFetchOutOfSequence = 1002;
constexpr int kNoStatement = 1003;
constexpr int kNotInSelectList = 1007;
constexpr int kNotAllBound = 1008;
constexpr int kMissingParameter = 1009;
constexpr int kNotLoggedOn = 1012;
constexpr int kLogonDenied = 1017;
constexpr int kUnsupportedFeature = 3001;
constexpr int kBadBindName = 1036;
constexpr int kNoData = 1403;
constexpr int kNullFetched = 1405;
constexpr int kTruncated = 1406;
constexpr int kCannotInsertNull = 1400;
constexpr int kCannotUpdateNull = 1407;
constexpr int kPrecision = 1438;
constexpr int kInvalidHex = 1465;
constexpr int kInvalidNumber = 1722;
constexpr int kZeroLength = 1723;
constexpr int kPrecisionRange = 1727;
constexpr int kScaleRange = 1728;
constexpr int kNotLegalOnView = 1732;
constexpr int kMissingDoubleQuote = 1740;
constexpr int kZeroLengthIdentifier = 1741;
constexpr int kUnterminatedString = 1756;
constexpr int kTooManyColumns = 1792;
constexpr int kOnePrimaryKey = 2260;
constexpr int kKeyExists = 2261;
constexpr int kConstraintNameInUse = 2264;
constexpr int kViewHasErrors = 4063;
constexpr int kTooLarge = 12899;
constexpr int kInsufficientPrivileges = 1031;
constexpr int kIoError = 1114;
constexpr int kCannotOpenFile = 1116;
constexpr int kReadOnlyDatabase = 16000;
constexpr int kTransactionRolledBack = 2091;
constexpr int kUnsupportedType = 3115;
} // namespace ora

} // namespace kdb
