// UV expansion and tile collapse on small meshes, and the collapse checked
// against a plain transcription of the per-material rescan on random meshes
// with shared UVs and indices outside the set.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "document/doc_alloc.h"
#include "prepare/uv_expansion.h"

namespace yfx {
namespace prepare {
namespace {

DocUV uv(float u, float v, std::int32_t word = 0) {
    DocUV out;
    out.uv_word = word;
    out.u = u;
    out.v = v;
    return out;
}

// A polygon of the given material whose corner c names UV indices[c] in both
// layers.
DocPolygon polygon(std::int32_t material, const std::vector<std::int32_t>& indices) {
    DocPolygon p;
    preparePolygon(p, static_cast<std::int32_t>(indices.size()));
    p.material = material;
    for (std::uint32_t c = 0; c < p.corners.size(); ++c) {
        for (int layer = 0; layer < kPolygonUVLayers; ++layer) {
            p.corners[c].uv[layer].index = c < indices.size() ? indices[c] : -1;
        }
    }
    return p;
}

// Gathers (layer * 100 + first + n, c, 7) as the UV of corner n (corner c of
// its polygon) of each layer, for the first `corners` corners of the mesh.
void gatherCornerUVs(DocMesh& mesh, std::size_t corners, int first = 0) {
    for (int layer = 0; layer < kPolygonUVLayers; ++layer) {
        std::vector<DocUV>& gathered = mesh.gathered_corner_uvs[layer];
        for (const DocPolygon& p : mesh.polygons) {
            for (std::uint32_t c = 0; c < p.corners.size() && gathered.size() < corners; ++c) {
                const int n = static_cast<int>(gathered.size());
                gathered.push_back(
                    uv(static_cast<float>(layer * 100 + first + n), static_cast<float>(c), 7));
            }
        }
    }
}

// A mesh with vertices of its own, `surfaces` surfaces and one UV set.
DocMesh meshWith(std::vector<DocPolygon> polygons, std::vector<DocUV> uvs, int surfaces) {
    DocMesh mesh;
    mesh.vertices.resize(4);
    mesh.surfaces.resize(static_cast<std::size_t>(surfaces));
    mesh.polygons = std::move(polygons);
    EXPECT_EQ(allocateMeshUVSets(mesh, 1, 0), 1);
    mesh.uvsets[0].uvs = std::move(uvs);
    return mesh;
}

// Every set holds one UV per corner and corner c of polygon p names
// (corners before p) + c.
void expectRunningIndices(const DocMesh& mesh, std::size_t sets) {
    std::int32_t total = 0;
    for (const DocPolygon& p : mesh.polygons) {
        for (std::uint32_t c = 0; c < p.corners.size(); ++c) {
            for (std::size_t k = 0; k < sets; ++k) {
                EXPECT_EQ(p.corners[c].uv[k].index, total) << "set " << k;
            }
            ++total;
        }
    }
    for (std::size_t k = 0; k < sets; ++k) {
        EXPECT_EQ(mesh.uvsets[k].uvs.size(), static_cast<std::size_t>(total)) << "set " << k;
    }
}

TEST(UVExpansion, EveryMeshGetsOneUVPerCornerFromTheGatheredUVs) {
    SceneDoc doc;
    // Without sets: two are made and filled.
    doc.meshes.push_back(meshWith({polygon(0, {-1, -1, -1}), polygon(0, {-1, -1, -1, -1})}, {}, 1));
    doc.meshes[0].uvsets.clear();
    gatherCornerUVs(doc.meshes[0], 7);
    // With an old set of other UVs and other indices: replaced.
    doc.meshes.push_back(meshWith({polygon(0, {5, 0, 9})}, {uv(9, 9), uv(8, 8)}, 1));
    gatherCornerUVs(doc.meshes[1], 3, 10);
    // Gathered UVs for fewer corners than the polygons have (none at all in
    // layer 1): the rest are zero.
    doc.meshes.push_back(meshWith({polygon(0, {0, 0, 0}), polygon(0, {0, 0, 0})}, {}, 1));
    doc.meshes[2].uvsets.clear();
    gatherCornerUVs(doc.meshes[2], 4);
    doc.meshes[2].gathered_corner_uvs[1].clear();
    expandMeshUVs(doc);

    const DocMesh& first = doc.meshes[0];
    ASSERT_EQ(first.uvsets.size(), 2u);
    EXPECT_STREQ(first.uvsets[1].name.ansi, "UVSet1");
    expectRunningIndices(first, 2);
    for (int k = 0; k < 2; ++k) {
        for (int n = 0; n < 7; ++n) {
            const DocUV& got = first.uvsets[static_cast<std::size_t>(k)].uvs[n];
            EXPECT_EQ(got.u, static_cast<float>(k * 100 + n));
            EXPECT_EQ(got.v, static_cast<float>(n < 3 ? n : n - 3));
            EXPECT_EQ(got.uv_word, 7);
        }
    }
    const DocMesh& second = doc.meshes[1];
    ASSERT_EQ(second.uvsets.size(), 1u);
    expectRunningIndices(second, 1);
    EXPECT_EQ(second.uvsets[0].uvs[2].u, 12.0f);

    const DocMesh& partial = doc.meshes[2];
    expectRunningIndices(partial, 2);
    const float wantU[2][6] = {{0, 1, 2, 3, 0, 0}, {0, 0, 0, 0, 0, 0}};
    for (int k = 0; k < 2; ++k) {
        for (int n = 0; n < 6; ++n) {
            const DocUV& got = partial.uvsets[static_cast<std::size_t>(k)].uvs[n];
            EXPECT_EQ(got.u, wantU[k][n]) << "set " << k << " uv " << n;
            EXPECT_EQ(got.uv_word, k == 0 && n < 4 ? 7 : 0) << "set " << k << " uv " << n;
        }
    }
    // The gathered UVs are given back, including layer 1 of the one-set mesh.
    for (const DocMesh& mesh : doc.meshes) {
        for (const std::vector<DocUV>& gathered : mesh.gathered_corner_uvs) {
            EXPECT_EQ(gathered.capacity(), 0u);
        }
    }
}

TEST(UVExpansion, MeshesThatCannotBeExpandedKeepTheirSets) {
    const std::vector<DocUV> old = {uv(0.5f, 0.5f), uv(2.5f, 0.5f)};
    SceneDoc doc;
    // Polygons without corners.
    doc.meshes.push_back(meshWith({DocPolygon{}, DocPolygon{}}, old, 1));
    // No vertices of its own.
    doc.meshes.push_back(meshWith({polygon(0, {1, 0, 1})}, old, 1));
    doc.meshes[1].vertices.clear();
    gatherCornerUVs(doc.meshes[1], 3);
    const std::vector<DocMesh> before = doc.meshes;
    expandMeshUVs(doc);
    EXPECT_EQ(doc.meshes[1].gathered_corner_uvs[0].capacity(), 0u); // given back all the same
    collapseUVTiles(doc);
    for (std::size_t m = 0; m < 2; ++m) {
        ASSERT_EQ(doc.meshes[m].uvsets.size(), 1u);
        EXPECT_EQ(doc.meshes[m].uvsets[0].uvs.size(), 2u);
    }
    // The second is still collapsed through its own indices: 0.5..2.5 has centre 1.5.
    EXPECT_EQ(doc.meshes[1].uvsets[0].uvs[0].u, -0.5f);
    EXPECT_EQ(doc.meshes[1].uvsets[0].uvs[1].u, 1.5f);
    EXPECT_EQ(doc.meshes[0].uvsets[0].uvs[1].u, 2.5f); // no corner names it
    EXPECT_EQ(doc.meshes[1].polygons[0].corners[2].uv[0].index,
              before[1].polygons[0].corners[2].uv[0].index);
}

TEST(UVExpansion, FromTheSetsOwnUVsEveryIndexIsChecked) {
    DocMesh mesh = meshWith({polygon(0, {-5, 99, 1}), polygon(0, {INT_MIN, INT_MAX, 2, 0})},
                            {uv(1, 10, 1), uv(2, 20, 2), uv(3, 30, 3)}, 1);
    ASSERT_EQ(expandUVSet(mesh, 0, 0), 1);
    expectRunningIndices(mesh, 1);
    const float expected[] = {1, 1, 2, 1, 1, 3, 1};
    for (std::size_t n = 0; n < 7; ++n) {
        const DocUV& got = mesh.uvsets[0].uvs[n];
        EXPECT_EQ(got.u, expected[n]) << n;
        EXPECT_EQ(got.v, expected[n] * 10) << n;
        EXPECT_EQ(got.uv_word, static_cast<std::int32_t>(expected[n])) << n;
    }

    // Refusals change nothing.
    DocMesh empty = meshWith({polygon(0, {0, 0, 0})}, {}, 1);
    EXPECT_EQ(expandUVSet(empty, 0, 0), 1);
    EXPECT_TRUE(empty.uvsets[0].uvs.empty());
    EXPECT_EQ(empty.polygons[0].corners[0].uv[0].index, 0);
    EXPECT_EQ(expandUVSet(empty, 1, 1), 0);
    EXPECT_EQ(expandUVSet(empty, -1, 1), 0);
    empty.uvsets.resize(3);
    EXPECT_EQ(expandUVSet(empty, 2, 1), 0); // polygons have no third layer
    EXPECT_TRUE(empty.uvsets[2].uvs.empty());
    EXPECT_EQ(expandUVSet(empty, 0, 1), 1); // from the corners an empty set fills
    EXPECT_EQ(empty.uvsets[0].uvs.size(), 3u);
}

struct TileCase {
    const char* what;
    std::vector<float> before; // u of material 0's UVs, then material 1's
    std::size_t firstOfMaterial1;
    std::vector<float> after;
    // Materials moved as one over more than one tile (reported): their u ranges before.
    std::vector<std::pair<float, float>> spanned = {};
};

TEST(UVTiles, MaterialsMoveByTheirOwnCentre) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const TileCase cases[] = {
        {"tile 2", {2.1f, 2.5f, 2.9f}, 3, {2.1f - 2, 2.5f - 2, 2.9f - 2}},
        {"centre 1.1", {0.9f, 1.3f, 1.0f}, 3, {0.9f - 1, 1.3f - 1, 0.0f}, {{0.9f, 1.3f}}},
        {"tiles 1002 and 1003",
         {1.05f, 2.95f, 2.0f},
         3,
         {1.05f - 2, 2.95f - 2, 0.0f},
         {{1.05f, 2.95f}}},
        {"one tile, edge to edge", {1.0f, 2.0f, 1.5f}, 3, {0.0f, 1.0f, 0.5f}},
        {"first tile", {0.0f, 0.99f, 0.5f}, 3, {0.0f, 0.99f, 0.5f}},
        {"below 0", {-1.5f, -0.5f, -7.0f}, 3, {-1.5f, -0.5f, -7.0f}},
        // Over two tiles but not moved: nothing to report.
        {"centre just below 1", {0.5f, 1.49f, 1.0f}, 3, {0.5f, 1.49f, 1.0f}},
        {"two materials", {3.2f, 3.8f, 1.1f, 1.4f}, 2, {3.2f - 3, 3.8f - 3, 1.1f - 1, 1.4f - 1}},
        {"second only",
         {0.2f, 0.4f, 5.5f, 6.25f},
         2,
         {0.2f, 0.4f, 5.5f - 5, 6.25f - 5},
         {{5.5f, 6.25f}}},
        // A centre that is not finite leaves its material where it is, the others move.
        {"infinite u", {0.5f, kInf, kInf}, 3, {0.5f, kInf, kInf}},
        {"infinite beside finite", {0.5f, kInf, 2.2f, 2.4f}, 2, {0.5f, kInf, 2.2f - 2, 2.4f - 2}},
        {"both infinities", {-kInf, kInf, 3.5f}, 2, {-kInf, kInf, 3.5f - 3}},
    };
    for (const TileCase& t : cases) {
        // One triangle per pair of UVs: material 0 takes UVs [0, first), material 1 the rest.
        std::vector<DocUV> uvs;
        std::vector<DocPolygon> polygons;
        for (std::size_t i = 0; i < t.before.size(); ++i) {
            uvs.push_back(uv(t.before[i], 5.5f + static_cast<float>(i), 1));
            const std::int32_t material = i < t.firstOfMaterial1 ? 0 : 1;
            const std::int32_t n = static_cast<std::int32_t>(i);
            polygons.push_back(polygon(material, {n, n, n}));
        }
        SceneDoc doc;
        doc.meshes.push_back(meshWith(std::move(polygons), uvs, 2));
        const std::vector<yfx::prepare::SpannedTiles> spanned = collapseUVTiles(doc);
        ASSERT_EQ(spanned.size(), t.spanned.size()) << t.what;
        for (std::size_t i = 0; i < spanned.size(); ++i) {
            EXPECT_EQ(spanned[i].set, 0) << t.what;
            EXPECT_FLOAT_EQ(spanned[i].min_u, t.spanned[i].first) << t.what;
            EXPECT_FLOAT_EQ(spanned[i].max_u, t.spanned[i].second) << t.what;
            EXPECT_FLOAT_EQ(spanned[i].shift,
                            std::floor((t.spanned[i].first + t.spanned[i].second) / 2))
                << t.what;
        }
        const DocMesh& mesh = doc.meshes[0];
        expectRunningIndices(mesh, 1);
        for (std::size_t n = 0; n < mesh.uvsets[0].uvs.size(); ++n) {
            const std::size_t i = n / 3;
            const DocUV& got = mesh.uvsets[0].uvs[n];
            EXPECT_FLOAT_EQ(got.u, t.after[i]) << t.what << " uv " << n;
            EXPECT_EQ(got.v, 5.5f + static_cast<float>(i)) << t.what;
            // The mark ends on the last surface's UVs; other bits stay.
            const bool last = i >= t.firstOfMaterial1;
            EXPECT_EQ(got.uv_word, last ? 1 | kUVTileMark : 1) << t.what << " uv " << n;
        }
    }
}

// The collapse written the plain way: expand each set from its own UVs, then for
// every surface rescan every polygon, clearing and setting the mark on the
// whole set. Corner indices outside the set are skipped here too.
int plainExpand(DocMesh& mesh, std::size_t k) {
    if (k >= mesh.uvsets.size() || k >= static_cast<std::size_t>(kPolygonUVLayers) ||
        mesh.vertices.empty()) {
        return 0;
    }
    std::vector<DocUV>& old = mesh.uvsets[k].uvs;
    if (old.empty()) {
        return 1;
    }
    std::size_t total = 0;
    for (const DocPolygon& p : mesh.polygons) {
        total += p.corners.size();
    }
    if (total == 0) {
        return 0;
    }
    std::vector<DocUV> fresh;
    for (const DocPolygon& p : mesh.polygons) {
        for (const DocCorner& corner : p.corners) {
            std::int32_t i = corner.uv[k].index;
            if (i < 0 || i >= static_cast<std::int32_t>(old.size())) {
                i = 0;
            }
            fresh.push_back(old[static_cast<std::size_t>(i)]);
        }
    }
    std::int32_t before = 0;
    for (DocPolygon& p : mesh.polygons) {
        for (std::uint32_t c = 0; c < p.corners.size(); ++c) {
            p.corners[c].uv[k].index = before + static_cast<std::int32_t>(c);
        }
        before += static_cast<std::int32_t>(p.corners.size());
    }
    old = fresh;
    return 1;
}

// Returns how many times a surface's UVs were moved.
int plainCollapse(SceneDoc& doc) {
    int shifts = 0;
    for (DocMesh& mesh : doc.meshes) {
        if (mesh.uvsets.empty() && allocateMeshUVSets(mesh, 2, 0) == 0) {
            continue;
        }
        for (std::size_t k = 0; k < mesh.uvsets.size(); ++k) {
            if (!mesh.uvsets[k].uvs.empty()) {
                plainExpand(mesh, k);
            }
        }
        for (std::size_t k = 0; k < mesh.uvsets.size(); ++k) {
            std::vector<DocUV>& uvs = mesh.uvsets[k].uvs;
            if (uvs.empty()) {
                continue;
            }
            for (std::int32_t m = 0; m < static_cast<std::int32_t>(mesh.surfaces.size()); ++m) {
                for (DocUV& u : uvs) {
                    u.uv_word &= ~kUVTileMark;
                }
                float minU = std::numeric_limits<float>::max();
                float maxU = -std::numeric_limits<float>::max();
                int counted = 0;
                for (const DocPolygon& p : mesh.polygons) {
                    if (p.material != m || k >= static_cast<std::size_t>(kPolygonUVLayers)) {
                        continue;
                    }
                    for (const DocCorner& corner : p.corners) {
                        const std::int32_t i = corner.uv[k].index;
                        if (i < 0 || i >= static_cast<std::int32_t>(uvs.size())) {
                            continue;
                        }
                        DocUV& u = uvs[static_cast<std::size_t>(i)];
                        minU = u.u < minU ? u.u : minU;
                        maxU = u.u > maxU ? u.u : maxU;
                        u.uv_word |= kUVTileMark;
                        ++counted;
                    }
                }
                if (counted == 0) {
                    continue;
                }
                const float shift = std::floor((maxU + minU) * 0.5f);
                if (shift > 0) {
                    ++shifts;
                    for (DocUV& u : uvs) {
                        if (u.uv_word & kUVTileMark) {
                            u.u -= shift;
                        }
                    }
                }
            }
        }
    }
    return shifts;
}

// Small meshes where UVs are shared between corners and materials, indices
// and materials run outside their arrays, polygons may have no corners and a
// mesh may lack vertices of its own (then nothing is expanded).
SceneDoc randomDoc(std::mt19937& rng) {
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    SceneDoc doc;
    const int meshes = pick(1, 3);
    for (int m = 0; m < meshes; ++m) {
        DocMesh mesh;
        mesh.vertices.resize(static_cast<std::size_t>(pick(0, 3) == 0 ? 0 : 3));
        const int surfaces = pick(0, 3);
        mesh.surfaces.resize(static_cast<std::size_t>(surfaces));
        const int sets = pick(0, 3);
        mesh.uvsets.resize(static_cast<std::size_t>(sets));
        for (DocUVSet& set : mesh.uvsets) {
            const int count = pick(0, 6);
            for (int i = 0; i < count; ++i) {
                // Quarter steps from -3 to 6: exact sums, centres on and off tile edges.
                set.uvs.push_back(uv(static_cast<float>(pick(-12, 24)) * 0.25f,
                                     static_cast<float>(pick(-4, 4)), pick(0, 7)));
            }
        }
        const int polygons = pick(0, 5);
        for (int p = 0; p < polygons; ++p) {
            DocPolygon poly;
            if (pick(0, 5) != 0) {
                preparePolygon(poly, pick(3, 5));
            }
            poly.material = pick(-1, surfaces);
            for (DocCorner& corner : poly.corners) {
                for (int layer = 0; layer < kPolygonUVLayers; ++layer) {
                    const int r = pick(0, 9);
                    corner.uv[layer].index = r == 0   ? -1
                                             : r == 1 ? 7
                                             : r == 2 ? INT_MIN
                                                      : pick(0, 5);
                }
            }
            mesh.polygons.push_back(poly);
        }
        doc.meshes.push_back(std::move(mesh));
    }
    return doc;
}

void expectSameUVs(const SceneDoc& got, const SceneDoc& want, int round) {
    ASSERT_EQ(got.meshes.size(), want.meshes.size());
    for (std::size_t m = 0; m < got.meshes.size(); ++m) {
        const DocMesh& a = got.meshes[m];
        const DocMesh& b = want.meshes[m];
        ASSERT_EQ(a.uvsets.size(), b.uvsets.size()) << "round " << round;
        for (std::size_t k = 0; k < a.uvsets.size(); ++k) {
            ASSERT_EQ(a.uvsets[k].uvs.size(), b.uvsets[k].uvs.size()) << "round " << round;
            for (std::size_t i = 0; i < a.uvsets[k].uvs.size(); ++i) {
                const DocUV& x = a.uvsets[k].uvs[i];
                const DocUV& y = b.uvsets[k].uvs[i];
                EXPECT_EQ(x.uv_word, y.uv_word) << "round " << round << " mesh " << m;
                EXPECT_EQ(x.u, y.u) << "round " << round << " mesh " << m << " uv " << i;
                EXPECT_EQ(x.v, y.v) << "round " << round;
            }
        }
        for (std::size_t p = 0; p < a.polygons.size(); ++p) {
            for (std::uint32_t c = 0; c < a.polygons[p].corners.size(); ++c) {
                for (int layer = 0; layer < kPolygonUVLayers; ++layer) {
                    EXPECT_EQ(a.polygons[p].corners[c].uv[layer].index,
                              b.polygons[p].corners[c].uv[layer].index)
                        << "round " << round;
                }
            }
        }
    }
}

TEST(UVTiles, SamePassResultAsTheRescanOfEverySurface) {
    std::mt19937 rng(20240611);
    int shifts = 0;
    for (int round = 0; round < 3000; ++round) {
        const SceneDoc original = randomDoc(rng);
        SceneDoc fast;
        fast.meshes = original.meshes;
        SceneDoc plain;
        plain.meshes = original.meshes;
        collapseUVTiles(fast);
        shifts += plainCollapse(plain);
        expectSameUVs(fast, plain, round);
        if (::testing::Test::HasFailure()) {
            return;
        }
    }
    EXPECT_GT(shifts, 500); // the random meshes do exercise moves
}

} // namespace
} // namespace prepare
} // namespace yfx
