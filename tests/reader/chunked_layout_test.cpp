// The chunked layout (version 34): what a scene file fills, chunks in any
// order, unknown tags, the directory rule, chunk bounds and the header's
// statuses, and the vertex record under every flag combination.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "reader/chunked_builder.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

// The fields of a document that the chunks fill, as text, so that two loads
// can be compared whole.
std::string describe(const yfx::SceneDoc& doc) {
    std::ostringstream o;
    o << "v" << doc.version << " info " << doc.section_counts[yfx::kSectionInfoStrings] << "\n";
    for (const auto& l : doc.lights) {
        o << "light " << ansi(l.name) << " " << l.kind << " " << l.intensity << " "
          << l.transform.position[1] << "\n";
    }
    for (const auto& c : doc.cameras) {
        o << "camera " << ansi(c.name) << " " << c.camera_word << " " << c.parameters[2] << "\n";
    }
    for (const auto& m : doc.materials) {
        o << "material " << ansi(m.name) << " " << m.shininess << " maps " << m.maps.size() << "\n";
    }
    for (const auto& g : doc.groups) {
        o << "group " << ansi(g.name) << "\n";
    }
    for (const auto& v : doc.vertices) {
        o << "vertex " << v.position[0] << " " << v.colour[2] << " w " << v.weights.size() << "\n";
    }
    o << "links " << doc.face_links.size() << "\n";
    for (const auto& s : doc.uvsets) {
        o << "uvset " << ansi(s.name) << " " << s.uvs.size() << " " << s.links.size() << "\n";
    }
    for (const auto& mesh : doc.meshes) {
        o << "mesh";
        for (const auto& p : mesh.polygons) {
            o << " [" << p.group << " " << p.material;
            for (const auto& c : p.corners) {
                o << " " << c.vertex << "/" << c.uv[0].index << "/" << c.uv[1].index;
            }
            o << "]";
        }
        o << "\n";
    }
    for (const auto& b : doc.bones) {
        o << "bone " << ansi(b.name) << " " << b.parent << " " << b.position[0] << "\n";
    }
    for (const auto& a : doc.animations) {
        o << "animation " << ansi(a.name) << " tracks " << a.tracks.size() << "\n";
    }
    return o.str();
}

