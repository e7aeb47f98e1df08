// The list-file reader on arbitrary bytes, read through small reads (the first
// byte sets their size) and as a whole. Both must agree, and whatever was read
// must read back the same once written.
#include "fuzz/ChunkedDevice.h"
#include "fuzz/FuzzCheck.h"
#include "joblist/ListFile.h"

#include <QBuffer>
#include <QByteArray>

namespace {

std::optional<ListFileContents> readBytes(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return readListFile(buffer);
}

bool sameJobs(const std::vector<Job> &a, const std::vector<Job> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].table != b[i].table || a[i].csv != b[i].csv)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // Reads of up to about a piece and a half, so that pieces end inside reads.
    const size_t chunk = 1 + size_t(data[0]) * 61;
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);

    ChunkedDevice chunked(text, chunk);
    const std::optional<ListFileContents> fromChunks = readListFile(chunked);
    const std::optional<ListFileContents> whole =
        readBytes(QByteArray(text.data(), qsizetype(text.size())));
    // Bytes with a NUL in them are no list file, however they are read.
    FUZZ_CHECK(bool(fromChunks) == bool(whole));
    if (!whole)
        return 0;
    FUZZ_CHECK(fromChunks->mode == whole->mode && sameJobs(fromChunks->jobs, whole->jobs));

    for (const Job &job : whole->jobs)
        FUZZ_CHECK(!job.table.empty());
    if (firstUnwritableJob(whole->jobs) != -1)
        return 0;
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    const int mode = whole->mode.value_or(1);
    FUZZ_CHECK(writeListFile(out, mode, whole->jobs));
    const std::optional<ListFileContents> again = readBytes(written);
    FUZZ_CHECK(again && again->mode == mode && sameJobs(again->jobs, whole->jobs));
    return 0;
}
