// The chunked layout: header (with as many levels of inflation as the image
// asks for, up to kChunkedMaxInflations), the directory, then the same two
// walks over the chunks as over the sections of the sectioned layout:
// counting, allocation, filling.
#include "format/chunked_reader.h"

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "format/chunked_parse.h"
#include "format/file_layout.h"
#include "format/reader_inflate.h"
#include "format/reader_version_map.h"

namespace yfx {

namespace {

bool failed(Reader& r, const std::string& what) {
    r.fail(what);
    return false;
}

// Reads the header from position 0, inflating a compressed image (and the
// images it holds) first. Leaves the cursor just after the header.
int readChunkedHeader(Reader& r) {
    for (int inflations = 0;; ++inflations) {
        r.setSection("header");
        r.cursor().seek(0);
        std::uint32_t magic = 0;
        std::uint32_t version = 0;
        std::uint32_t flags = 0;
        std::uint32_t total = 0;
        std::uint32_t bodyOffset = 0;
        if (!r.u32(magic)) {
            return kLoadFailed;
        }
        if (magic != kFileMagicWord) {
            return r.failWith(kLoadBadMagic, "the image does not begin with \"YFXH\"");
        }
        if (!r.u32(version)) {
            return kLoadFailed;
        }
        if (version != static_cast<std::uint32_t>(kChunkedVersion)) {
            return r.failWith(kLoadBadVersion, "version " + std::to_string(version) +
                                                   " where the chunked version 34 was expected");
        }
        if (!r.u32(flags) || !r.u32(total) || !r.u32(bodyOffset) ||
            !r.skip(kChunkedUninterpretedSize)) {
            return kLoadFailed;
        }
        if ((flags & kChunkedFlagCompressed) != 0) {
            if (inflations == kChunkedMaxInflations) {
                return r.fail("compressed more than " + std::to_string(kChunkedMaxInflations) +
                              " levels deep");
            }
            const int status = inflateLevel(r, bodyOffset, total, InflatedImage::ChunkedOnly);
            if (status != kLoadOk) {
                return status;
            }
            continue;
        }
        if (total != r.cursor().size()) {
            return r.failWith(kLoadBadSize, "the header gives a size of " + std::to_string(total) +
                                                " bytes, " + std::to_string(r.cursor().size()) +
                                                " are present");
        }
        r.version = kChunkedVersion;
        r.flags = flags;
        r.encoding = nameEncoding(kChunkedVersion);
        r.doc().version = kChunkedVersion;
        return kLoadOk;
    }
}

// The directory must be the first chunk. Its entries (tag, value) name the
// other chunks but decide nothing: they are stepped over.
bool readDirectory(Reader& r) {
    r.setSection("directory");
    ChunkSpan directory;
    if (!readChunkHeader(r, r.cursor().size(), directory)) {
        return false;
    }
    if (directory.tag != kChunkDirectory) {
        return failed(r, "the first chunk is not the directory");
    }
    for (std::int64_t i = 0; r.cursor().position() < directory.end; ++i) {
        r.setRecord("entry", i);
        if (!r.skip(kDirectoryEntrySize)) {
            return false;
        }
    }
    r.body_start = r.cursor().position();
    return true;
}

// The info strings: only their count is kept; the names are stepped over.
bool readInfoStrings(Reader& r, Pass pass, const ChunkSpan& chunk) {
    r.setSection("info strings");
    std::int32_t count = 0;
    if (!r.i32(count)) {
        return false;
    }
    if (pass == Pass::Count) {
        r.doc().section_counts[kSectionInfoStrings] = count;
        r.doc().section_offsets[kSectionInfoStrings] = chunk.start;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        r.setRecord("string", i);
        if (!r.skipName()) {
            return false;
        }
    }
    return true;
}

bool readTopChunk(ChunkedParse& p, const ChunkSpan& chunk) {
    Reader& r = p.r;
    switch (chunk.tag) {
    case kChunkLights:
        return readLights(r, p.pass);
    case kChunkCameras:
        return readCameras(r, p.pass);
    case kChunkMaterials:
        return readMaterials(r, p.pass);
    case kChunkEmbeddedFiles:
        return readEmbeddedFiles(r, p.pass);
    case kChunkGroups:
        return readGroups(r, p.pass);
    case kChunkMeshes:
        return readMeshContainer(p, chunk);
    case kChunkBones:
        return readBones(r, p.pass);
    case kChunkAnimations:
        return readAnimations(r, p.pass);
    case kChunkInfoStrings:
        return readInfoStrings(r, p.pass, chunk);
    default:
        return true; // unknown chunks are stepped over by their length
    }
}

// One walk over the top-level chunks, from the body start to the end of the
// image; fewer than a chunk header's bytes at the end fail it. The filling
// walk only moves forward and gives the image's memory behind it back as it
// goes (at each chunk, vertex, polygon and UV).
bool walkChunks(ChunkedParse& p) {
    Reader& r = p.r;
    r.cursor().seek(r.body_start);
    const std::uint32_t end = r.cursor().size();
    while (r.cursor().position() < end) {
        if (p.pass == Pass::Fill) {
            r.releaseReadImage();
        }
        r.setSection("chunks");
        ChunkSpan chunk;
        if (!readChunkHeader(r, end, chunk) || !readTopChunk(p, chunk)) {
            return false;
        }
        leaveChunk(r, chunk);
    }
    return true;
}

// The counting walk's totals over every mesh become the document counts
// the allocation step reads.
bool storeMeshTotals(Reader& r, const MeshTallies& totals) {
    constexpr std::uint64_t kLargest = std::numeric_limits<std::int32_t>::max();
    r.setSection("meshes");
    if (totals.vertices > kLargest || totals.face_links > kLargest) {
        return failed(r, "more vertices or face links than a document can hold");
    }
    std::int32_t* counts = r.doc().section_counts;
    counts[kSectionVertices] = static_cast<std::int32_t>(totals.vertices);
    counts[kSectionFaceLinks] = static_cast<std::int32_t>(totals.face_links);
    counts[kSectionUVSets] = totals.largest_set_count;
    return true;
}

} // namespace

int parseChunkedImage(Reader& r) {
    const int status = readChunkedHeader(r);
    if (status != kLoadOk) {
        return status;
    }
    if (!readDirectory(r)) {
        return kLoadFailed;
    }
    ChunkedParse counting(r, Pass::Count);
    if (!walkChunks(counting)) {
        return kLoadFailed;
    }
    // Polygon corners are not totalled for this layout (no UV arrays hang
    // on them).
    r.corner_total = 0;
    if (!storeMeshTotals(r, counting.tallies) || !allocateRecords(r) ||
        !allocateUVSetLists(r, counting.tallies)) {
        return kLoadFailed;
    }
    ChunkedParse filling(r, Pass::Fill);
    if (!walkChunks(filling)) {
        return kLoadFailed;
    }
    dropPolygonsWithBadCorners(r.doc());
    return kLoadOk;
}

} // namespace yfx
