#include "Binds.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace kdb {

bool supportedExternalType(int type)
{
    return type == 1 || type == 3 || type == 4 || type == OCI_EXT_STRING || type == 96 || type == 97;
}

bool bindText(BindSlot &slot, std::string_view *out)
{
    const BindValue &b = slot.bound;
    if ((b.indicator && *b.indicator < 0) || !b.value)
        return false;
    const char *p = reinterpret_cast<const char *>(b.value);
    switch (b.type) {
    case 3: {
        int64_t v = 0;
        if (b.length == 1) v = *reinterpret_cast<const int8_t *>(p);
        else if (b.length == 2) { int16_t x; std::memcpy(&x, p, 2); v = x; }
        else if (b.length == 4) { int32_t x; std::memcpy(&x, p, 4); v = x; }
        else if (b.length == 8) { std::memcpy(&v, p, 8); }
        else return false;
        slot.converted = std::to_string(v);
        *out = slot.converted;
        return true;
    }
    case 4: {
        double v = 0;
        if (b.length == 4) { float f; std::memcpy(&f, p, 4); v = f; }
        else if (b.length == 8) std::memcpy(&v, p, 8);
        else return false;
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", v);
        slot.converted = buf;
        *out = slot.converted;
        return true;
    }
    case 1:
    case 96:
        *out = std::string_view(p, size_t(b.length > 0 ? b.length : 0));
        break;
    default: // NUL-terminated text within the buffer length
        *out = b.length > 0 ? std::string_view(p, strnlen(p, size_t(b.length))) : std::string_view(p);
        break;
    }
    return !out->empty();
}

} // namespace kdb
