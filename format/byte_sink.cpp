#include "format/byte_sink.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace yfx {
namespace {

std::int64_t tellStream(std::FILE* stream) {
#if defined(_WIN32)
    return _ftelli64(stream);
#else
    return static_cast<std::int64_t>(ftello(stream));
#endif
}

bool seekStream(std::FILE* stream, std::int64_t position, int whence) {
#if defined(_WIN32)
    return _fseeki64(stream, position, whence) == 0;
#else
    return fseeko(stream, static_cast<off_t>(position), whence) == 0;
#endif
}

} // namespace

FileSink::FileSink(std::FILE* stream) : stream_(stream) {
    if (stream_ != nullptr) {
        start_ = tellStream(stream_);
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
    if (!seekStream(stream_, start_ + static_cast<std::int64_t>(position), SEEK_SET)) {
        return false;
    }
    const bool written = n == 0 || std::fwrite(data, 1, n, stream_) == n;
    // Go back to the end whatever happened, so that later appends land there.
    const bool back = seekStream(stream_, 0, SEEK_END);
    return written && back;
}

bool FileSink::flush() {
    return stream_ != nullptr && std::fflush(stream_) == 0;
}

bool MemorySink::append(const void* data, std::size_t n) {
    if (n == 0) {
        return true;
    }
    try {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + n);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

bool MemorySink::overwrite(std::uint64_t position, const void* data, std::size_t n) {
    if (position > bytes_.size() || n > bytes_.size() - position) {
        return false;
    }
    if (n > 0) {
        std::memcpy(bytes_.data() + position, data, n);
    }
    return true;
}

} // namespace yfx
