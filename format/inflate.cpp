#include "format/inflate.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>

#include <libdeflate.h>
#include <zlib.h>

namespace yfx {

namespace {

constexpr std::uint64_t kDeflateMaxRatio = 1032;
constexpr std::uint64_t kZlibOverhead = 6; // two header bytes, four checksum bytes
// Slack for the few bytes of a tiny stream's final block.
constexpr std::uint64_t kSmallStreamSlack = 1032;

// The output buffer's first size; it doubles from here as the stream fills it.
constexpr std::uint64_t kFirstOutputSize = 64 * 1024;

// The most zlib takes or gives in one step (its counts are unsigned int).
constexpr std::size_t kLargestStep = std::numeric_limits<uInt>::max();

// Ends the zlib stream however the inflation ends.
class InflateStream {
public:
    InflateStream() { started_ = inflateInit(&z_) == Z_OK; }
    ~InflateStream() {
        if (started_) {
            inflateEnd(&z_);
        }
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool started() const { return started_; }
    z_stream& z() { return z_; }

private:
    z_stream z_{};
    bool started_ = false;
};

// Project streams compress about 7 to 1 (the bench's scene of a million
// quads: 276 MB into 39 MB); a declared size within this many times its
// source is one that real data reaches. Deflate itself goes to 1032.
constexpr std::uint64_t kRealisticRatio = 32;

// The buffer's next size, beyond `size` and at most `limit`. It doubles
// (from its first size), so that it never holds more than twice what has
// inflated. An honest body would then be copied at every doubling, so a
// declared size that real data reaches from a source this long is taken at
// once, once the output so far, scaled to the whole source, promises at
// least half of it: the memory then follows the compressed bytes present
// (never more than kRealisticRatio times them) rather than the header.
std::uint64_t nextSize(std::uint64_t size, std::uint64_t limit, std::uint64_t produced,
                       std::uint64_t consumed, std::uint64_t sourceLength) {
    const double promised =
        consumed > 0 ? double(produced) * double(sourceLength) / double(consumed) : 0.0;
    if (limit <= kRealisticRatio * sourceLength && promised >= double(limit) / 2) {
        return limit;
    }
    return std::min(limit, std::max<std::uint64_t>(kFirstOutputSize, 2 * size));
}

// Grows the buffer to `size` (its new bytes are not written: the inflation
// writes them). The room is taken exactly, so that no allocation exceeds the
// new size. False when the memory cannot be had.
bool grow(ByteBuffer& out, std::uint64_t size) {
    return out.resize(static_cast<std::size_t>(size));
}

// Once the buffer may take the whole size, the stream is inflated in one call
// by libdeflate, which takes 0.55 to 0.65 of the time zlib takes, provided
// that no more than this share of it has inflated already (the call starts
// again from the stream's first byte).
constexpr std::uint64_t kWholeBufferMostDoneShare = 4; // a quarter

struct FreeDecompressor {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// Inflates the whole zlib stream into `room` bytes. True with `produced` set
// when the stream is intact and fits; false otherwise, the bytes at `out`
// being undefined then.
bool inflateWhole(const std::uint8_t* source, std::size_t sourceLength, std::uint8_t* out,
                  std::size_t room, std::size_t& produced) {
    const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> d(
        libdeflate_alloc_decompressor());
    std::size_t consumed = 0; // the stream may end before the source does, as for zlib
    return d && libdeflate_zlib_decompress_ex(d.get(), source, sourceLength, out, room, &consumed,
                                              &produced) == LIBDEFLATE_SUCCESS;
}

std::string failureText(int code, const z_stream& z, std::uint64_t limit, std::uint32_t capacity) {
    if (code == Z_MEM_ERROR) {
        return "zlib ran out of memory";
    }
    if (code != Z_BUF_ERROR || z.avail_out != 0) {
        // A damaged stream, or one that ends before its end (all input taken,
        // room left for more output).
        return "the compressed body is damaged";
    }
    if (limit == capacity) {
        return "the compressed body inflates beyond its declared size of " +
               std::to_string(capacity) + " bytes";
    }
    return "the compressed data inflates beyond " + std::to_string(limit) +
           " bytes, all that one load may inflate";
}

// The inflation proper, once the request has passed the cheap checks. The
// output is taken in steps: each fills the room the buffer has, and the
// buffer grows when a step has filled it. When the buffer has grown to the
// whole limit early on, the rest goes in one call (inflateWhole); a stream
// that call refuses is inflated again from its start step by step, so that
// a damaged stream fails where and as zlib finds it.
bool inflateWithin(const std::uint8_t* source, std::size_t sourceLength, std::uint32_t capacity,
                   std::uint64_t limit, ByteBuffer& out, std::string& why,
                   const InflateWatch& watch) {
    InflateStream stream;
    if (!stream.started()) {
        why = "zlib cannot start inflating";
        return false;
    }
    z_stream& z = stream.z();
    const std::uint8_t* input = source;
    std::size_t inputLeft = sourceLength;
    std::size_t produced = 0;
    bool wholeTried = false;
    for (;;) {
        if (produced == out.size() && out.size() < limit) {
            const std::uint64_t next =
                nextSize(out.size(), limit, produced, z.total_in, sourceLength);
            if (!grow(out, next)) {
                why = "cannot allocate more than " + std::to_string(out.size()) +
                      " bytes to inflate into";
                return false;
            }
            if (next == limit && !wholeTried && produced <= limit / kWholeBufferMostDoneShare) {
                wholeTried = true;
                std::size_t whole = 0;
                if (inflateWhole(source, sourceLength, out.data(), out.size(), whole)) {
                    produced = whole;
                    if (watch && !watch(out.data(), produced)) {
                        return false;
                    }
                    break;
                }
                if (inflateReset(&z) != Z_OK) {
                    why = "zlib cannot start inflating";
                    return false;
                }
                z.avail_in = 0;
                input = source;
                inputLeft = sourceLength;
                produced = 0;
            }
        }
        if (z.avail_in == 0 && inputLeft > 0) {
            const std::size_t step = std::min(inputLeft, kLargestStep);
            z.next_in = const_cast<Bytef*>(input);
            z.avail_in = static_cast<uInt>(step);
            input += step;
            inputLeft -= step;
        }
        // The buffer is never larger than the capacity, a 32-bit size.
        z.next_out = out.data() + produced;
        z.avail_out = static_cast<uInt>(out.size() - produced);
        const int code = inflate(&z, Z_NO_FLUSH);
        produced = out.size() - z.avail_out;
        if (watch && !watch(out.data(), produced)) {
            return false;
        }
        if (code == Z_STREAM_END) {
            break;
        }
        // Z_OK: progress was made. Z_BUF_ERROR: none is possible, as the
        // input is used up or the output reached its limit.
        if (code != Z_OK) {
            why = failureText(code, z, limit, capacity);
            return false;
        }
    }
    if (produced == 0) {
        why = "the compressed body inflates to nothing";
        return false;
    }
    out.resize(produced);
    return true;
}

} // namespace

std::uint64_t largestInflatedSize(std::uint64_t sourceLength) {
    const std::uint64_t payload = sourceLength > kZlibOverhead ? sourceLength - kZlibOverhead : 0;
    return payload * kDeflateMaxRatio + kSmallStreamSlack;
}

bool inflateStream(const std::uint8_t* source, std::size_t sourceLength, std::uint32_t capacity,
                   std::uint64_t budget, ByteBuffer& out, std::string& why,
                   const InflateWatch& watch) {
    out.clear();
    if (capacity == 0) {
        why = "the header gives an inflated size of 0";
        return false;
    }
    if (source == nullptr || sourceLength == 0) {
        why = "the compressed body is empty";
        return false;
    }
    if (capacity > largestInflatedSize(sourceLength)) {
        why = "the inflated size " + std::to_string(capacity) + " cannot come from " +
              std::to_string(sourceLength) + " compressed bytes";
        return false;
    }
    const std::uint64_t limit = std::min<std::uint64_t>(capacity, budget);
    if (limit == 0) {
        why = "nothing is left of what one load may inflate";
        return false;
    }
    bool inflated = false;
    try {
        inflated = inflateWithin(source, sourceLength, capacity, limit, out, why, watch);
    } catch (const std::bad_alloc&) {
        why = "cannot allocate more than " + std::to_string(out.size()) + " bytes to inflate into";
    } catch (const std::length_error&) {
        why = "cannot allocate the room to inflate into";
    }
    if (!inflated) {
        out.clear();
    }
    return inflated;
}

bool inflateStream(const std::uint8_t* source, std::size_t sourceLength, std::uint32_t capacity,
                   std::uint64_t budget, std::vector<std::uint8_t>& out, std::string& why,
                   const InflateWatch& watch) {
    std::vector<std::uint8_t>().swap(out);
    ByteBuffer inflated;
    if (!inflateStream(source, sourceLength, capacity, budget, inflated, why, watch)) {
        return false;
    }
    try {
        out.assign(inflated.data(), inflated.data() + inflated.size());
    } catch (const std::bad_alloc&) {
        why = "cannot allocate " + std::to_string(inflated.size()) + " bytes for the inflated copy";
        return false;
    }
    return true;
}

} // namespace yfx
