// A growable block of bytes for the large buffers of saving and loading (a
// stream written into memory, an inflated image, a compressed copy). Growing
// it never writes the new room, since its owner writes those bytes next; and
// it grows by reallocating, which moves a large block's pages rather than
// copying them where the C allocator can.
#pragma once

#include <cstddef>
#include <cstdint>

namespace yfx {

class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }

    // Makes room for n bytes in all: exactly n when it must grow, so that no
    // allocation passes what the caller asked for. False when the memory
    // cannot be had; the bytes held stay as they were.
    bool reserve(std::size_t n);
    // Sets the size to n. Bytes beyond the old size are left unwritten. False
    // as for reserve.
    bool resize(std::size_t n);
    // Makes room for n bytes past the size, the room doubling as it fills.
    // False as for reserve.
    bool reserveMore(std::size_t n);
    // Appends n bytes, the room growing as for reserveMore. False as for
    // reserve.
    bool append(const void* bytes, std::size_t n);
    // Frees the memory; the size becomes 0.
    void clear();

private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Sees the size of every block a ByteBuffer is about to allocate; none by
// default. Test programs that record their largest allocation set it, since
// these blocks come from the C allocator rather than operator new.
using ByteBufferAllocationHook = void (*)(std::size_t size);
void setByteBufferAllocationHook(ByteBufferAllocationHook hook);

} // namespace yfx
