#include "tools/yfx/header_inspect.h"

#include "format/byte_cursor.h"
#include "format/file_layout.h"
#include "format/header_codec.h"
#include "format/inflate.h"
#include "format/reader_version_map.h"

namespace yfx {

namespace {

constexpr std::uint32_t kFirstVersion = kFirstReadableVersion;
constexpr std::uint32_t kChunked = kChunkedVersion;
constexpr std::uint32_t kChunkedHeaderSize = 48;
constexpr std::uint32_t kChunkedBodyOffsetPosition = 16;
// Nested compression of the chunked layout is followed this deep at most.
constexpr int kMaxNesting = 8;

constexpr std::uint32_t kTagDirectory = 0xBBBB0000u;
constexpr std::uint32_t kTagEmbeddedFiles = 0xBBBB0004u;

const char* const kLateSections[] = {"lights",   "cameras",    "materials",   "groups",
                                     "vertices", "face_links", "uvsets",      "meshes",
                                     "bones",    "animations", "info_strings"};
const char* const kEarlySections[] = {"lights", "cameras", "materials",  "groups",      "vertices",
                                      "meshes", "bones",   "animations", "info_strings"};

std::string offsetText(std::uint64_t offset) {
    return "offset " + std::to_string(offset);
}

// Inflates one level; `budgetLeft` is what the levels still to come may
// inflate, as when the reader loads the file.
bool inflate(const std::vector<std::uint8_t>& image, std::uint32_t bodyOffset,
             std::uint32_t declared, std::uint64_t& budgetLeft, ContainerLayer& layer,
             std::vector<std::uint8_t>& out, std::string& error) {
    if (bodyOffset > image.size()) {
        error = "the compressed body starts at " + offsetText(bodyOffset) +
                ", beyond the end of the file (" + std::to_string(image.size()) + " bytes)";
        return false;
    }
    layer.compressed_size = image.size() - bodyOffset;
    layer.ratio = layer.compressed_size > 0
                      ? static_cast<double>(declared) / static_cast<double>(layer.compressed_size)
                      : 0.0;
    std::string why;
    if (!inflateStream(image.data() + bodyOffset, image.size() - bodyOffset, declared, budgetLeft,
                       out, why)) {
        error = "compressed body at " + offsetText(bodyOffset) + ": " + why;
        return false;
    }
    budgetLeft -= out.size();
    return true;
}

void checkSize(HeaderReport& report) {
    if (report.size != report.actual_size) {
        report.problems.push_back("the header gives a size of " + std::to_string(report.size) +
                                  " bytes, " + std::to_string(report.actual_size) + " are present");
    }
}

// The section table of a sectioned stream, each entry checked against the
// count field it points at.
void inspectSections(const std::vector<std::uint8_t>& stream, HeaderReport& report) {
    const bool late = hasUVSections(static_cast<std::int32_t>(report.version));
    const char* const* names = late ? kLateSections : kEarlySections;
    const std::size_t count = late ? std::size(kLateSections) : std::size(kEarlySections);
    std::uint64_t previous = report.header_size;
    for (std::size_t k = 0; k < count; ++k) {
        HeaderSection section;
        section.name = names[k];
        const std::uint8_t* entry = stream.data() + kHeaderPrefixSize + k * kSectionEntrySize;
        section.count = static_cast<std::int32_t>(loadU32(entry));
        section.offset = loadU32(entry + 4);
        report.sections.push_back(section);

        const std::string where =
            std::string(section.name) + " section at " + offsetText(section.offset);
        if (std::uint64_t(section.offset) + 4 > stream.size()) {
            report.problems.push_back(where + " lies beyond the end of the stream (" +
                                      std::to_string(stream.size()) + " bytes)");
            continue;
        }
        if (k == 0 && section.offset != report.header_size) {
            report.problems.push_back(where + " does not start right after the " +
                                      std::to_string(report.header_size) + "-byte header");
        } else if (section.offset < previous) {
            report.problems.push_back(where + " comes before the section ahead of it");
        }
        previous = section.offset;
        const std::int32_t stored =
            static_cast<std::int32_t>(loadU32(stream.data() + section.offset));
        // The info strings are never read back, so their count is not held
        // against the file.
        const bool infoStrings = k + 1 == count;
        if (stored != section.count && !infoStrings) {
            report.problems.push_back(where + " holds the count " + std::to_string(stored) +
                                      ", the header says " + std::to_string(section.count));
        }
    }
}

// The embedded files of a chunk whose content is [begin, end).
void inspectEmbeddedFiles(const std::vector<std::uint8_t>& stream, std::uint64_t begin,
                          std::uint64_t end, HeaderReport& report) {
    ByteCursor cursor(stream.data(), static_cast<std::uint32_t>(end));
    cursor.seek(static_cast<std::uint32_t>(begin));
    std::int32_t count = 0;
    if (!cursor.readI32(count)) {
        report.problems.push_back("embedded files chunk at " + offsetText(begin - 8) +
                                  " is too short for its file count");
        return;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        EmbeddedFile file;
        NamePair name;
        const std::uint32_t at = cursor.position();
        if (!cursor.readName(name, NameEncoding::Utf16) || !cursor.readU32(file.size) ||
            !cursor.skip(file.size)) {
            report.problems.push_back("embedded file " + std::to_string(i) + " at " +
                                      offsetText(at) + " runs past the end of its chunk");
            return;
        }
        file.name = name.wide;
        report.files.push_back(file);
    }
}

void inspectChunks(const std::vector<std::uint8_t>& stream, HeaderReport& report) {
    std::uint64_t at = kChunkedHeaderSize;
    const std::uint64_t size = stream.size();
    bool first = true;
    while (at < size) {
        if (size - at < 8) {
            report.problems.push_back(std::to_string(size - at) +
                                      " bytes after the last chunk at " + offsetText(at) +
                                      " are too few for a chunk head");
            return;
        }
        HeaderChunk chunk;
        chunk.offset = at;
        chunk.tag = loadU32(stream.data() + at);
        chunk.length = loadU32(stream.data() + at + 4);
        chunk.name = chunkTagName(chunk.tag);
        report.chunks.push_back(chunk);
        if (first && chunk.tag != kTagDirectory) {
            report.problems.push_back("the first chunk (at " + offsetText(at) +
                                      ") is not the directory");
        }
        first = false;
        const std::uint64_t end = at + 8 + chunk.length;
        if (end > size) {
            report.problems.push_back(std::string(chunk.name) + " chunk at " + offsetText(at) +
                                      " needs " + std::to_string(chunk.length) + " bytes, " +
                                      std::to_string(size - at - 8) + " are left");
            return;
        }
        if (chunk.tag == kTagEmbeddedFiles) {
            inspectEmbeddedFiles(stream, at + 8, end, report);
        }
        at = end;
    }
    if (first) {
        report.problems.push_back("the file holds no chunk, not even the directory");
    }
}

} // namespace

const char* chunkTagName(std::uint32_t tag) {
    switch (tag) {
    case 0xBBBB0000u:
        return "directory";
    case 0xBBBB0001u:
        return "lights";
    case 0xBBBB0002u:
        return "cameras";
    case 0xBBBB0003u:
        return "materials";
    case 0xBBBB0004u:
        return "embedded_files";
    case 0xBBBB0006u:
        return "groups";
    case 0xBBBB0007u:
        return "meshes";
    case 0xBBBB0008u:
        return "bones";
    case 0xBBBB0009u:
        return "animations";
    case 0xBBBB000Au:
        return "info_strings";
    default:
        return "unknown";
    }
}

bool inspectHeaders(const std::vector<std::uint8_t>& image, HeaderReport& report,
                    std::string& error) {
    report = HeaderReport();
    report.file_size = image.size();
    if (image.size() > 0xFFFFFFFFu) {
        error = "the file is larger than 4 GiB";
        return false;
    }
    std::vector<std::uint8_t> stream = image;
    // A sectioned stream inflates once; the chunked layout may nest.
    bool sectionedInflated = false;
    std::uint64_t budgetLeft = kInflateBudget;
    for (int level = 0;; ++level) {
        if (stream.size() < kHeaderPrefixSize) {
            error = "the " + std::string(level == 0 ? "file" : "inflated stream") + " holds " +
                    std::to_string(stream.size()) + " bytes, too few for a header";
            return false;
        }
        if (loadU32(stream.data()) != kFileMagicWord) {
            error = std::string(level == 0 ? "the file" : "the inflated stream") +
                    " does not begin with \"YFXH\"";
            return false;
        }
        const std::uint32_t version = loadU32(stream.data() + 4);
        const std::uint32_t flags = loadU32(stream.data() + 8);
        const std::uint32_t size = loadU32(stream.data() + 12);
        if (version < kFirstVersion || version > kChunked) {
            error = "version " + std::to_string(version) + " is not a readable version";
            return false;
        }
        const bool chunked = version == kChunked;
        const std::uint32_t headerSize =
            chunked ? kChunkedHeaderSize
                    : headerWords(static_cast<std::int32_t>(version)) * std::uint32_t(4);
        if (stream.size() < headerSize) {
            error = "version " + std::to_string(version) + " needs a " +
                    std::to_string(headerSize) + "-byte header, the " +
                    (level == 0 ? "file" : "inflated stream") + " holds " +
                    std::to_string(stream.size()) + " bytes";
            return false;
        }
        // The inner stream of a sectioned container is not inflated again.
        const bool compressed = (flags & kFlagCompressed) != 0 && (chunked || !sectionedInflated);
        if (compressed) {
            if (level >= kMaxNesting) {
                error = "compressed more than " + std::to_string(kMaxNesting) + " levels deep";
                return false;
            }
            ContainerLayer layer;
            layer.version = version;
            layer.flags = flags;
            layer.inner_size = size;
            const std::uint32_t bodyOffset =
                loadU32(stream.data() +
                        (chunked ? kChunkedBodyOffsetPosition : kHeaderFirstOffsetPosition));
            std::vector<std::uint8_t> inner;
            if (!inflate(stream, bodyOffset, size, budgetLeft, layer, inner, error)) {
                return false;
            }
            if (inner.size() != size) {
                report.problems.push_back("the container gives an inner size of " +
                                          std::to_string(size) + " bytes, its body inflates to " +
                                          std::to_string(inner.size()));
            }
            report.containers.push_back(layer);
            sectionedInflated = !chunked;
            stream.swap(inner);
            continue;
        }
        report.version = version;
        report.flags = flags;
        report.size = size;
        report.actual_size = stream.size();
        report.header_size = headerSize;
        report.chunked = chunked;
        break;
    }
    checkSize(report);
    if (report.chunked) {
        inspectChunks(stream, report);
    } else {
        inspectSections(stream, report);
    }
    return true;
}

} // namespace yfx
