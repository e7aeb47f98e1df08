#pragma once
// A cursor's bind variables: the caller's buffers, read when the statement
// executes.
#include "oracle/oci7.h"

#include <string>
#include <string_view>
#include <vector>

namespace kdb {

// What the caller binds: its buffer, read at each execution.
struct BindValue {
    const oci_ub1 *value = nullptr;
    int length = 0;               // the caller's buffer length
    int type = OCI_EXT_STRING;
    const oci_sb2 *indicator = nullptr;
};

struct BindSlot {
    std::string name;             // "1" for :1, "NAME" for :NAME
    int number = -1;              // n of :n, for binding by number
    BindValue bound;
    bool isBound = false;
    std::string converted;        // text of a binary (integer, float) value
};

// True when `type` is an external type a bind or define can use.
bool supportedExternalType(int type);

// The bound value as text; false for NULL (indicator -1, no buffer, or
// empty text).
bool bindText(BindSlot &slot, std::string_view *out);

} // namespace kdb
