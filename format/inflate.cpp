#include "format/inflate.h"

#include <new>

#include <zlib.h>

namespace yfx {

namespace {

constexpr std::uint64_t kDeflateMaxRatio = 1032;
constexpr std::uint64_t kZlibOverhead = 6; // two header bytes, four checksum bytes
// Slack for the few bytes of a tiny stream's final block.
constexpr std::uint64_t kSmallStreamSlack = 1032;

} // namespace

std::uint64_t largestInflatedSize(std::uint64_t sourceLength) {
    const std::uint64_t payload = sourceLength > kZlibOverhead ? sourceLength - kZlibOverhead : 0;
    return payload * kDeflateMaxRatio + kSmallStreamSlack;
}

bool inflateBody(const std::uint8_t* source, std::size_t sourceLength, std::uint32_t declaredSize,
                 std::vector<std::uint8_t>& out, std::string& why) {
    std::vector<std::uint8_t>().swap(out);
    if (declaredSize == 0) {
        why = "the header gives an inflated size of 0";
        return false;
    }
    if (source == nullptr || sourceLength == 0) {
        why = "the compressed body is empty";
        return false;
    }
    if (declaredSize > largestInflatedSize(sourceLength)) {
        why = "the inflated size " + std::to_string(declaredSize) + " cannot come from " +
              std::to_string(sourceLength) + " compressed bytes";
        return false;
    }
    if (sourceLength > static_cast<std::size_t>(static_cast<uLong>(-1))) {
        why = "the compressed body is too large";
        return false;
    }
    try {
        out.resize(declaredSize);
    } catch (const std::bad_alloc&) {
        why = "cannot allocate " + std::to_string(declaredSize) + " bytes to inflate into";
        return false;
    }
    uLongf length = static_cast<uLongf>(declaredSize);
    const int code = uncompress(out.data(), &length, source, static_cast<uLong>(sourceLength));
    if (code != Z_OK || length == 0) {
        std::vector<std::uint8_t>().swap(out);
        why = code == Z_BUF_ERROR   ? "the compressed body inflates beyond its declared size"
              : code == Z_MEM_ERROR ? "zlib ran out of memory"
              : code == Z_OK        ? "the compressed body inflates to nothing"
                                    : "the compressed body is damaged";
        return false;
    }
    out.resize(length);
    return true;
}

} // namespace yfx
