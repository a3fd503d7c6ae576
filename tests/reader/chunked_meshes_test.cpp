// The mesh container of the chunked layout: several meshes share the
// document's vertex pool, face links and UV sets, each appended after the
// meshes before it with its corner indices moved to match; mesh and UV set
// chunks are bounded by their counts.
#include <gtest/gtest.h>

#include "reader/chunked_builder.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

constexpr std::uint32_t kFlags = flag::kColours;

std::vector<MeshSpec> threeMeshes() {
    MeshSpec a;
    a.base = 0;
    a.vertices = 3;
    a.links = 1;
    MeshSpec b;
    b.base = 10;
    b.vertices = 4;
    b.triangles = {{0, 1, 2}, {1, 2, 3}};
    b.sets = 1;
    MeshSpec c;
    c.base = 20;
    c.vertices = 3;
    c.triangles = {{2, 1, 0}};
    c.links = 2;
    return {a, b, c};
}

// Every corner of mesh m names the vertex and UVs its own mesh gave it.
void expectMeshesKeepTheirRecords(const yfx::SceneDoc& doc, const std::vector<MeshSpec>& specs) {
    ASSERT_EQ(doc.meshes.size(), specs.size());
    for (std::size_t m = 0; m < specs.size(); ++m) {
        const MeshSpec& spec = specs[m];
        const yfx::DocMesh& mesh = doc.meshes[m];
        ASSERT_EQ(mesh.polygons.size(), spec.triangles.size()) << m;
        for (std::size_t p = 0; p < spec.triangles.size(); ++p) {
            for (int c = 0; c < 3; ++c) {
                const float expected = spec.base + float(spec.triangles[p][c]);
                const yfx::DocCorner& corner = mesh.polygons[p].corners[c];
                ASSERT_GE(corner.vertex, 0);
                ASSERT_LT(std::size_t(corner.vertex), doc.vertices.size());
                EXPECT_FLOAT_EQ(doc.vertices[corner.vertex].position[0], expected) << m;
                for (int layer = 0; layer < 2; ++layer) {
                    const std::int32_t uv = corner.uv[layer].index;
                    if (layer >= spec.sets) {
                        EXPECT_EQ(uv, -1) << m; // the mesh has no such set
                        continue;
                    }
                    ASSERT_GE(uv, 0) << m;
                    ASSERT_LT(std::size_t(uv), doc.uvsets[layer].uvs.size()) << m;
                    EXPECT_FLOAT_EQ(doc.uvsets[layer].uvs[uv].u, expected) << m;
                    EXPECT_FLOAT_EQ(doc.uvsets[layer].uvs[uv].v, float(layer)) << m;
                }
            }
        }
    }
}

TEST(ChunkedMeshes, SeveralMeshesAreAppendedAndRebased) {
    const std::vector<MeshSpec> specs = threeMeshes();
    yfx::SceneDoc doc;
    std::string reason;
    ASSERT_EQ(load(doc, chunkedFile(kFlags, {meshContainer(kFlags, specs)}), &reason), 1) << reason;
    // Totals over all meshes, not the last mesh's counts.
    EXPECT_EQ(doc.vertices.size(), 10u);
    ASSERT_EQ(doc.uvsets.size(), 2u);
    EXPECT_EQ(doc.uvsets[0].uvs.size(), 10u);
    EXPECT_EQ(doc.uvsets[1].uvs.size(), 6u);
    EXPECT_EQ(doc.uvsets[0].links.size(), 3u);
    EXPECT_EQ(doc.uvsets[1].links.size(), 2u);
    EXPECT_EQ(doc.uvsets[1].links[1].head, 2001);
    ASSERT_EQ(doc.face_links.size(), 3u);
    EXPECT_EQ(doc.face_links[0].head, 0);
    EXPECT_EQ(doc.face_links[1].head, 20);
    EXPECT_EQ(doc.face_links[2].indices[8], 21);
    // The first mesh to give a set its name names it.
    EXPECT_EQ(wide(doc.uvsets[0].name), L"Set0");
    EXPECT_EQ(wide(doc.uvsets[1].name), L"Set1");
    expectMeshesKeepTheirRecords(doc, specs);
}

TEST(ChunkedMeshes, SubChunksOfAMeshStandInAnyOrder) {
    const std::vector<MeshSpec> specs = threeMeshes();
    ChunkWriter w;
    w.begin(tag::kMeshes).i32(3);
    meshChunk(w, kFlags, specs[0], true);
    meshChunk(w, kFlags, specs[1], false);
    meshChunk(w, kFlags, specs[2], true);
    w.end();
    yfx::SceneDoc doc;
    std::string reason;
    ASSERT_EQ(load(doc, chunkedFile(kFlags, {w.data}), &reason), 1) << reason;
    EXPECT_EQ(doc.vertices.size(), 10u);
    expectMeshesKeepTheirRecords(doc, specs);
}

