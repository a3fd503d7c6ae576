// Pieces both file writers share: section heads, the records whose layout is
// the same in both versions (vertices, animations, info strings), the material
// block and the UV lookup rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>

#include "document/scene_doc.h"
#include "format/byte_writer.h"
#include "format/file_layout.h"
#include "format/header_codec.h"
#include "format/writer_options.h"

namespace yfx {

// Opens a section: notes the position of its count into entry.offset, the
// count into entry.count, and writes the count. Fails the writer when the
// position or the count does not fit the header's 32-bit fields.
void beginSection(ByteWriter& out, SectionEntry& entry, std::size_t count);

// A count for the file: the size, or 0 when the option that governs it is off.
inline std::size_t countIf(bool on, std::size_t size) {
    return on ? size : 0;
}

void writeTransform(ByteWriter& out, const DocTransform& transform);
// The 92-byte block: word, five RGBA colours, shininess, opacity.
void writeMaterialBlock(ByteWriter& out, const DocMaterial& material);
// Maps a material really holds (its empty slots do not count).
std::int32_t presentMapCount(const DocMaterial& material);

// Every vertex of the pool: position, normal when flags hold kFlagNormals,
// colour when they hold kFlagColours, then its weights (none when joints is false).
void writeVertexEntries(ByteWriter& out, const SceneDoc& doc, std::uint32_t flags, bool joints);
// The first `count` animations with their tracks and keys.
void writeAnimationEntries(ByteWriter& out, const SceneDoc& doc, std::size_t count);
// The three info texts, each converted to 8-bit text of at most 259 bytes.
void writeInfoStrings(ByteWriter& out, const WriterOptions& options);

// The material index a polygon is written with.
inline std::int32_t fileMaterialIndex(const DocPolygon& polygon, bool materials) {
    return materials && polygon.material >= 0 ? polygon.material : -1;
}

// The UV of a polygon's corner in set k (0 or 1): the entry of the mesh's UV
// set k named by the corner's layer k index, or 0, 0 when the index is
// negative, the mesh has no such set or entry, or `enabled` is false.
inline DocUV lookupCornerUV(const DocMesh& mesh, const DocCorner& corner, int k, bool enabled) {
    DocUV uv;
    if (!enabled || k < 0 || k >= kPolygonUVLayers || std::size_t(k) >= mesh.uvsets.size()) {
        return uv;
    }
    const std::int32_t index = corner.uv[k].index;
    const std::vector<DocUV>& uvs = mesh.uvsets[std::size_t(k)].uvs;
    if (index >= 0 && std::size_t(index) < uvs.size()) {
        uv.u = uvs[std::size_t(index)].u;
        uv.v = uvs[std::size_t(index)].v;
    }
    return uv;
}

// Whether UV set k is looked up at all: set 0 with the UVs option, set 1 (and
// later) only with both the UVs and the UV sets options.
inline bool uvSetEnabled(const WriterOptions& options, int k) {
    return optionOn(options.export_uvs) && (k == 0 || optionOn(options.export_uvsets));
}

// Ends a stream: notes its length in the header and rewrites the header at
// offset 0. 1 only when every write succeeded and the length fits 32 bits.
template <typename Header, std::size_t N>
int finishStream(ByteWriter& out, Header& header, std::uint8_t (&bytes)[N]) {
    if (!out.ok() || out.position() > UINT32_MAX) {
        return 0;
    }
    header.size = static_cast<std::uint32_t>(out.position());
    encodeHeader(header, bytes);
    return out.rewrite(0, bytes, N) ? 1 : 0;
}

// Runs a writer so that no allocation failure leaves it: such a failure is
// the result 0, like any other failed write.
template <typename Write> int writeWithoutThrowing(Write&& write) {
    try {
        return write();
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }
}

} // namespace yfx
