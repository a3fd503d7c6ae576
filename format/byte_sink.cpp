#include "format/byte_sink.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#include "platform/file_position.h"

namespace yfx {

FileSink::FileSink(std::FILE* stream) : stream_(stream) {
    if (stream_ != nullptr) {
        start_ = tellFile(stream_);
    }
}

bool FileSink::append(const void* data, std::size_t n) {
    if (stream_ == nullptr) {
        return false;
    }
    return n == 0 || std::fwrite(data, 1, n, stream_) == n;
}

bool FileSink::overwrite(std::uint64_t position, const void* data, std::size_t n) {
    if (stream_ == nullptr || start_ < 0 || position > std::uint64_t(INT64_MAX - start_)) {
        return false;
    }
    if (!seekFile(stream_, start_ + static_cast<std::int64_t>(position), SEEK_SET)) {
        return false;
    }
    const bool written = n == 0 || std::fwrite(data, 1, n, stream_) == n;
    // Go back to the end whatever happened, so that later appends land there.
    const bool back = seekFile(stream_, 0, SEEK_END);
    return written && back;
}

bool FileSink::flush() {
    return stream_ != nullptr && std::fflush(stream_) == 0;
}

bool MemorySink::append(const void* data, std::size_t n) {
    copy_current_ = false;
    room_ = 0;
    return buffer_.append(data, n);
}

std::uint8_t* MemorySink::roomAtEnd(std::size_t n) {
    room_ = 0;
    if (!buffer_.reserveMore(n)) {
        return nullptr;
    }
    room_ = n;
    return buffer_.data() + buffer_.size();
}

bool MemorySink::commitRoom(std::size_t n) {
    if (n > room_) {
        return false;
    }
    room_ = 0;
    copy_current_ = false;
    return buffer_.resize(buffer_.size() + n); // within the room: no allocation
}

bool MemorySink::overwrite(std::uint64_t position, const void* data, std::size_t n) {
    if (position > buffer_.size() || n > buffer_.size() - position) {
        return false;
    }
    if (n > 0) {
        std::memcpy(buffer_.data() + position, data, n);
        copy_current_ = false;
    }
    return true;
}

const std::vector<std::uint8_t>& MemorySink::bytes() const {
    if (!copy_current_) {
        try {
            copy_.assign(buffer_.data(), buffer_.data() + buffer_.size());
            copy_current_ = true;
        } catch (const std::bad_alloc&) {
            std::vector<std::uint8_t>().swap(copy_);
        } catch (const std::length_error&) {
            std::vector<std::uint8_t>().swap(copy_);
        }
    }
    return copy_;
}

std::vector<std::uint8_t> MemorySink::release() {
    bytes();
    std::vector<std::uint8_t> out = std::move(copy_);
    copy_.clear();
    copy_current_ = false;
    room_ = 0;
    buffer_.clear();
    return out;
}

ByteBuffer MemorySink::releaseBuffer() {
    std::vector<std::uint8_t>().swap(copy_);
    copy_current_ = false;
    room_ = 0;
    return std::move(buffer_);
}

} // namespace yfx
