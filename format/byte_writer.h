// The little-endian byte writer every field of a file goes through. It keeps
// one large block of pending bytes and hands it to its sink when full, so
// that the many small field writes cost a few stores each; where the sink
// offers room of its own (a memory sink), the block is that room, filled in
// place and committed rather than copied. The first failure (of the sink, or
// of the block's allocation) makes the writer failed for good: later writes
// do nothing and ok() stays false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "format/byte_sink.h"

namespace yfx {

class ByteWriter {
public:
    static constexpr std::size_t kDefaultBlockSize = std::size_t(1) << 20;

    explicit ByteWriter(ByteSink& sink, std::size_t blockSize = kDefaultBlockSize);
    ByteWriter(const ByteWriter&) = delete;
    ByteWriter& operator=(const ByteWriter&) = delete;

    bool ok() const { return ok_; }
    // Bytes written so far: the position the next field lands on.
    std::uint64_t position() const { return flushed_ + fill_; }

    void u8(std::uint8_t v) {
        if (room(1)) {
            block_[fill_++] = v;
        }
    }
    void u16(std::uint16_t v) {
        if (room(2)) {
            block_[fill_] = std::uint8_t(v);
            block_[fill_ + 1] = std::uint8_t(v >> 8);
            fill_ += 2;
        }
    }
    void u32(std::uint32_t v) {
        if (room(4)) {
            store32(block_ + fill_, v);
            fill_ += 4;
        }
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    // n floats in a row (a vector, a matrix, a transform block).
    void f32s(const float* v, std::size_t n);
    // Raw bytes as they are.
    void bytes(const void* data, std::size_t n);

    // Hands the pending block to the sink and flushes it.
    bool flush();
    // Flushes, then overwrites bytes already written (the header at 0).
    bool rewrite(std::uint64_t position, const void* data, std::size_t n);
    // Marks the writer failed (a caller's own check, such as a count that the
    // file cannot hold).
    void fail() { ok_ = false; }

private:
    static void store32(std::uint8_t* p, std::uint32_t v) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ || defined(_M_IX86) ||    \
    defined(_M_X64) || defined(_M_ARM64)
        std::memcpy(p, &v, 4);
#else
        p[0] = std::uint8_t(v);
        p[1] = std::uint8_t(v >> 8);
        p[2] = std::uint8_t(v >> 16);
        p[3] = std::uint8_t(v >> 24);
#endif
    }
    // True when n more bytes fit in the block (after handing a full block on).
    bool room(std::size_t n) {
        if (fill_ + n <= capacity_) {
            return true;
        }
        return spill() && takeBlock() && fill_ + n <= capacity_;
    }
    // Hands the pending bytes to the sink.
    bool spill();
    // Makes the block ready for more bytes: the sink's next room, or the
    // writer's own block. False (and the writer failed) when there is none.
    bool takeBlock();

    ByteSink& sink_;
    std::size_t block_size_;
    std::unique_ptr<std::uint8_t[]> own_block_; // when the sink offers no room
    std::uint8_t* block_ = nullptr;             // where pending bytes go
    bool in_sink_ = false;                      // block_ is room of the sink
    std::size_t capacity_ = 0;
    std::size_t fill_ = 0;
    std::uint64_t flushed_ = 0;
    bool ok_ = true;
};

} // namespace yfx