TEST(ChunkedMeshes, AnIndexBeyondItsOwnMeshNamesNothing) {
    // Mesh 0 has three vertices; its second triangle names its vertex 3,
    // which would be mesh 1's first vertex if it were only moved.
    std::vector<MeshSpec> specs = threeMeshes();
    specs[0].triangles = {{0, 1, 2}, {0, 1, 3}};
    yfx::SceneDoc doc;
    ASSERT_EQ(load(doc, chunkedFile(kFlags, {meshContainer(kFlags, specs)})), 1);
    ASSERT_EQ(doc.meshes.size(), 3u);
    // The polygon naming no vertex is dropped; nothing of mesh 1 is borrowed.
    ASSERT_EQ(doc.meshes[0].polygons.size(), 1u);
    specs[0].triangles = {{0, 1, 2}};
    expectMeshesKeepTheirRecords(doc, specs);
}

TEST(ChunkedMeshes, OneMeshIsReadAsStored) {
    MeshSpec mesh;
    mesh.vertices = 5;
    mesh.triangles = {{4, 3, 2}, {0, 1, 4}};
    mesh.sets = 3;
    yfx::SceneDoc doc;
    ASSERT_EQ(load(doc, chunkedFile(kFlags, {meshContainer(kFlags, {mesh})})), 1);
    ASSERT_EQ(doc.uvsets.size(), 3u);
    EXPECT_EQ(wide(doc.uvsets[2].name), L"Set2");
    ASSERT_EQ(doc.meshes.size(), 1u);
    const yfx::DocPolygon& p = doc.meshes[0].polygons[0];
    EXPECT_EQ(p.corners[0].vertex, 4);
    EXPECT_EQ(p.corners[0].uv[0].index, 4);
    EXPECT_EQ(p.corners[1].uv[1].index, 3);
    EXPECT_EQ(p.group, 0);
    EXPECT_EQ(p.word2, 0);
}

TEST(ChunkedMeshes, ChunksBeyondTheirCountsFailTheLoad) {
    const std::vector<MeshSpec> specs = threeMeshes();
    yfx::SceneDoc doc;
    // Three mesh chunks under a count of two.
    ChunkWriter meshes;
    meshes.begin(tag::kMeshes).i32(2);
    for (const MeshSpec& m : specs) {
        meshChunk(meshes, kFlags, m);
    }
    meshes.end();
    EXPECT_EQ(load(doc, chunkedFile(kFlags, {meshes.data})), 0);
    EXPECT_TRUE(isEmpty(doc));

    // Two UV set chunks under a count of one.
    MeshSpec one;
    ChunkWriter sets;
    sets.begin(tag::kMeshes).i32(1);
    sets.begin(tag::kMesh);
    meshVertices(sets, kFlags, one);
    meshPolygons(sets, one);
    sets.begin(tag::kUVSets).i32(1);
    sets.begin(tag::kUVSet).wname(L"A").end();
    sets.begin(tag::kUVSet).wname(L"B").end();
    sets.end().end().end();
    EXPECT_EQ(load(doc, chunkedFile(kFlags, {sets.data})), 0);

    // Fewer mesh chunks than the count leave the other meshes empty.
    ChunkWriter fewer;
    fewer.begin(tag::kMeshes).i32(3);
    meshChunk(fewer, kFlags, specs[0]);
    fewer.end();
    std::string reason;
    ASSERT_EQ(load(doc, chunkedFile(kFlags, {fewer.data}), &reason), 1) << reason;
    ASSERT_FALSE(doc.meshes.empty());
    EXPECT_EQ(doc.meshes[0].polygons.size(), 1u);
}

TEST(ChunkedMeshes, ASubChunkHeaderMustFitItsParent) {
    // A mesh chunk whose content ends four bytes into what would be a
    // sub-chunk header.
    MeshSpec one;
    ChunkWriter w;
    w.begin(tag::kMeshes).i32(1);
    w.begin(tag::kMesh);
    meshVertices(w, kFlags, one);
    meshPolygons(w, one);
    w.u32(tag::kUVSets);
    w.end();
    w.u32(0); // the rest of that header, outside the mesh chunk
    w.end();
    yfx::SceneDoc doc;
    std::string reason;
    EXPECT_EQ(load(doc, chunkedFile(kFlags, {w.data}), &reason), 0);
    EXPECT_NE(reason.find("chunk header"), std::string::npos) << reason;
}

} // namespace
