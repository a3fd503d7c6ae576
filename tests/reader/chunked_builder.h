// A test-side builder of version 34 (chunked) images: chunks with patched
// lengths, nested to any depth, the late-form records they hold (UTF-16
// names), the 48-byte header and zlib-compressed wrappers. Independent of the
// reader: it only writes bytes.
#pragma once

#include <zlib.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "reader/crafted_file.h"

namespace yfx_test {

using ByteList = std::vector<std::uint8_t>;

// Bytes with chunks: begin(tag) writes a tag and a length placeholder, end()
// patches the length of the innermost open chunk.
class ChunkWriter : public Bytes {
public:
    ChunkWriter& begin(std::uint32_t tag) {
        u32(tag);
        open_.push_back(size());
        u32(0);
        return *this;
    }
    ChunkWriter& end() {
        if (open_.empty()) {
            throw std::logic_error("end() without begin()");
        }
        const std::size_t at = open_.back();
        open_.pop_back();
        putU32(at, static_cast<std::uint32_t>(size() - at - 4));
        return *this;
    }
    ChunkWriter& i32(std::int32_t v) {
        Bytes::i32(v);
        return *this;
    }
    ChunkWriter& wname(const std::wstring& text) {
        name(text, true);
        return *this;
    }
    ChunkWriter& raw(const ByteList& bytes) {
        data.insert(data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // An identity transform with the given position.
    ChunkWriter& transform(float x, float y, float z) {
        floats({1, 0, 0, 0, 1, 0, 0, 0, 1});
        floats({x, y, z, 1, 1, 1});
        floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
        floats({0, 0, 0, 1, 0, 0, 0});
        return *this;
    }

private:
    std::vector<std::size_t> open_;
};

// Tags, spelled out here so that the tests do not borrow the reader's.
namespace tag {
constexpr std::uint32_t kDirectory = 0xBBBB0000u;
constexpr std::uint32_t kLights = 0xBBBB0001u;
constexpr std::uint32_t kCameras = 0xBBBB0002u;
constexpr std::uint32_t kMaterials = 0xBBBB0003u;
constexpr std::uint32_t kEmbedded = 0xBBBB0004u;
constexpr std::uint32_t kUnused = 0xBBBB0005u;
constexpr std::uint32_t kGroups = 0xBBBB0006u;
constexpr std::uint32_t kMeshes = 0xBBBB0007u;
constexpr std::uint32_t kBones = 0xBBBB0008u;
constexpr std::uint32_t kAnimations = 0xBBBB0009u;
constexpr std::uint32_t kInfo = 0xBBBB000Au;
constexpr std::uint32_t kMesh = 0xCCCC0000u;
constexpr std::uint32_t kVertices = 0xCCCC0001u;
constexpr std::uint32_t kFaceLinks = 0xCCCC0002u;
constexpr std::uint32_t kPolygons = 0xCCCC0005u;
constexpr std::uint32_t kUVSets = 0xCCCC0006u;
constexpr std::uint32_t kUVSet = 0xDDDD0000u;
constexpr std::uint32_t kUVs = 0xDDDD0001u;
constexpr std::uint32_t kUVLinks = 0xDDDD0002u;
} // namespace tag

namespace flag {
constexpr std::uint32_t kNormals = 0x1;
constexpr std::uint32_t kColours = 0x2;
constexpr std::uint32_t kExtra = 0x4;
constexpr std::uint32_t kWeights = 0x8;
constexpr std::uint32_t kCompressed = 0x10;
} // namespace flag

// The full directory: one entry for each of the nine chunk tags.
inline ByteList directoryChunk() {
    ChunkWriter w;
    w.begin(tag::kDirectory);
    for (std::uint32_t t :
         {tag::kLights, tag::kCameras, tag::kMaterials, tag::kEmbedded, tag::kGroups, tag::kMeshes,
          tag::kBones, tag::kAnimations, tag::kInfo}) {
        w.u32(t);
        w.u32(0x1000 + (t & 0xF));
    }
    w.end();
    return w.data;
}

// The 48-byte header followed by `body`; the size field is the total length
// unless `size` is given.
inline ByteList chunkedHeader(std::uint32_t flags, const ByteList& body, std::int64_t size = -1,
                              std::uint32_t version = 34, std::uint32_t bodyOffset = 48) {
    Bytes h;
    h.u32(0x48584659u); // "YFXH"
    h.u32(version);
    h.u32(flags);
    h.u32(static_cast<std::uint32_t>(size >= 0 ? size : std::int64_t(48 + body.size())));
    h.u32(bodyOffset);
    for (int k = 0; k < 28; ++k) {
        h.u8(static_cast<std::uint8_t>(0xA0 + k)); // not interpreted
    }
    h.data.insert(h.data.end(), body.begin(), body.end());
    return h.data;
}

// A file of the given top-level chunks after the directory.
inline ByteList chunkedFile(std::uint32_t flags, const std::vector<ByteList>& chunks) {
    ByteList body = directoryChunk();
    for (const ByteList& c : chunks) {
        body.insert(body.end(), c.begin(), c.end());
    }
    return chunkedHeader(flags, body);
}

inline ByteList zlibCompress(const ByteList& bytes) {
    uLongf length = compressBound(static_cast<uLong>(bytes.size()));
    ByteList out(length);
    if (compress(out.data(), &length, bytes.data(), static_cast<uLong>(bytes.size())) != Z_OK) {
        throw std::runtime_error("compress failed");
    }
    out.resize(length);
    return out;
}

// `inner` compressed behind a version 34 header with flag 0x10.
inline ByteList compressedChunked(const ByteList& inner, std::uint32_t flags = 0) {
    return chunkedHeader(flags | flag::kCompressed, zlibCompress(inner),
                         static_cast<std::int64_t>(inner.size()));
}

// Late-form records.
inline void lightRecord(ChunkWriter& w, const std::wstring& name, float intensity) {
    w.wname(name);
    w.i32(1600);
    w.i32(2);
    w.transform(1, 2, 3);
    w.floats({5, 25, 0, 1, intensity, 0.1f, 0.2f, 0.3f, 0.4f, 3, 9});
}
inline void cameraRecord(ChunkWriter& w, const std::wstring& name) {
    w.wname(name);
    w.i32(0);
    w.i32(7);
    w.transform(0, 0, 10);
    w.floats({50, 1.5f, 900});
}
inline void groupRecord(ChunkWriter& w, const std::wstring& name) {
    w.wname(name);
    w.i32(0);
    w.i32(-1);
    w.transform(0, 0, 0);
}
inline void boneRecord(ChunkWriter& w, const std::wstring& name, std::int32_t parent, float x) {
    w.wname(name);
    w.i32(parent);
    w.transform(x, 0, 0);
    w.floats({1, 0.5f, 0.25f, 1});
}
// An animation whose tracks each hold one key of every kind.
inline void animationRecord(ChunkWriter& w, const std::wstring& name, std::int32_t tracks) {
    w.wname(name);
    w.i32(0);
    w.floats({0, 10, 24});
    w.i32(tracks);
    for (std::int32_t t = 0; t < tracks; ++t) {
        w.i32(1);
        w.floats({0.5f, float(t), 2, 3});
        w.i32(1);
        w.floats({0.5f, 0, 0, 0, 1});
        w.i32(1);
        w.floats({0.5f, 1, 1, 1});
    }
}
// A material with one colour (type 1) map whose file is `texture`.
inline void materialRecord(ChunkWriter& w, const std::wstring& name, const std::wstring& texture) {
    w.wname(name);
    w.i32(0);
    w.floats({0.5f, 0.25f, 0.125f, 1});
    for (int k = 0; k < 4; ++k) {
        w.floats({0, 0, 0, 1});
    }
    w.floats({64, 0.75f});
    w.i32(1);                              // maps
    w.i32(0);                              // channel
    w.i32(1);                              // type
    w.u32(0x310001);                       // flags
    w.floats({0, 0, 0, 1, 1, 1, 0, 0, 0}); // placement
    w.wname(texture);
    w.i32(0);
    w.floats({2, 1});
}

// One mesh of the mesh container, numbered locally from 0: vertex k is at
// (base + k, 0, 0), every polygon is a triangle, and its layer 0 and layer 1
// UV indices equal its vertex indices; UV k of set s is (base + k, s).
struct MeshSpec {
    float base = 0;
    int vertices = 3;
    std::vector<std::array<std::int32_t, 3>> triangles{{0, 1, 2}};
    int sets = 2;
    int links = 0; // face links of the mesh (word 0 = base + k)
    std::int32_t group = 0;
    std::int32_t material = 0;
};

inline void vertexRecord(ChunkWriter& w, std::uint32_t flags, float x, std::int32_t bone) {
    w.floats({x, 0, 0});
    if (flags & flag::kNormals) {
        w.floats({0, 0, 1});
    }
    if (flags & flag::kExtra) {
        w.floats({9, 9, 9, 8, 8, 8});
    }
    if (flags & flag::kColours) {
        w.floats({0.5f, 0.5f, x, 1});
    }
    if (flags & flag::kWeights) {
        w.i32(1);
        w.i32(bone);
        w.f32(1.0f);
    }
}

inline void meshVertices(ChunkWriter& w, std::uint32_t flags, const MeshSpec& m) {
    w.begin(tag::kVertices).i32(m.vertices);
    for (int k = 0; k < m.vertices; ++k) {
        vertexRecord(w, flags, m.base + float(k), 0);
    }
    w.end();
}

inline void meshPolygons(ChunkWriter& w, const MeshSpec& m) {
    w.begin(tag::kPolygons).i32(static_cast<std::int32_t>(m.triangles.size()));
    for (const auto& t : m.triangles) {
        w.i32(3);
        w.i32(2);
        w.i32(m.group);
        w.i32(m.material);
        w.u32(0);
        for (std::int32_t v : t) {
            w.i32(v);
            w.i32(-1);
        }
        for (int layer = 0; layer < 2; ++layer) {
            for (std::int32_t v : t) {
                w.i32(v);
                w.i32(-1);
            }
        }
    }
    w.end();
}

inline void meshUVSets(ChunkWriter& w, const MeshSpec& m) {
    w.begin(tag::kUVSets).i32(m.sets);
    for (int s = 0; s < m.sets; ++s) {
        // Sets of meshes after the first carry their mesh's base in the name.
        const std::wstring suffix = m.base != 0 ? L"_" + std::to_wstring(int(m.base)) : L"";
        w.begin(tag::kUVSet).wname(L"Set" + std::to_wstring(s) + suffix);
        w.begin(tag::kUVs).i32(m.vertices);
        for (int k = 0; k < m.vertices; ++k) {
            w.i32(0);
            w.floats({m.base + float(k), float(s)});
        }
        w.end();
        w.begin(tag::kUVLinks).i32(1);
        for (int k = 0; k < 10; ++k) {
            w.i32(int(m.base) * 100 + s);
        }
        w.end();
        w.end();
    }
    w.end();
}

inline void meshFaceLinks(ChunkWriter& w, const MeshSpec& m) {
    w.begin(tag::kFaceLinks).i32(m.links);
    for (int k = 0; k < m.links; ++k) {
        for (int word = 0; word < 10; ++word) {
            w.i32(int(m.base) + k);
        }
    }
    w.end();
}

// The mesh chunk with its sub-chunks in the usual order (vertices, links,
// polygons, UV sets) or reversed.
inline void meshChunk(ChunkWriter& w, std::uint32_t flags, const MeshSpec& m,
                      bool reversed = false) {
    w.begin(tag::kMesh);
    if (reversed) {
        meshUVSets(w, m);
        meshPolygons(w, m);
        meshFaceLinks(w, m);
        meshVertices(w, flags, m);
    } else {
        meshVertices(w, flags, m);
        meshFaceLinks(w, m);
        meshPolygons(w, m);
        meshUVSets(w, m);
    }
    w.end();
}

inline ByteList meshContainer(std::uint32_t flags, const std::vector<MeshSpec>& meshes) {
    ChunkWriter w;
    w.begin(tag::kMeshes).i32(static_cast<std::int32_t>(meshes.size()));
    for (const MeshSpec& m : meshes) {
        meshChunk(w, flags, m);
    }
    w.end();
    return w.data;
}

// The top-level chunks of a small scene: two lights, a camera, a material,
// two groups, one mesh, two bones, an animation and the info strings.
inline std::vector<ByteList> sceneChunks(std::uint32_t flags) {
    std::vector<ByteList> out;
    ChunkWriter w;
    w.begin(tag::kLights).i32(2);
    lightRecord(w, L"Key", 0.75f);
    lightRecord(w, L"Fill", 0.5f);
    out.push_back(w.end().data);
    w = ChunkWriter();
    w.begin(tag::kCameras).i32(1);
    cameraRecord(w, L"Cam");
    out.push_back(w.end().data);
    w = ChunkWriter();
    w.begin(tag::kMaterials).i32(1);
    materialRecord(w, L"Skin", L"C:\\elsewhere\\skin.png");
    out.push_back(w.end().data);
    w = ChunkWriter();
    w.begin(tag::kGroups).i32(2);
    groupRecord(w, L"Body");
    groupRecord(w, L"Head");
    out.push_back(w.end().data);
    MeshSpec mesh;
    mesh.vertices = 4;
    mesh.triangles = {{0, 1, 2}, {0, 2, 3}};
    mesh.links = 1;
    out.push_back(meshContainer(flags, {mesh}));
    w = ChunkWriter();
    w.begin(tag::kBones).i32(2);
    boneRecord(w, L"Hip", -1, 1);
    boneRecord(w, L"Leg", 0, 2);
    out.push_back(w.end().data);
    w = ChunkWriter();
    w.begin(tag::kAnimations).i32(1);
    animationRecord(w, L"Walk", 2);
    out.push_back(w.end().data);
    w = ChunkWriter();
    w.begin(tag::kInfo).i32(3);
    w.wname(L"creator").wname(L"v4").wname(L"today");
    out.push_back(w.end().data);
    return out;
}

constexpr std::uint32_t kAllVertexFlags =
    flag::kNormals | flag::kColours | flag::kExtra | flag::kWeights;

inline ByteList sceneFile(std::uint32_t flags = kAllVertexFlags) {
    return chunkedFile(flags, sceneChunks(flags));
}

} // namespace yfx_test
