#include "format/reader_inflate.h"

#include <limits>
#include <string>
#include <utility>

#include "format/file_layout.h"
#include "format/header_codec.h"
#include "format/inflate.h"
#include "format/reader_version_map.h"

namespace yfx {

namespace {

constexpr std::uint64_t kNoExactSize = std::numeric_limits<std::uint64_t>::max();

// Judges an inflating image by its first bytes (magic, version, flags and
// size sit at the same places in every header) and then holds every later
// step to the size that header gives, where the image must be exactly that
// long. Stopping sets the status and the reader's reason.
class LevelWatch {
public:
    LevelWatch(Reader& r, InflatedImage expected) : r_(r), expected_(expected) {}

    bool operator()(const std::uint8_t* bytes, std::size_t size) {
        if (!judged_ && size >= kHeaderPrefixSize) {
            judged_ = true;
            if (!judgeHeader(bytes)) {
                return false;
            }
        }
        if (size > exact_size_) {
            status_ =
                r_.failWith(kLoadBadSize, "the inflated image's header gives a size of " +
                                              std::to_string(exact_size_) + " bytes, more inflate");
            return false;
        }
        return true;
    }

    int status() const { return status_; }

private:
    bool judgeHeader(const std::uint8_t* bytes) {
        if (loadU32(bytes) != kFileMagicWord) {
            status_ = r_.failWith(kLoadBadMagic, "the inflated image does not begin with \"YFXH\"");
            return false;
        }
        const std::uint32_t version = loadU32(bytes + 4);
        const bool chunked = version == static_cast<std::uint32_t>(kChunkedVersion);
        if (expected_ == InflatedImage::ChunkedOnly && !chunked) {
            status_ =
                r_.failWith(kLoadBadVersion, "version " + std::to_string(version) +
                                                 " where the chunked version 34 was expected");
            return false;
        }
        // Only a chunked image is inflated again; any other must be exactly
        // as long as its header says (the sectioned reader does not look at
        // the compression flag of an image it has inflated).
        const bool compressedAgain = chunked && (loadU32(bytes + 8) & kFlagCompressed) != 0;
        if (!compressedAgain) {
            exact_size_ = loadU32(bytes + 12);
        }
        return true;
    }

    Reader& r_;
    InflatedImage expected_;
    bool judged_ = false;
    std::uint64_t exact_size_ = kNoExactSize;
    int status_ = kLoadOk; // another status once the watch has stopped the inflation
};

} // namespace

int inflateLevel(Reader& r, std::uint32_t bodyOffset, std::uint32_t declaredSize,
                 InflatedImage expected) {
    r.setSection("compressed body");
    const std::uint32_t size = r.cursor().size();
    if (bodyOffset > size) {
        return r.fail("starts at offset " + std::to_string(bodyOffset) + ", beyond the end at " +
                      std::to_string(size));
    }
    LevelWatch watch(r, expected);
    ByteBuffer inflated;
    std::string why;
    if (!inflateStream(
            r.cursor().data() + bodyOffset, size - bodyOffset, declaredSize, r.inflate_budget_left,
            inflated, why,
            [&watch](const std::uint8_t* bytes, std::size_t n) { return watch(bytes, n); })) {
        return watch.status() != kLoadOk ? watch.status() : r.fail(why);
    }
    r.inflate_budget_left -= inflated.size();
    r.installImage(std::move(inflated));
    return kLoadOk;
}

} // namespace yfx
