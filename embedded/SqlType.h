#pragma once
// The Oracle type of a column or of an expression, as describe reports it.
#include <string>

namespace kdb {

enum TypeCode {
    kVarchar2 = 1,
    kNumber = 2,
    kLong = 8,
    kDate = 12,
    kRaw = 23,
    kChar = 96,
    kTimestamp = 180
};

struct SqlType {
    int code = kVarchar2;
    int size = 0;       // describe size in bytes
    int precision = 0;  // NUMBER: 0 when unconstrained
    int scale = 0;      // NUMBER: -127 when unconstrained

    bool isNumber() const { return code == kNumber; }
    bool isDate() const { return code == kDate || code == kTimestamp; }
    // Text in every form that a string literal or || can stand for.
    bool isText() const { return code == kVarchar2 || code == kChar || code == kLong || code == kRaw; }

    static SqlType varchar2(int size) { return {kVarchar2, size, 0, 0}; }
    static SqlType charType(int size) { return {kChar, size, 0, 0}; }
    static SqlType number(int precision = 0, int scale = -127) { return {kNumber, 22, precision, scale}; }
    static SqlType date() { return {kDate, 7, 0, 0}; }
};

// The longest text a value of this type shows as: what || and TO_CHAR add.
int textWidth(const SqlType &type);

} // namespace kdb
