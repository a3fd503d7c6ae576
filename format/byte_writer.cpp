#include "format/byte_writer.h"

#include <algorithm>
#include <new>

namespace yfx {

ByteWriter::ByteWriter(ByteSink& sink, std::size_t blockSize)
    // At least room for the largest single field.
    : sink_(sink), block_size_(std::max<std::size_t>(blockSize, 16)) {
    takeBlock();
}

bool ByteWriter::takeBlock() {
    if (block_ != nullptr) {
        return true;
    }
    block_ = sink_.roomAtEnd(block_size_);
    in_sink_ = block_ != nullptr;
    if (!in_sink_) {
        if (!own_block_) {
            own_block_.reset(new (std::nothrow) std::uint8_t[block_size_]);
        }
        block_ = own_block_.get();
    }
    capacity_ = block_ != nullptr ? block_size_ : 0;
    if (block_ == nullptr) {
        ok_ = false;
    }
    return ok_;
}

bool ByteWriter::spill() {
    if (!ok_) {
        return false;
    }
    if (in_sink_) {
        // The room is the sink's: commit what was written, and take new room
        // when more comes (any other call on the sink ends the room).
        if (!sink_.commitRoom(fill_)) {
            ok_ = false;
            return false;
        }
        block_ = nullptr;
        capacity_ = 0;
    } else if (fill_ > 0 && !sink_.append(block_, fill_)) {
        ok_ = false;
        return false;
    }
    flushed_ += fill_;
    fill_ = 0;
    return true;
}

void ByteWriter::f32s(const float* v, std::size_t n) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ || defined(_M_IX86) ||    \
    defined(_M_X64) || defined(_M_ARM64)
    static_assert(sizeof(float) == 4, "IEEE single precision floats");
    bytes(v, n * 4);
#else
    for (std::size_t i = 0; i < n; ++i) {
        f32(v[i]);
    }
#endif
}

void ByteWriter::bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (n > 0 && ok_) {
        if (fill_ == capacity_ && !(spill() && takeBlock())) {
            return;
        }
        const std::size_t take = std::min(n, capacity_ - fill_);
        std::memcpy(block_ + fill_, p, take);
        fill_ += take;
        p += take;
        n -= take;
    }
}

bool ByteWriter::flush() {
    if (!spill() || !sink_.flush()) {
        ok_ = false;
    }
    return ok_;
}

bool ByteWriter::rewrite(std::uint64_t position, const void* data, std::size_t n) {
    if (!flush()) {
        return false;
    }
    if (!sink_.overwrite(position, data, n) || !sink_.flush()) {
        ok_ = false;
    }
    return ok_;
}

} // namespace yfx