TEST(ChunkedLayout, SceneFileFillsEveryKind) {
    yfx::SceneDoc doc;
    std::string reason;
    ASSERT_EQ(load(doc, sceneFile(), &reason), 1) << reason;
    EXPECT_EQ(doc.version, 34);
    ASSERT_EQ(doc.lights.size(), 2u);
    EXPECT_EQ(wide(doc.lights[1].name), L"Fill");
    EXPECT_FLOAT_EQ(doc.lights[0].intensity, 0.75f);
    EXPECT_FLOAT_EQ(doc.lights[0].range_b, 9.0f);
    ASSERT_EQ(doc.cameras.size(), 1u);
    EXPECT_EQ(doc.cameras[0].camera_word, 7);
    EXPECT_FLOAT_EQ(doc.cameras[0].parameters[2], 900.0f);
    ASSERT_EQ(doc.materials.size(), 1u);
    EXPECT_FLOAT_EQ(doc.materials[0].shininess, 64.0f);
    ASSERT_EQ(doc.materials[0].maps.size(), 1u);
    // Not found where stored: looked for beside the project file.
    EXPECT_EQ(wide(doc.materials[0].maps[0]->path), L"C:\\proj\\skin.png");
    ASSERT_EQ(doc.groups.size(), 2u);
    EXPECT_EQ(wide(doc.groups[1].name), L"Head");
    ASSERT_EQ(doc.vertices.size(), 4u);
    EXPECT_FLOAT_EQ(doc.vertices[3].position[0], 3.0f);
    EXPECT_FLOAT_EQ(doc.vertices[3].colour[2], 3.0f); // the colour follows the extra vectors
    ASSERT_EQ(doc.vertices[3].weights.size(), 1u);
    EXPECT_EQ(doc.vertices[3].weights[0].bone, 0);
    EXPECT_EQ(doc.face_links.size(), 1u);
    ASSERT_EQ(doc.uvsets.size(), 2u);
    EXPECT_EQ(wide(doc.uvsets[1].name), L"Set1");
    ASSERT_EQ(doc.uvsets[1].uvs.size(), 4u);
    EXPECT_FLOAT_EQ(doc.uvsets[1].uvs[2].u, 2.0f);
    EXPECT_FLOAT_EQ(doc.uvsets[1].uvs[2].v, 1.0f);
    EXPECT_EQ(doc.uvsets[1].links.size(), 1u);
    ASSERT_EQ(doc.meshes.size(), 1u);
    ASSERT_EQ(doc.meshes[0].polygons.size(), 2u);
    EXPECT_EQ(doc.meshes[0].polygons[1].corners[2].vertex, 3);
    EXPECT_EQ(doc.meshes[0].polygons[1].corners[2].uv[1].index, 3);
    ASSERT_EQ(doc.bones.size(), 2u);
    EXPECT_EQ(doc.bones[1].parent, 0);
    EXPECT_FLOAT_EQ(doc.bones[1].position[0], 2.0f);
    ASSERT_EQ(doc.animations.size(), 1u);
    EXPECT_EQ(wide(doc.animations[0].name), L"Walk");
    ASSERT_EQ(doc.animations[0].tracks.size(), 2u);
    EXPECT_FLOAT_EQ(doc.animations[0].tracks[1].position_keys[0].value[0], 1.0f);
    EXPECT_EQ(doc.section_counts[yfx::kSectionInfoStrings], 3);
}

