#include "SchemaHeader.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kdb::db {
namespace {

constexpr char kMagic[] = "SQLite format 3"; // and its NUL: 16 bytes
constexpr size_t kMagicSize = sizeof kMagic;
// Bytes 18 and 19 of the header are the file format's write and read
// versions: 2 and 2 mean WAL.
constexpr size_t kVersionOffset = 18;
constexpr unsigned char kWalVersion = 2;

} // namespace

bool hasSchemaHeader(const std::string &path)
{
    // Non-blocking, so that a pipe put where a schema should be does not
    // stall the caller; a schema file is a regular file, which never blocks.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    unsigned char header[kVersionOffset + 2] = {};
    const ssize_t got = ::pread(fd, header, sizeof header, 0);
    ::close(fd);
    return got == ssize_t(sizeof header) && std::memcmp(header, kMagic, kMagicSize) == 0
           && header[kVersionOffset] == kWalVersion && header[kVersionOffset + 1] == kWalVersion;
}

} // namespace kdb::db
