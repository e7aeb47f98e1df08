#pragma once
// One select-list column as odescr reports it, and what the cursor needs to
// know about its types.
#include "oracle/oci7.h"

// The longest column name a describe keeps, in bytes; Name has one more byte
// for the terminating NUL.
inline constexpr int kDescribeNameCapacity = 33;

// A select-list column. The caller owns the record; Descr fills it.
struct describe {
    oci_sb4 DbSize = 0;                          // size of the column in the database, in bytes
    oci_sb2 DbType = 0;                          // internal type code (OCI_TYPE_...)
    char Name[kDescribeNameCapacity + 1] = {};   // column name, NUL-terminated by Descr
    oci_sb4 NameLen = kDescribeNameCapacity;     // capacity of Name on entry, name length on return
    oci_sb4 DispSize = 0;                        // display size
    oci_sb2 Precision = 0;                       // numeric precision
    oci_sb2 Scale = 0;                           // numeric scale
    oci_sb2 NullOk = 0;                          // whether NULL is allowed
};

// The size a date column gets for its define buffer: the client's text of a
// date is never longer than this.
inline constexpr oci_sb4 kDateDefineSize = 22;

// True for the internal types a query can fetch as text: VARCHAR2, NUMBER,
// ROWID, DATE and CHAR.
inline bool isFetchableType(int dbType)
{
    return dbType == OCI_TYPE_VARCHAR2 || dbType == OCI_TYPE_NUMBER || dbType == OCI_TYPE_ROWID
        || dbType == OCI_TYPE_DATE || dbType == OCI_TYPE_CHAR;
}

// Bytes of the define buffer for a column, terminator included. A NUMBER
// describes itself as 22 bytes (its internal size), but its text can take up
// to 40 characters; a buffer of the described size would cut such a value and
// fail the fetch, so a number always gets room for its longest text. No
// fetchable column is wider than 32767 bytes; a larger size reported by a
// library is held to a megabyte rather than trusted with the memory.
inline int defineBufferSize(const describe &column)
{
    constexpr oci_sb4 kLongestNumberText = 40;
    constexpr oci_sb4 kWidestColumn = 1 << 20;
    oci_sb4 size = column.DbSize < 0 ? 0 : column.DbSize > kWidestColumn ? kWidestColumn : column.DbSize;
    if (column.DbType == OCI_TYPE_NUMBER && size < kLongestNumberText)
        size = kLongestNumberText;
    return int(size) + 1;
}
