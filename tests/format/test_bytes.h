// Helpers of the writer tests: a little-endian cursor over written bytes
// (independent of the reader), a sink that refuses writes after a budget, and
// a byte list builder for expected streams.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "format/byte_sink.h"

namespace yfx_test {

// Throws std::out_of_range when a read passes the end, so that a test fails
// loudly on a stream that is shorter than it should be.
class Cursor {
public:
    explicit Cursor(const std::vector<std::uint8_t>& bytes, std::size_t at = 0)
        : bytes_(bytes), at_(at) {}

    std::size_t at() const { return at_; }
    void seek(std::size_t at) { at_ = at; }
    std::size_t left() const { return bytes_.size() - at_; }

    std::uint32_t u32() {
        need(4);
        const std::uint8_t* p = bytes_.data() + at_;
        at_ += 4;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32() {
        const std::uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    std::uint8_t u8() {
        need(1);
        return bytes_[at_++];
    }
    std::uint16_t u16() {
        need(2);
        const std::uint8_t* p = bytes_.data() + at_;
        at_ += 2;
        return std::uint16_t(p[0] | p[1] << 8);
    }
    // A FileString; checks its terminating zero.
    std::string str() {
        const std::uint16_t n = u16();
        need(n);
        if (n == 0 || bytes_[at_ + n - 1] != 0) {
            throw std::runtime_error("string without its terminating zero");
        }
        std::string s(reinterpret_cast<const char*>(bytes_.data() + at_), n - 1);
        at_ += n;
        return s;
    }
    std::vector<float> floats(std::size_t n) {
        std::vector<float> v(n);
        for (float& f : v) {
            f = f32();
        }
        return v;
    }

private:
    void need(std::size_t n) const {
        if (n > bytes_.size() - at_) {
            throw std::out_of_range("read past the end of the stream");
        }
    }
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_;
};

// Builds expected bytes.
struct Bytes {
    std::vector<std::uint8_t> v;
    Bytes& u32(std::uint32_t x) {
        for (int i = 0; i < 4; ++i) {
            v.push_back(std::uint8_t(x >> (8 * i)));
        }
        return *this;
    }
    Bytes& i32(std::int32_t x) { return u32(static_cast<std::uint32_t>(x)); }
    Bytes& str(const std::string& s) {
        const std::size_t n = s.size() + 1;
        v.push_back(std::uint8_t(n));
        v.push_back(std::uint8_t(n >> 8));
        v.insert(v.end(), s.begin(), s.end());
        v.push_back(0);
        return *this;
    }
    Bytes& zeros(std::size_t n) {
        v.insert(v.end(), n, 0);
        return *this;
    }
};

// Takes at most `budget` bytes in total over all appends and overwrites, then
// refuses; a write that would pass the budget is refused whole.
class LimitedSink final : public yfx::ByteSink {
public:
    explicit LimitedSink(std::size_t budget) : budget_(budget) {}
    bool append(const void* data, std::size_t n) override {
        if (!take(n)) {
            return false;
        }
        return inner_.append(data, n);
    }
    bool overwrite(std::uint64_t position, const void* data, std::size_t n) override {
        if (!take(n)) {
            return false;
        }
        return inner_.overwrite(position, data, n);
    }
    const std::vector<std::uint8_t>& bytes() const { return inner_.bytes(); }

private:
    bool take(std::size_t n) {
        if (n > budget_) {
            budget_ = 0;
            return false;
        }
        budget_ -= n;
        return true;
    }
    std::size_t budget_;
    yfx::MemorySink inner_;
};

} // namespace yfx_test
