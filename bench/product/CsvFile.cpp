#include "CsvFile.h"

#include "bench/common/Measure.h"

#include <cstdint>
#include <cstdio>
#include <memory>

namespace bench {
namespace {

// A small, fast generator with a fixed seed, so every run writes the same file.
class Random {
public:
    uint64_t next()
    {
        uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    long below(long bound) { return static_cast<long>(next() % static_cast<uint64_t>(bound)); }
    long between(long low, long high) { return low + below(high - low + 1); }

private:
    uint64_t m_state = 20261211;
};

void appendLetters(std::string &out, Random &random, long count, const char *alphabet, long alphabetSize)
{
    for (long i = 0; i < count; ++i)
        out += alphabet[random.below(alphabetSize)];
}

void appendLine(std::string &out, Random &random, long id)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    static const char noteChars[] = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJ0123456789,.-";
    char buffer[64];
    int n = std::snprintf(buffer, sizeof buffer, "%ld,\"", id);
    out.append(buffer, n);
    appendLetters(out, random, random.between(8, 20), letters, 52);
    const long digits = random.between(1, 8);
    long integer = random.below(10);
    for (long d = 1; d < digits; ++d)
        integer = integer * 10 + random.below(10);
    n = std::snprintf(buffer, sizeof buffer, "\",%ld.%02ld,\"%04ld-%02ld-%02ld %02ld:%02ld:%02ld\",\"", integer,
                      random.below(100), random.between(1990, 2030), random.between(1, 12), random.between(1, 28),
                      random.below(24), random.below(60), random.below(60));
    out.append(buffer, n);
    appendLetters(out, random, 3, letters, 26);
    out += "\",\"";
    if (random.below(5) != 0)
        appendLetters(out, random, random.between(1, 40), noteChars, sizeof noteChars - 1);
    out += "\"\r\n";
}

} // namespace

void writeCsvFile(const std::string &path, long rows)
{
    std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file)
        fail("cannot write " + path);
    Random random;
    std::string chunk;
    for (long id = 1; id <= rows; ++id) {
        appendLine(chunk, random, id);
        if (chunk.size() > (1 << 20) || id == rows) {
            if (std::fwrite(chunk.data(), 1, chunk.size(), file.get()) != chunk.size())
                fail("cannot write " + path);
            chunk.clear();
        }
    }
}

} // namespace bench
