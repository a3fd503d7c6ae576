// Where the writers' bytes go: an abstract sink with a file stream and a
// memory buffer behind it. The byte writer (format/byte_writer.h) feeds a sink
// in large blocks; a sink only has to append, overwrite bytes it already
// holds, and flush.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace yfx {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Appends n bytes at the end. False when not all of them were taken.
    virtual bool append(const void* data, std::size_t n) = 0;
    // Overwrites n bytes at a position (from the sink's first byte) inside
    // what was already appended; later appends still go to the end.
    virtual bool overwrite(std::uint64_t position, const void* data, std::size_t n) = 0;
    // Hands everything appended so far on to its final place.
    virtual bool flush() { return true; }
};

// An open binary file stream. Positions count from where the stream stood
// when the sink was made (normally 0); the stream is not closed by the sink.
class FileSink final : public ByteSink {
public:
    explicit FileSink(std::FILE* stream);
    bool append(const void* data, std::size_t n) override;
    bool overwrite(std::uint64_t position, const void* data, std::size_t n) override;
    bool flush() override;

private:
    std::FILE* stream_;
    std::int64_t start_ = -1; // stream position of byte 0; -1 when unknown
};

// A growable buffer in memory.
class MemorySink final : public ByteSink {
public:
    bool append(const void* data, std::size_t n) override;
    bool overwrite(std::uint64_t position, const void* data, std::size_t n) override;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> release() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace yfx
