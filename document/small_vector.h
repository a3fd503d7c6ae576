// A growable array of trivially copyable elements that keeps up to N of them
// inside the object itself and moves to one heap block beyond that. Polygon
// corners and vertex weights use it, so that the common case (a quad, up to
// four weights) costs no allocation at all.
//
// Growth doubles the capacity (amortised O(1) appends). A failed allocation
// throws std::bad_alloc and leaves the array as it was; the document
// operations catch it at their boundary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace yfx {

template <typename T, std::uint32_t N> class SmallVector {
    static_assert(std::is_trivially_copyable<T>::value, "elements are moved by byte copy");
    static_assert(alignof(T) <= alignof(std::max_align_t), "heap blocks use the default alignment");
    static_assert(N > 0, "at least one inline element");

public:
    using value_type = T;
    using size_type = std::uint32_t;

    SmallVector() noexcept = default;
    SmallVector(const SmallVector& other) { copyFrom(other); }
    SmallVector(SmallVector&& other) noexcept { stealFrom(other); }
    ~SmallVector() { release(); }

    SmallVector& operator=(const SmallVector& other) {
        if (this != &other) {
            SmallVector copy(other); // may throw; *this untouched then
            release();
            stealFrom(copy);
        }
        return *this;
    }
    SmallVector& operator=(SmallVector&& other) noexcept {
        if (this != &other) {
            release();
            stealFrom(other);
        }
        return *this;
    }

    size_type size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    size_type capacity() const noexcept { return heap_ != nullptr ? capacity_ : N; }
    // True while the elements live inside the object (no heap block owned).
    bool isInline() const noexcept { return heap_ == nullptr; }

    T* data() noexcept { return heap_ != nullptr ? heap_ : inlineData(); }
    const T* data() const noexcept { return heap_ != nullptr ? heap_ : inlineData(); }
    T& operator[](size_type i) noexcept { return data()[i]; }
    const T& operator[](size_type i) const noexcept { return data()[i]; }
    T* begin() noexcept { return data(); }
    T* end() noexcept { return data() + size_; }
    const T* begin() const noexcept { return data(); }
    const T* end() const noexcept { return data() + size_; }
    T& back() noexcept { return data()[size_ - 1]; }
    const T& back() const noexcept { return data()[size_ - 1]; }

    // Makes room for n elements in total; existing elements keep their values.
    void reserve(size_type n) {
        if (n > capacity()) {
            regrow(n);
        }
    }

    // Appends a copy of value and returns the new element.
    T& push_back(const T& value) {
        if (size_ == capacity()) {
            const T copy = value; // value may live in the block about to move
            regrow(grownCapacity());
            data()[size_] = copy;
        } else {
            data()[size_] = value;
        }
        return data()[size_++];
    }

    // Replaces the contents by n copies of value (storage reused when it fits).
    void assign(size_type n, const T& value) {
        if (n > capacity()) {
            T* block = allocate(n);
            release();
            heap_ = block;
            capacity_ = n;
        }
        T* d = data();
        for (size_type i = 0; i < n; ++i) {
            d[i] = value;
        }
        size_ = n;
    }

    // Shortens the array to n elements (no effect when n is not below size).
    void truncate(size_type n) noexcept {
        if (n < size_) {
            size_ = n;
        }
    }

    // Empties the array and gives back any heap block.
    void release() noexcept {
        ::operator delete(heap_);
        heap_ = nullptr;
        capacity_ = 0;
        size_ = 0;
    }

private:
    T* inlineData() noexcept { return reinterpret_cast<T*>(inline_); }
    const T* inlineData() const noexcept { return reinterpret_cast<const T*>(inline_); }

    size_type grownCapacity() const {
        const size_type cap = capacity();
        if (cap > UINT32_MAX / 2) {
            if (cap == UINT32_MAX) {
                throw std::bad_alloc();
            }
            return UINT32_MAX;
        }
        return cap * 2;
    }

    static T* allocate(size_type n) {
        if (static_cast<std::size_t>(n) > SIZE_MAX / sizeof(T)) {
            throw std::bad_alloc();
        }
        return static_cast<T*>(::operator new(static_cast<std::size_t>(n) * sizeof(T)));
    }

    void regrow(size_type n) {
        T* block = allocate(n);
        if (size_ > 0) {
            std::memcpy(static_cast<void*>(block), data(), std::size_t(size_) * sizeof(T));
        }
        ::operator delete(heap_);
        heap_ = block;
        capacity_ = n;
    }

    void copyFrom(const SmallVector& other) {
        if (other.size_ > N) {
            heap_ = allocate(other.size_);
            capacity_ = other.size_;
        }
        if (other.size_ > 0) {
            std::memcpy(static_cast<void*>(data()), other.data(),
                        std::size_t(other.size_) * sizeof(T));
        }
        size_ = other.size_;
    }

    void stealFrom(SmallVector& other) noexcept {
        if (other.heap_ != nullptr) {
            heap_ = other.heap_;
            capacity_ = other.capacity_;
        } else if (other.size_ > 0) {
            std::memcpy(static_cast<void*>(inline_), other.inline_,
                        std::size_t(other.size_) * sizeof(T));
        }
        size_ = other.size_;
        other.heap_ = nullptr;
        other.capacity_ = 0;
        other.size_ = 0;
    }

    T* heap_ = nullptr;
    size_type size_ = 0;
    size_type capacity_ = 0; // of the heap block; N while inline
    alignas(T) unsigned char inline_[N * sizeof(T)];
};

} // namespace yfx
