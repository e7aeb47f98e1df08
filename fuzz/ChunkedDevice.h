#pragma once
#include <QIODevice>
#include <algorithm>
#include <cstring>
#include <string_view>

// A read-only sequential device over `bytes` that gives at most `chunk` bytes a
// read, the way a pipe or a slow disk may.
class ChunkedDevice : public QIODevice {
public:
    ChunkedDevice(std::string_view bytes, size_t chunk)
        : m_bytes(bytes), m_chunk(std::max<size_t>(chunk, 1))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const size_t n = std::min({size_t(maxSize), m_chunk, m_bytes.size() - m_pos});
        std::memcpy(data, m_bytes.data() + m_pos, n);
        m_pos += n;
        return qint64(n);
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    std::string_view m_bytes;
    size_t m_chunk;
    size_t m_pos = 0;
};
