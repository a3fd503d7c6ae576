#include "format/byte_writer.h"

#include <algorithm>
#include <new>

namespace yfx {

ByteWriter::ByteWriter(ByteSink& sink, std::size_t blockSize) : sink_(sink) {
    // At least room for the largest single field.
    const std::size_t size = std::max<std::size_t>(blockSize, 16);
    block_.reset(new (std::nothrow) std::uint8_t[size]);
    if (block_) {
        capacity_ = size;
    } else {
        ok_ = false;
    }
}

bool ByteWriter::spill() {
    if (!ok_) {
        return false;
    }
    if (fill_ > 0) {
        if (!sink_.append(block_.get(), fill_)) {
            ok_ = false;
            return false;
        }
        flushed_ += fill_;
        fill_ = 0;
    }
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
        if (fill_ == capacity_ && !spill()) {
            return;
        }
        const std::size_t take = std::min(n, capacity_ - fill_);
        std::memcpy(block_.get() + fill_, p, take);
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