TEST(ChunkedLayout, ChunksInAnyOrderFillTheSameDocument) {
    const std::vector<ByteList> chunks = sceneChunks(kAllVertexFlags);
    yfx::SceneDoc doc;
    ASSERT_EQ(load(doc, chunkedFile(kAllVertexFlags, chunks)), 1);
    const std::string expected = describe(doc);

    std::mt19937 random(34);
    std::vector<std::size_t> order(chunks.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::vector<std::size_t> reversed(order.rbegin(), order.rend());
    std::vector<std::vector<std::size_t>> orders{reversed};
    for (int k = 0; k < 12; ++k) {
        std::shuffle(order.begin(), order.end(), random);
        orders.push_back(order);
    }
    for (const auto& o : orders) {
        std::vector<ByteList> shuffled;
        for (std::size_t i : o) {
            shuffled.push_back(chunks[i]);
        }
        std::string reason;
        ASSERT_EQ(load(doc, chunkedFile(kAllVertexFlags, shuffled), &reason), 1) << reason;
        EXPECT_EQ(describe(doc), expected);
    }
}

TEST(ChunkedLayout, UnknownTagsAreSteppedOverAtEveryLevel) {
    yfx::SceneDoc doc;
    ASSERT_EQ(load(doc, sceneFile()), 1);
    const std::string expected = describe(doc);

    // Unknown chunks whose content looks like records of a known kind.
    ChunkWriter junk;
    junk.begin(tag::kUnused).i32(1);
    lightRecord(junk, L"NotALight", 1);
    junk.end();
    junk.begin(0x12345678u).i32(5).end();
    junk.begin(0xBBBB000Bu).end();

    MeshSpec mesh;
    mesh.vertices = 4;
    mesh.triangles = {{0, 1, 2}, {0, 2, 3}};
    mesh.links = 1;
    ChunkWriter meshes;
    meshes.begin(tag::kMeshes).i32(1);
    meshes.begin(tag::kVertices).i32(99).end(); // a vertex chunk outside a mesh chunk
    meshes.begin(tag::kMesh);
    meshes.begin(tag::kUVSet).i32(7).end(); // a UV set outside a UV-set container
    meshVertices(meshes, kAllVertexFlags, mesh);
    meshFaceLinks(meshes, mesh);
    meshPolygons(meshes, mesh);
    meshes.begin(tag::kUVSets).i32(mesh.sets);
    meshes.begin(0xDDDD0007u).i32(3).end();
    for (int s = 0; s < mesh.sets; ++s) {
        meshes.begin(tag::kUVSet).wname(L"Set" + std::to_wstring(s));
        meshes.begin(0xDDDD0003u).i32(1).end();
        meshes.begin(tag::kUVs).i32(mesh.vertices);
        for (int k = 0; k < mesh.vertices; ++k) {
            meshes.i32(0);
            meshes.floats({float(k), float(s)});
        }
        meshes.end();
        meshes.begin(tag::kUVLinks).i32(1);
        meshes.zeros(40);
        meshes.end().end();
    }
    meshes.end();
    meshes.begin(0xCCCC0003u).i32(1).end();
    meshes.end().end();

    std::vector<ByteList> chunks = sceneChunks(kAllVertexFlags);
    chunks[4] = meshes.data; // the mesh container
    chunks.insert(chunks.begin() + 2, junk.data);
    std::string reason;
    ASSERT_EQ(load(doc, chunkedFile(kAllVertexFlags, chunks), &reason), 1) << reason;
    EXPECT_EQ(describe(doc), expected);
}

TEST(ChunkedLayout, TheDirectoryMustComeFirst) {
    const std::vector<ByteList> chunks = sceneChunks(kAllVertexFlags);
    yfx::SceneDoc doc;
    // A known chunk first, the directory after it.
    ByteList body = chunks[0];
    const ByteList directory = directoryChunk();
    body.insert(body.end(), directory.begin(), directory.end());
    for (std::size_t i = 1; i < chunks.size(); ++i) {
        body.insert(body.end(), chunks[i].begin(), chunks[i].end());
    }
    EXPECT_EQ(load(doc, chunkedHeader(kAllVertexFlags, body)), 0);
    EXPECT_TRUE(isEmpty(doc));
    // No directory at all.
    body.clear();
    for (const ByteList& c : chunks) {
        body.insert(body.end(), c.begin(), c.end());
    }
    EXPECT_EQ(load(doc, chunkedHeader(kAllVertexFlags, body)), 0);

    // An empty directory, and one with entries of unknown tags, are fine.
    for (const ByteList& dir : {ByteList{0x00, 0x00, 0xBB, 0xBB, 0, 0, 0, 0},
                                ByteList{0x00, 0x00, 0xBB, 0xBB, 16, 0, 0, 0, 1, 2, 3, 4,
                                         5,    6,    7,    8,    9,  9, 9, 9, 0, 0, 0, 0}}) {
        body = dir;
        for (const ByteList& c : chunks) {
            body.insert(body.end(), c.begin(), c.end());
        }
        std::string reason;
        EXPECT_EQ(load(doc, chunkedHeader(kAllVertexFlags, body), &reason), 1) << reason;
        EXPECT_EQ(doc.lights.size(), 2u);
    }
}

TEST(ChunkedLayout, ChunkBoundsAreChecked) {
    yfx::SceneDoc doc;
    const ByteList good = sceneFile();
    // 1 to 7 bytes after the last chunk (the size field counting them).
    for (std::size_t extra = 1; extra <= 7; ++extra) {
        ByteList body(good.begin() + 48, good.end());
        body.insert(body.end(), extra, 0);
        EXPECT_EQ(load(doc, chunkedHeader(kAllVertexFlags, body)), 0) << extra;
        EXPECT_TRUE(isEmpty(doc));
    }
    // Eight zero bytes are an empty chunk of an unknown tag.
    ByteList body(good.begin() + 48, good.end());
    body.insert(body.end(), 8, 0);
    EXPECT_EQ(load(doc, chunkedHeader(kAllVertexFlags, body)), 1);

    // A last chunk whose length runs past the end, by one byte or by nearly 4 GiB.
    for (std::uint32_t length : {5u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
        ChunkWriter w;
        w.raw(ByteList(good.begin() + 48, good.end()));
        w.u32(tag::kLights);
        w.u32(length);
        w.i32(0);
        std::string reason;
        EXPECT_EQ(load(doc, chunkedHeader(kAllVertexFlags, w.data), &reason), 0) << length;
        EXPECT_NE(reason.find("chunk"), std::string::npos) << reason;
    }

    // A lights chunk that says it is shorter than its records: the walk goes
    // on where the reader stopped. One that is longer is completed by its length.
    ChunkWriter w;
    w.u32(tag::kLights);
    w.u32(4);
    w.i32(1);
    lightRecord(w, L"Long", 1);
    w.begin(tag::kGroups).i32(1);
    groupRecord(w, L"G");
    w.zeros(12);
    w.end();
    std::string reason;
    ASSERT_EQ(load(doc, chunkedFile(0, {w.data}), &reason), 1) << reason;
    ASSERT_EQ(doc.lights.size(), 1u);
    EXPECT_EQ(wide(doc.lights[0].name), L"Long");
    ASSERT_EQ(doc.groups.size(), 1u);
    EXPECT_EQ(wide(doc.groups[0].name), L"G");
}

TEST(ChunkedLayout, HeaderStatuses) {
    yfx::SceneDoc doc;
    const ByteList good = sceneFile();
    const ByteList body(good.begin() + 48, good.end());
    EXPECT_EQ(load(doc, chunkedHeader(kAllVertexFlags, body, std::int64_t(good.size()) + 1)), -7);
    EXPECT_EQ(load(doc, chunkedHeader(kAllVertexFlags, body, std::int64_t(good.size()) - 1)), -7);
    EXPECT_EQ(load(doc, chunkedHeader(kAllVertexFlags, body, -1, 35)), -6);
    // Shorter than the 48-byte header.
    EXPECT_EQ(load(doc, ByteList(good.begin(), good.begin() + 47)), 0);
    // Only a header and a directory: no records.
    EXPECT_EQ(load(doc, chunkedFile(0, {})), 0);
    // Records of kinds that are not counted for the empty test alone.
    ChunkWriter info;
    info.begin(tag::kInfo).i32(1);
    info.wname(L"x");
    info.end();
    EXPECT_EQ(load(doc, chunkedFile(0, {info.data})), 0);
}

TEST(ChunkedLayout, VertexRecordsFollowTheHeaderFlags) {
    for (std::uint32_t flags = 0; flags < 16; ++flags) {
        MeshSpec mesh;
        mesh.vertices = 3;
        ChunkWriter bones;
        bones.begin(tag::kBones).i32(1);
        boneRecord(bones, L"B", -1, 0);
        bones.end();
        yfx::SceneDoc doc;
        std::string reason;
        ASSERT_EQ(
            load(doc, chunkedFile(flags, {meshContainer(flags, {mesh}), bones.data}), &reason), 1)
            << flags << ": " << reason;
        ASSERT_EQ(doc.vertices.size(), 3u) << flags;
        const yfx::DocVertex& v = doc.vertices[2];
        EXPECT_FLOAT_EQ(v.position[0], 2.0f) << flags;
        EXPECT_FLOAT_EQ(v.colour[2], (flags & flag::kColours) ? 2.0f : 1.0f) << flags;
        EXPECT_EQ(v.weights.size(), (flags & flag::kWeights) ? 1u : 0u) << flags;
        // Reading past the optional vectors leaves the polygon that follows intact.
        ASSERT_EQ(doc.meshes.size(), 1u);
        ASSERT_EQ(doc.meshes[0].polygons.size(), 1u) << flags;
        EXPECT_EQ(doc.meshes[0].polygons[0].corners[2].vertex, 2) << flags;
    }
}

} // namespace
