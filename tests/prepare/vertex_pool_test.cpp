// Unused mesh vertices removed, then every mesh's vertices pooled and the
// meshes merged into one.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/document.h"
#include "prepare/vertex_pool.h"

namespace {

using namespace yfx;

// Vertex i of mesh m sits at (m, i, 0.5) and has one weight on bone 100 m + i.
void addVertices(DocMesh& mesh, int m, int n) {
    for (int i = 0; i < n; ++i) {
        DocVertex v;
        v.position[0] = float(m);
        v.position[1] = float(i);
        v.position[2] = 0.5f;
        v.weights.push_back({100 * m + i, 0.5f, 3});
        mesh.vertices.push_back(v);
    }
}

DocPolygon polygonOver(const std::vector<std::int32_t>& vertices) {
    DocPolygon p;
    preparePolygon(p, std::int32_t(vertices.size()));
    for (std::uint32_t c = 0; c < p.corners.size(); ++c) {
        p.corners[c].vertex = vertices[c];
    }
    return p;
}

std::vector<std::int32_t> cornersOf(const DocPolygon& p) {
    std::vector<std::int32_t> out;
    for (const DocCorner& c : p.corners) {
        out.push_back(c.vertex);
    }
    return out;
}

TEST(CompactMeshVertices, KeepsUsedVerticesInOrderAndRenumbersCorners) {
    SceneDoc doc;
    DocMesh& partly = *addMesh(doc); // uses vertices 0 and 2 of 3, and two that do not exist
    addVertices(partly, 0, 3);
    partly.vertices[2].vertex_word = 0x10 | kVertexUnusedMark;
    partly.polygons = {polygonOver({2, 0, 7, -4}), polygonOver({0, 2, 2})};
    DocMesh& fully = *addMesh(doc); // uses every vertex; a stale mark goes
    addVertices(fully, 1, 2);
    fully.vertices[1].vertex_word = kVertexUnusedMark;
    fully.polygons = {polygonOver({1, 0, 1})};
    DocMesh& none = *addMesh(doc); // names none of its vertices
    addVertices(none, 2, 2);
    none.polygons = {polygonOver({5, -1, 2})};

    EXPECT_EQ(prepare::compactMeshVertices(doc), 3);

    const DocMesh& a = doc.meshes[0];
    ASSERT_EQ(a.vertices.size(), 2u);
    EXPECT_EQ(a.vertices[1].position[1], 2.0f);
    EXPECT_EQ(a.vertices[1].vertex_word, 0x10);
    EXPECT_EQ(a.vertices[1].weights[0].bone, 2);
    EXPECT_EQ(cornersOf(a.polygons[0]), (std::vector<std::int32_t>{1, 0, -1, -1}));
    EXPECT_EQ(cornersOf(a.polygons[1]), (std::vector<std::int32_t>{0, 1, 1}));
    ASSERT_EQ(doc.meshes[1].vertices.size(), 2u);
    EXPECT_EQ(doc.meshes[1].vertices[1].vertex_word, 0);
    EXPECT_EQ(cornersOf(doc.meshes[1].polygons[0]), (std::vector<std::int32_t>{1, 0, 1}));
    EXPECT_TRUE(doc.meshes[2].vertices.empty());
    EXPECT_EQ(cornersOf(doc.meshes[2].polygons[0]), (std::vector<std::int32_t>{-1, -1, -1}));
}

// One to five random meshes (some vertices unused; some corner, colour and UV
// indices naming nothing) through compaction and the pool: each corner that
// named something still reaches the same vertex, colour and UVs, the rest
// name nothing, and groups, names and the other polygon fields follow.
TEST(BuildVertexPool, EveryCornerKeepsWhatItNamed) {
    std::mt19937 rng(77);
    const auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
    struct Expect {
        int mesh, vertex, colour, uv[2];
    };
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        SceneDoc doc;
        std::vector<std::vector<Expect>> expect; // per polygon in mesh order, per corner
        const int meshes = 1 + round % 5;
        for (int m = 0; m < meshes; ++m) {
            DocMesh& mesh = *addMesh(doc);
            mesh.name.set((L"Part\u20ac" + std::to_wstring(m)).c_str());
            const int vertices = pick(6);
            addVertices(mesh, m, vertices);
            const int colours = pick(4);
            if (colours > 0) {
                allocateMeshColours(mesh, colours);
                for (int i = 0; i < colours; ++i) {
                    mesh.colours[std::size_t(i)].rgba[0] = float(m * 10 + i);
                }
            }
            if (pick(4) > 0) {
                allocateMeshUVSets(mesh, 1 + pick(2), 1 + pick(4)); // one or two sets
                for (std::size_t k = 0; k < mesh.uvsets.size(); ++k) {
                    for (std::size_t i = 0; i < mesh.uvsets[k].uvs.size(); ++i) {
                        mesh.uvsets[k].uvs[i] = {0, float(m * 10 + int(i)), float(k)};
                    }
                }
            }
            int uvs[2];
            for (std::size_t k = 0; k < 2; ++k) {
                uvs[k] = k < mesh.uvsets.size() ? int(mesh.uvsets[k].uvs.size()) : 0;
            }
            for (int p = pick(4); p > 0; --p) {
                std::vector<std::int32_t> corners;
                for (int c = 3 + pick(3); c > 0; --c) {
                    corners.push_back(pick(vertices + 3) - 1);
                }
                DocPolygon polygon = polygonOver(corners);
                polygon.polygon_value2 = std::uint32_t(m);
                std::vector<Expect> e;
                for (DocCorner& corner : polygon.corners) {
                    corner.index2 = pick(colours + 3) - 1;
                    Expect x{m,
                             corner.vertex < vertices ? corner.vertex : -1,
                             corner.index2 < colours ? corner.index2 : -1,
                             {-1, -1}};
                    for (int k = 0; k < 2; ++k) {
                        corner.uv[k].index = pick(uvs[k] + 3) - 1;
                        x.uv[k] = corner.uv[k].index < uvs[k] ? corner.uv[k].index : -1;
                    }
                    e.push_back(x);
                }
                mesh.polygons.push_back(std::move(polygon));
                expect.push_back(e);
            }
        }

        prepare::compactMeshVertices(doc);
        prepare::buildVertexPool(doc);

        ASSERT_EQ(doc.meshes.size(), 1u);
        const DocMesh& mesh = doc.meshes[0];
        EXPECT_EQ(std::wstring(mesh.name.text), meshes == 1 ? L"Part\u20ac0" : L"YFXMesh0");
        EXPECT_TRUE(mesh.vertices.empty());
        ASSERT_EQ(doc.groups.size(), std::size_t(meshes));
        for (int m = 0; m < meshes; ++m) {
            EXPECT_EQ(std::string(doc.groups[std::size_t(m)].name.ansi),
                      "Part\x80" + std::to_string(m));
        }
        ASSERT_EQ(mesh.polygons.size(), expect.size());
        std::vector<bool> reached(doc.vertices.size(), false);
        for (std::size_t p = 0; p < expect.size(); ++p) {
            const DocPolygon& polygon = mesh.polygons[p];
            const int m = expect[p][0].mesh;
            ASSERT_EQ(polygon.corners.size(), expect[p].size());
            EXPECT_EQ(polygon.polygon_value2, std::uint32_t(m));
            EXPECT_EQ(polygon.group, m);
            EXPECT_EQ(polygon.word2, m);
            for (std::size_t c = 0; c < expect[p].size(); ++c) {
                const Expect& x = expect[p][c];
                const DocCorner& corner = polygon.corners[std::uint32_t(c)];
                if (x.vertex < 0) {
                    EXPECT_EQ(corner.vertex, -1);
                } else {
                    ASSERT_GE(corner.vertex, 0);
                    ASSERT_LT(std::size_t(corner.vertex), doc.vertices.size());
                    const DocVertex& v = doc.vertices[std::size_t(corner.vertex)];
                    reached[std::size_t(corner.vertex)] = true;
                    EXPECT_EQ(v.position[0], float(m));
                    EXPECT_EQ(v.position[1], float(x.vertex));
                    ASSERT_EQ(v.weights.size(), 1u);
                    EXPECT_EQ(v.weights[0].bone, 100 * m + x.vertex);
                    EXPECT_EQ(v.weights[0].weight, 0.5f);
                }
                if (meshes == 1) {
                    continue; // a single mesh keeps its colours and UV sets as they were
                }
                if (x.colour < 0) {
                    EXPECT_EQ(corner.index2, -1);
                } else {
                    ASSERT_LT(std::size_t(corner.index2), mesh.colours.size());
                    EXPECT_EQ(mesh.colours[std::size_t(corner.index2)].rgba[0],
                              float(m * 10 + x.colour));
                }
                for (std::size_t k = 0; k < 2; ++k) {
                    if (x.uv[k] < 0) {
                        EXPECT_EQ(corner.uv[k].index, -1);
                        continue;
                    }
                    ASSERT_LT(std::size_t(corner.uv[k].index), mesh.uvsets[k].uvs.size());
                    const DocUV& uv = mesh.uvsets[k].uvs[std::size_t(corner.uv[k].index)];
                    EXPECT_EQ(uv.u, float(m * 10 + x.uv[k]));
                    EXPECT_EQ(uv.v, float(k));
                }
            }
        }
        for (std::size_t i = 0; i < reached.size(); ++i) {
            EXPECT_TRUE(reached[i]) << "pool vertex " << i << " is used by no corner";
        }
    }
}

} // namespace
