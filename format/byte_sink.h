// Where the writers' bytes go: an abstract sink with a file stream and a
// memory buffer behind it. The byte writer (format/byte_writer.h) feeds a sink
// in large blocks; a sink only has to append, overwrite bytes it already
// holds, and flush.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "format/byte_buffer.h"

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
    // Room for exactly n more bytes at the end, which a writer may fill in
    // place and then commit, instead of appending a copy; null when the sink
    // has no such room (then the writer appends). The room lasts until the
    // next call on the sink.
    virtual std::uint8_t* roomAtEnd(std::size_t /*n*/) { return nullptr; }
    // Takes the first n bytes of the room last given as appended.
    virtual bool commitRoom(std::size_t /*n*/) { return false; }
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

// A growable buffer in memory. The bytes are kept where the writer put them
// (data(), size()): the byte writer fills the sink's own room in place, the
// room grows by reallocation and is never filled before it is written, so
// that writing into memory costs no more than writing into a file. bytes()
// and release() hand them over as a vector, which is a copy.
class MemorySink final : public ByteSink {
public:
    bool append(const void* data, std::size_t n) override;
    bool overwrite(std::uint64_t position, const void* data, std::size_t n) override;
    std::uint8_t* roomAtEnd(std::size_t n) override;
    bool commitRoom(std::size_t n) override;

    // The bytes as written; valid until the next write.
    const std::uint8_t* data() const { return buffer_.data(); }
    std::size_t size() const { return buffer_.size(); }
    // A copy of the bytes, made on the first call after a write and kept in
    // the sink; empty when the copy cannot be allocated.
    const std::vector<std::uint8_t>& bytes() const;
    // The bytes as a vector (a copy); the sink is empty afterwards.
    std::vector<std::uint8_t> release();
    // The bytes without a copy; the sink is empty afterwards.
    ByteBuffer releaseBuffer();

private:
    ByteBuffer buffer_;
    std::size_t room_ = 0; // bytes past the size given out by roomAtEnd
    mutable std::vector<std::uint8_t> copy_;
    mutable bool copy_current_ = false;
};

} // namespace yfx
