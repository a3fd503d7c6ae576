#include "format/reader_header.h"

#include <utility>

#include "format/chunked_reader.h"
#include "format/file_layout.h"
#include "format/reader_inflate.h"
#include "format/reader_sections.h"
#include "format/reader_version_map.h"

namespace yfx {

namespace {

// Header slot of file word w: 24-word headers put their words 14 to 23 into
// slots 18 to 27.
std::uint32_t slotOfWord(std::uint32_t words, std::uint32_t w) {
    return words == 24 && w >= 14 ? w + 4 : w;
}

// Magic and version from position 0. -5 for a wrong magic, 0 when short.
int readPrefix(Reader& r, std::uint32_t& version) {
    r.setSection("header");
    r.cursor().seek(0);
    std::uint32_t magic = 0;
    if (!r.u32(magic)) {
        return kLoadFailed;
    }
    if (magic != kFileMagicWord) {
        return r.failWith(kLoadBadMagic, "the file does not begin with \"YFXH\"");
    }
    return r.u32(version) ? kLoadOk : kLoadFailed;
}

// The header words of the version into the 32 slots, from position 0.
bool readHeaderWords(Reader& r, std::int32_t version) {
    const std::uint32_t words = headerWords(version);
    for (std::uint32_t& slot : r.header) {
        slot = 0;
    }
    r.cursor().seek(0);
    for (std::uint32_t w = 0; w < words; ++w) {
        if (!r.u32(r.header[slotOfWord(words, w)])) {
            return false;
        }
    }
    return true;
}

int badVersion(Reader& r, std::uint32_t version) {
    return r.failWith(kLoadBadVersion,
                      "version " + std::to_string(version) + " is not a readable version");
}

// Versions below 6 and above 34 are refused; 34 is the chunked layout.
bool sectionedVersion(std::uint32_t version) {
    return version >= static_cast<std::uint32_t>(kFirstReadableVersion) &&
           version <= static_cast<std::uint32_t>(kLastSectionedVersion);
}

int chunked(Reader& r) {
    r.cursor().seek(0);
    return parseChunkedImage(r);
}

int checkSize(Reader& r) {
    const std::uint32_t size = r.cursor().size();
    if (r.header[kSlotSize] != size) {
        return r.failWith(kLoadBadSize, "the header gives a size of " +
                                            std::to_string(r.header[kSlotSize]) + " bytes, " +
                                            std::to_string(size) + " are present");
    }
    return kLoadOk;
}

} // namespace

int parseImage(Reader& r) {
    std::uint32_t version = 0;
    int status = readPrefix(r, version);
    if (status != kLoadOk) {
        return status;
    }
    if (version == static_cast<std::uint32_t>(kChunkedVersion)) {
        return chunked(r);
    }
    if (!sectionedVersion(version)) {
        return badVersion(r, version);
    }
    if (!readHeaderWords(r, static_cast<std::int32_t>(version))) {
        return kLoadFailed;
    }
    if ((r.header[kSlotFlags] & kFlagCompressed) != 0) {
        // One level of inflation: the inner header's compression flag is not
        // looked at again. The body runs from the offset in slot 5 to the end
        // of the image; slot 3 bounds its inflated size.
        if ((status = inflateLevel(r, r.header[kSlotFirstSection], r.header[kSlotSize],
                                   InflatedImage::AnyVersion)) != kLoadOk ||
            (status = readPrefix(r, version)) != kLoadOk) {
            return status;
        }
        if (version == static_cast<std::uint32_t>(kChunkedVersion)) {
            return chunked(r);
        }
        if (!readHeaderWords(r, sectionedVersion(version) ? static_cast<std::int32_t>(version)
                                                          : kFirstReadableVersion)) {
            return kLoadFailed;
        }
        if ((status = checkSize(r)) != kLoadOk) {
            return status;
        }
        if (!sectionedVersion(version)) {
            return badVersion(r, version);
        }
    } else if ((status = checkSize(r)) != kLoadOk) {
        return status;
    }

    r.version = static_cast<std::int32_t>(version);
    r.flags = r.header[kSlotFlags];
    r.encoding = nameEncoding(r.version);
    r.body_start = r.cursor().position();
    r.doc().version = r.version;
    return parseSections(r);
}

} // namespace yfx
