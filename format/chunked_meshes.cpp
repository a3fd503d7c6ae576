// The mesh container of the chunked layout: a mesh count, then one mesh
// chunk per mesh with its vertices, face links, polygons and UV sets in
// sub-chunks of any order.
//
// The document has one vertex pool, one face link array and one array of UV
// sets for all meshes, while each mesh chunk numbers its own vertices and
// UVs from 0. Each mesh's records are therefore appended after those of the
// meshes before it, and once a mesh chunk has been read its polygons' corner
// indices are moved by the same amounts. An index that names nothing in its
// own mesh becomes -1, so it can never reach into another mesh's records.
#include <algorithm>
#include <cstddef>
#include <limits>
#include <new>
#include <string>

#include "document/doc_alloc.h"
#include "format/chunked_parse.h"
#include "format/file_layout.h"

namespace yfx {

namespace {

constexpr std::uint64_t kWeightSize = 8;       // bone index, weight
constexpr std::uint64_t kPolygonHeadSize = 20; // corners, layers, group, material, value
// A UV set chunk holds at least a chunk header and a name length.
constexpr std::uint64_t kSmallestUVSetChunk = kChunkHeaderSize + 2;
constexpr std::size_t kLayers = static_cast<std::size_t>(kPolygonUVLayers);

bool failed(Reader& r, const std::string& what) {
    r.fail(what);
    return false;
}

// Bytes of a vertex record before its weights, by the header flags.
std::uint64_t vertexHeadSize(std::uint32_t flags) {
    return 12 + ((flags & kChunkedFlagNormals) ? 12 : 0) +
           ((flags & kChunkedFlagExtraVectors) ? 24 : 0) + ((flags & kChunkedFlagColours) ? 16 : 0);
}

// One vertex: the position and colour are kept, the normal and the two
// extra vectors are stepped over. `v` is null in the counting walk.
bool readVertex(Reader& r, DocVertex* v) {
    const std::uint32_t flags = r.flags;
    if (v == nullptr) {
        if (!r.skip(vertexHeadSize(flags))) {
            return false;
        }
    } else if (!r.f32s(v->position, 3) || ((flags & kChunkedFlagNormals) && !r.skip(12)) ||
               ((flags & kChunkedFlagExtraVectors) && !r.skip(24)) ||
               ((flags & kChunkedFlagColours) && !r.f32s(v->colour, 4))) {
        return false;
    }
    if ((flags & kChunkedFlagWeights) == 0) {
        return true;
    }
    std::int32_t weights = 0;
    if (!r.i32(weights)) {
        return false;
    }
    if (v == nullptr || weights < 1) {
        return r.skipElements(weights, kWeightSize);
    }
    if (!r.fits(weights, kWeightSize)) {
        return false;
    }
    if (!allocateWeights(*v, weights)) {
        return failed(r, "cannot allocate weights");
    }
    for (DocWeight& w : v->weights) {
        if (!r.i32(w.bone) || !r.f32(w.weight)) {
            return false;
        }
    }
    return true;
}

bool readMeshVertices(ChunkedParse& p) {
    Reader& r = p.r;
    std::uint64_t& placed = p.tallies.vertices;
    std::int32_t count = 0;
    r.setPart("vertex count", 0);
    if (!r.i32(count)) {
        return false;
    }
    if (count < 1) {
        return true;
    }
    const bool weights = (r.flags & kChunkedFlagWeights) != 0;
    const std::uint64_t head = vertexHeadSize(r.flags);
    if (!r.fits(count, head + (weights ? 4 : 0))) {
        return false;
    }
    if (p.pass == Pass::Count && !weights) {
        placed += static_cast<std::uint64_t>(count);
        return r.skipElements(count, head);
    }
    std::vector<DocVertex>& pool = r.doc().vertices;
    for (std::int32_t i = 0; i < count; ++i, ++placed) {
        r.setPart("vertex", i);
        DocVertex* v = nullptr;
        if (p.pass == Pass::Fill) {
            if (placed >= pool.size()) {
                return failed(r, "more vertices than were counted");
            }
            v = &pool[static_cast<std::size_t>(placed)];
            r.releaseReadImage();
        }
        if (!readVertex(r, v)) {
            return false;
        }
    }
    return true;
}

// A counted list of face links appended at `placed` of `links` (in the
// filling walk; the counting walk steps over it).
bool appendFaceLinks(ChunkedParse& p, std::vector<DocFaceLink>& links, std::uint64_t& placed) {
    Reader& r = p.r;
    std::int32_t count = 0;
    if (!r.i32(count)) {
        return false;
    }
    if (p.pass == Pass::Count || count < 1) {
        if (!readFaceLinkList(r, count, nullptr)) {
            return false;
        }
        placed += count > 0 ? static_cast<std::uint64_t>(count) : 0;
        return true;
    }
    std::vector<DocFaceLink> read;
    if (!readFaceLinkList(r, count, &read)) {
        return false;
    }
    if (placed + read.size() > links.size()) {
        return failed(r, "more face links than were counted");
    }
    std::copy(read.begin(), read.end(), links.begin() + static_cast<std::ptrdiff_t>(placed));
    placed += read.size();
    return true;
}

// Polygons are appended to the mesh's list (the filling walk) or stepped
// over (the counting walk).
bool readMeshPolygons(ChunkedParse& p, DocMesh* mesh) {
    Reader& r = p.r;
    std::int32_t count = 0;
    r.setPart("polygon count", 0);
    if (!r.i32(count)) {
        return false;
    }
    if (count < 1) {
        return true;
    }
    if (!r.fits(count, kPolygonHeadSize)) {
        return false;
    }
    std::size_t first = 0;
    if (mesh != nullptr) {
        first = mesh->polygons.size();
        try {
            mesh->polygons.resize(first + static_cast<std::size_t>(count));
        } catch (const std::bad_alloc&) {
            return failed(r, "cannot allocate polygons");
        }
    }
    for (std::int32_t k = 0; k < count; ++k) {
        r.setPart("polygon", k);
        DocPolygon* polygon = nullptr;
        if (mesh != nullptr) {
            polygon = &mesh->polygons[first + static_cast<std::size_t>(k)];
            r.releaseReadImage();
        }
        if (!readLatePolygon(r, p.pass, polygon)) {
            return false;
        }
    }
    return true;
}

bool readUVList(ChunkedParse& p, DocUVSet* set, UVSetTally& tally) {
    Reader& r = p.r;
    std::int32_t count = 0;
    if (!r.i32(count)) {
        return false;
    }
    if (count < 1) {
        return true;
    }
    if (set == nullptr) {
        tally.uvs += static_cast<std::uint64_t>(count);
        return r.skipElements(count, kFileUVSize);
    }
    if (!r.fits(count, kFileUVSize)) {
        return false;
    }
    if (tally.uvs + static_cast<std::uint64_t>(count) > set->uvs.size()) {
        return failed(r, "more UVs than were counted");
    }
    for (std::int32_t i = 0; i < count; ++i, ++tally.uvs) {
        DocUV& uv = set->uvs[static_cast<std::size_t>(tally.uvs)];
        r.releaseReadImage();
        if (!r.i32(uv.uv_word) || !r.f32(uv.u) || !r.f32(uv.v)) {
            return false;
        }
    }
    return true;
}

// UV set k of the mesh with the given ordinal: its name (kept from the
// first mesh that gives the set one), then its UV and link lists.
bool readUVSet(ChunkedParse& p, const ChunkSpan& chunk, std::size_t k, std::uint64_t mesh) {
    Reader& r = p.r;
    std::vector<UVSetTally>& sets = p.tallies.sets;
    if (sets.size() <= k) {
        sets.resize(k + 1);
    }
    UVSetTally& tally = sets[k];
    if (tally.mesh != mesh) {
        tally.mesh = mesh;
        tally.mesh_base = tally.uvs;
    }
    DocUVSet* set = nullptr;
    if (p.pass == Pass::Fill) {
        std::vector<DocUVSet>& all = r.doc().uvsets;
        if (k >= all.size()) {
            return failed(r, "more UV sets than were counted");
        }
        set = &all[k];
    }
    r.setPart("uv set", static_cast<std::int64_t>(k));
    if (set != nullptr && !tally.named) {
        if (!r.name(set->name)) {
            return false;
        }
        tally.named = true;
    } else if (!r.skipName()) {
        return false;
    }
    return forEachChunk(r, chunk.end, [&](const ChunkSpan& sub) {
        switch (sub.tag) {
        case kChunkUVSetUVs:
            return readUVList(p, set, tally);
        case kChunkUVSetLinks: {
            std::vector<DocFaceLink> none;
            return appendFaceLinks(p, set != nullptr ? set->links : none, tally.links);
        }
        default:
            return true;
        }
    });
}

bool readUVSetContainer(ChunkedParse& p, const ChunkSpan& chunk, std::uint64_t mesh) {
    Reader& r = p.r;
    std::int32_t count = 0;
    r.setPart("uv set count", 0);
    if (!r.i32(count)) {
        return false;
    }
    // Every set the count announces becomes a document record, so the
    // count must be one the image could hold.
    if (count > 0 && !r.fits(count, kSmallestUVSetChunk)) {
        return false;
    }
    SceneDoc& doc = r.doc();
    if (p.pass == Pass::Count && p.tallies.largest_set_count == 0 &&
        doc.section_offsets[kSectionUVSets] == 0) {
        doc.section_offsets[kSectionUVSets] = chunk.start;
        doc.uv_section_position = chunk.start;
    }
    p.tallies.largest_set_count = std::max(p.tallies.largest_set_count, count);
    std::size_t index = 0;
    return forEachChunk(r, chunk.end, [&](const ChunkSpan& sub) {
        if (sub.tag != kChunkUVSet) {
            return true;
        }
        if (index >= static_cast<std::size_t>(count > 0 ? count : 0)) {
            return failed(r, "more UV set chunks than the count of " + std::to_string(count));
        }
        return readUVSet(p, sub, index++, mesh);
    });
}

std::int32_t rebased(std::int32_t local, std::uint64_t base, std::uint64_t own) {
    if (local < 0 || static_cast<std::uint64_t>(local) >= own) {
        return -1;
    }
    return static_cast<std::int32_t>(base + static_cast<std::uint64_t>(local));
}

// Moves the corner indices of the polygons that mesh chunk `ordinal` added
// (from `first` on) from the mesh's own numbering to the document's.
void rebasePolygons(DocMesh& mesh, std::size_t first, std::uint64_t vertexBase,
                    std::uint64_t ownVertices, const MeshTallies& tallies, std::uint64_t ordinal) {
    std::uint64_t uvBase[kLayers] = {};
    std::uint64_t ownUVs[kLayers] = {};
    for (std::size_t l = 0; l < kLayers && l < tallies.sets.size(); ++l) {
        const UVSetTally& set = tallies.sets[l];
        if (set.mesh == ordinal) {
            uvBase[l] = set.mesh_base;
            ownUVs[l] = set.uvs - set.mesh_base;
        }
    }
    for (std::size_t i = first; i < mesh.polygons.size(); ++i) {
        for (DocCorner& corner : mesh.polygons[i].corners) {
            corner.vertex = rebased(corner.vertex, vertexBase, ownVertices);
            for (std::size_t l = 0; l < kLayers; ++l) {
                corner.uv[l].index = rebased(corner.uv[l].index, uvBase[l], ownUVs[l]);
            }
        }
    }
}

bool readMesh(ChunkedParse& p, const ChunkSpan& chunk, DocMesh* mesh) {
    Reader& r = p.r;
    MeshTallies& tallies = p.tallies;
    const std::uint64_t ordinal = tallies.meshes_seen++;
    const std::uint64_t vertexBase = tallies.vertices;
    const std::size_t firstPolygon = mesh != nullptr ? mesh->polygons.size() : 0;
    std::vector<DocFaceLink>& links = r.doc().face_links;
    const bool ok = forEachChunk(r, chunk.end, [&](const ChunkSpan& sub) {
        switch (sub.tag) {
        case kChunkMeshVertices:
            return readMeshVertices(p);
        case kChunkMeshFaceLinks:
            r.setPart("face links", 0);
            return appendFaceLinks(p, links, tallies.face_links);
        case kChunkMeshPolygons:
            return readMeshPolygons(p, mesh);
        case kChunkMeshUVSets:
            return readUVSetContainer(p, sub, ordinal);
        default:
            return true;
        }
    });
    if (ok && mesh != nullptr) {
        rebasePolygons(*mesh, firstPolygon, vertexBase, tallies.vertices - vertexBase, tallies,
                       ordinal);
    }
    return ok;
}

} // namespace

bool readMeshContainer(ChunkedParse& p, const ChunkSpan& chunk) {
    Reader& r = p.r;
    SceneDoc& doc = r.doc();
    r.setSection("meshes");
    std::int32_t count = 0;
    if (!r.i32(count)) {
        return false;
    }
    // Every mesh the count announces becomes a document record, so the
    // count must be one the image could hold (a mesh chunk header each).
    if (count > 0 && !r.fits(count, kChunkHeaderSize)) {
        return false;
    }
    if (p.pass == Pass::Count) {
        if (doc.section_offsets[kSectionMeshes] == 0) {
            doc.section_offsets[kSectionMeshes] = chunk.start;
        }
        doc.section_counts[kSectionMeshes] = count;
    }
    std::int32_t index = 0;
    return forEachChunk(r, chunk.end, [&](const ChunkSpan& sub) {
        if (sub.tag != kChunkMesh) {
            return true;
        }
        r.setSection("meshes");
        r.setRecord("mesh", index);
        if (index >= count) {
            return failed(r, "more mesh chunks than the count of " + std::to_string(count));
        }
        DocMesh* mesh = nullptr;
        if (p.pass == Pass::Fill) {
            if (static_cast<std::size_t>(index) >= doc.meshes.size()) {
                return failed(r, "more meshes than were counted");
            }
            mesh = &doc.meshes[static_cast<std::size_t>(index)];
        }
        ++index;
        return readMesh(p, sub, mesh);
    });
}

bool allocateUVSetLists(Reader& r, const MeshTallies& totals) {
    std::vector<DocUVSet>& sets = r.doc().uvsets;
    constexpr std::uint64_t kLargest = std::numeric_limits<std::int32_t>::max();
    for (std::size_t k = 0; k < totals.sets.size(); ++k) {
        const UVSetTally& t = totals.sets[k];
        if (k >= sets.size() || t.uvs > kLargest || t.links > kLargest) {
            return failed(r, "uv set " + std::to_string(k) + " cannot be sized");
        }
        if (t.uvs > 0 && !allocateUVs(sets[k], static_cast<std::int32_t>(t.uvs))) {
            return failed(r, "cannot allocate UVs");
        }
        if (t.links > 0 && !allocateUVLinks(sets[k], static_cast<std::int32_t>(t.links))) {
            return failed(r, "cannot allocate UV links");
        }
    }
    return true;
}

} // namespace yfx
