#include "format/byte_cursor.h"

#include <cstring>

namespace yfx {

namespace {

std::uint32_t loadLE32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

float floatFromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool isHighSurrogate(std::uint32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(std::uint32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

void ByteCursor::reset(const std::uint8_t* data, std::uint32_t size) {
    data_ = data;
    size_ = data != nullptr ? size : 0;
    position_ = 0;
    floor_ = 0;
    shortfall_ = Shortfall{};
}

bool ByteCursor::has(std::uint64_t n) {
    if (data_ != nullptr && n <= remaining()) {
        return true;
    }
    shortfall_.needed = n;
    shortfall_.offset = position_;
    shortfall_.left = remaining();
    return false;
}

int ByteCursor::seek(std::uint32_t position) {
    if (position > size_ || position < floor_) {
        return 0;
    }
    position_ = position;
    return 1;
}

int ByteCursor::readU32(std::uint32_t& out) {
    if (!has(4)) {
        out = 0;
        return 0;
    }
    out = loadLE32(data_ + position_);
    position_ += 4;
    return 1;
}

int ByteCursor::readI32(std::int32_t& out) {
    std::uint32_t bits = 0;
    const int ok = readU32(bits);
    out = static_cast<std::int32_t>(bits);
    return ok;
}

int ByteCursor::readU16(std::uint16_t& out) {
    if (!has(2)) {
        out = 0;
        return 0;
    }
    out = static_cast<std::uint16_t>(data_[position_] | (data_[position_ + 1] << 8));
    position_ += 2;
    return 1;
}

int ByteCursor::readF32(float& out) {
    std::uint32_t bits = 0;
    const int ok = readU32(bits);
    out = floatFromBits(bits);
    return ok;
}

int ByteCursor::readF32s(float* out, std::uint32_t count) {
    if (out == nullptr || !has(std::uint64_t(count) * 4)) {
        if (out != nullptr) {
            for (std::uint32_t i = 0; i < count; ++i) {
                out[i] = 0.0f;
            }
        }
        return 0;
    }
    const std::uint8_t* p = data_ + position_;
    for (std::uint32_t i = 0; i < count; ++i) {
        out[i] = floatFromBits(loadLE32(p + 4 * i));
    }
    position_ += count * 4;
    return 1;
}

int ByteCursor::readBytes(void* out, std::uint32_t n) {
    if (out == nullptr || !has(n)) {
        return 0;
    }
    if (n > 0) {
        std::memcpy(out, data_ + position_, n);
    }
    position_ += n;
    return 1;
}

int ByteCursor::skip(std::uint64_t n) {
    if (!has(n)) {
        return 0;
    }
    position_ += static_cast<std::uint32_t>(n);
    return 1;
}

bool ByteCursor::fits(std::int64_t count, std::uint64_t elementSize) {
    if (count <= 0) {
        return true;
    }
    const std::uint64_t n = static_cast<std::uint64_t>(count);
    if (elementSize != 0 && n > UINT64_MAX / elementSize) {
        return has(UINT64_MAX);
    }
    return has(n * elementSize);
}

int ByteCursor::skipElements(std::int64_t count, std::uint64_t elementSize) {
    if (count <= 0) {
        return 1;
    }
    if (!fits(count, elementSize)) {
        return 0;
    }
    position_ += static_cast<std::uint32_t>(static_cast<std::uint64_t>(count) * elementSize);
    return 1;
}

int ByteCursor::skipName() {
    const std::uint32_t start = position_;
    std::uint16_t length = 0;
    if (!readU16(length)) {
        return 0;
    }
    if (!skip(length)) {
        position_ = start;
        return 0;
    }
    return 1;
}

int ByteCursor::readName(NamePair& out, NameEncoding encoding) {
    const std::uint32_t start = position_;
    std::uint16_t length = 0;
    if (!readU16(length)) {
        return 0;
    }
    if (!has(length)) {
        position_ = start;
        return 0;
    }
    const std::uint8_t* text = data_ + position_;
    if (encoding == NameEncoding::Utf16) {
        wchar_t wide[kNameCapacity];
        decodeUtf16(text, length / 2u, wide, kNameCapacity);
        out.setWide(wide);
    } else {
        char ansi[kNameCapacity] = {};
        const std::size_t n = length < kNameCapacity - 1 ? length : kNameCapacity - 1;
        std::memcpy(ansi, text, n);
        out.setAnsi(ansi);
    }
    position_ += length;
    return 1;
}

std::size_t decodeUtf16(const std::uint8_t* bytes, std::size_t units, wchar_t* out,
                        std::size_t capacity) {
    if (capacity == 0) {
        return 0;
    }
    std::size_t n = 0;
    for (std::size_t i = 0; i < units && n + 1 < capacity; ++i) {
        std::uint32_t unit = std::uint32_t(bytes[2 * i]) | (std::uint32_t(bytes[2 * i + 1]) << 8);
        if (unit == 0) {
            break;
        }
        if (sizeof(wchar_t) >= 4) {
            if (isHighSurrogate(unit) && i + 1 < units) {
                const std::uint32_t next =
                    std::uint32_t(bytes[2 * i + 2]) | (std::uint32_t(bytes[2 * i + 3]) << 8);
                if (isLowSurrogate(next)) {
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
                    ++i;
                } else {
                    unit = 0xFFFD;
                }
            } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
                unit = 0xFFFD;
            }
        }
        out[n++] = static_cast<wchar_t>(unit);
    }
    out[n] = 0;
    return n;
}

} // namespace yfx
