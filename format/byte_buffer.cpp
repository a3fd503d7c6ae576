#include "format/byte_buffer.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace yfx {

namespace {
ByteBufferAllocationHook g_allocation_hook = nullptr;
} // namespace

void setByteBufferAllocationHook(ByteBufferAllocationHook hook) {
    g_allocation_hook = hook;
}

ByteBuffer::~ByteBuffer() {
    std::free(data_);
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
    if (this != &other) {
        std::free(data_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

bool ByteBuffer::reserve(std::size_t n) {
    if (n <= capacity_) {
        return true;
    }
    if (g_allocation_hook != nullptr) {
        g_allocation_hook(n);
    }
    void* grown = std::realloc(data_, n);
    if (grown == nullptr) {
        return false;
    }
    data_ = static_cast<std::uint8_t*>(grown);
    capacity_ = n;
    return true;
}

bool ByteBuffer::resize(std::size_t n) {
    if (!reserve(n)) {
        return false;
    }
    size_ = n;
    return true;
}

bool ByteBuffer::reserveMore(std::size_t n) {
    if (n > std::numeric_limits<std::size_t>::max() - size_) {
        return false;
    }
    const std::size_t needed = size_ + n;
    if (needed <= capacity_) {
        return true;
    }
    const std::size_t doubled =
        capacity_ <= std::numeric_limits<std::size_t>::max() / 2 ? 2 * capacity_ : needed;
    // Short of memory for the doubled room, the exact need may still fit.
    return reserve(doubled > needed ? doubled : needed) || reserve(needed);
}

bool ByteBuffer::append(const void* bytes, std::size_t n) {
    if (n == 0) {
        return true;
    }
    if (!reserveMore(n)) {
        return false;
    }
    std::memcpy(data_ + size_, bytes, n);
    size_ += n;
    return true;
}

void ByteBuffer::clear() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

} // namespace yfx
