// The whole processing chain on a generated gathered document: what each
// stage promises the next, checked as the chain runs, and the result written
// by the version 31 writer and read back.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "format/container.h"
#include "format/load_file.h"
#include "format/writer_v31.h"
#include "gathered_scene.h"
#include "platform/path.h"
#include "prepare/export_passes.h"

namespace {

using namespace yfx;

constexpr std::int64_t kPolygons = 4000;

std::size_t totalCorners(const DocMesh& mesh) {
    std::size_t n = 0;
    for (const DocPolygon& p : mesh.polygons) {
        n += p.corners.size();
    }
    return n;
}

// Every set of every mesh holds one UV per corner, used in corner order.
void expectRunningUVs(const SceneDoc& doc, const char* stage) {
    for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
        const DocMesh& mesh = doc.meshes[m];
        for (std::size_t k = 0; k < mesh.uvsets.size(); ++k) {
            ASSERT_EQ(mesh.uvsets[k].uvs.size(), totalCorners(mesh)) << stage << " mesh " << m;
            std::int32_t next = 0;
            for (const DocPolygon& p : mesh.polygons) {
                for (const DocCorner& c : p.corners) {
                    ASSERT_EQ(c.uv[k].index, next++) << stage << " mesh " << m << " set " << k;
                }
            }
        }
    }
}

void expectFinalWeights(const std::vector<DocVertex>& vertices, std::size_t bones) {
    for (const DocVertex& v : vertices) {
        float sum = 0;
        for (std::size_t i = 0; i < v.weights.size(); ++i) {
            const DocWeight& w = v.weights[i];
            ASSERT_TRUE(std::isfinite(w.weight) && w.weight > 0);
            ASSERT_GE(w.bone, 0);
            ASSERT_LT(std::size_t(w.bone), bones);
            if (i > 0) {
                ASSERT_LE(w.weight, v.weights[i - 1].weight);
            }
            sum += w.weight;
        }
        if (!v.weights.empty()) {
            ASSERT_NEAR(sum, 1.0f, 1e-6f);
        }
    }
}

// A vertex as a corner sees it: position and weights.
struct CornerVertex {
    float position[3];
    std::vector<std::pair<std::int32_t, float>> weights;
};

CornerVertex cornerVertex(const DocVertex& v) {
    CornerVertex out{{v.position[0], v.position[1], v.position[2]}, {}};
    for (const DocWeight& w : v.weights) {
        out.weights.emplace_back(w.bone, w.weight);
    }
    return out;
}

void expectSameVertex(const CornerVertex& a, const CornerVertex& b) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(a.position[i], b.position[i]);
    }
    ASSERT_EQ(a.weights, b.weights);
}

TEST(ExportChain, EachStageKeepsWhatTheNextRelyOn) {
    SceneDoc doc;
    yfx_bench::buildGatheredScene(doc, {kPolygons});
    ASSERT_GE(doc.meshes.size(), 2u);
    const std::size_t bones = doc.bones.size();
    // Materials merge by colour and opacity texture, ignoring letter case.
    std::set<std::wstring> textures;
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocSurface& s : mesh.surfaces) {
            std::wstring key = std::wstring(s.colour_path.text) + L"|" + s.opacity_path.text;
            for (wchar_t& c : key) {
                c = (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c;
            }
            textures.insert(key);
        }
    }
    std::vector<CornerVertex> beforePool;
    std::vector<std::string> order;

    prepare::ExportPassOptions options;
    options.merge_materials = 1;
    options.collapse_uvs = 1;
    options.on_pass_done = [&](const char* pass) {
        const std::string name = pass;
        order.push_back(name);
        if (name == "expandMeshUVs" || name == "collapseUVTiles") {
            expectRunningUVs(doc, pass);
        }
        if (name == "collapseUVTiles") {
            // Each surface lay on one UDIM tile: all of it is back on the first.
            for (const DocMesh& mesh : doc.meshes) {
                for (const DocUV& uv : mesh.uvsets[0].uvs) {
                    ASSERT_GE(uv.u, 0.0f);
                    ASSERT_LE(uv.u, 1.0f);
                }
            }
        }
        if (name == "prepareSkinWeights") {
            for (const DocMesh& mesh : doc.meshes) {
                expectFinalWeights(mesh.vertices, bones);
                for (const DocPolygon& p : mesh.polygons) {
                    for (const DocCorner& c : p.corners) {
                        ASSERT_GE(c.vertex, 0);
                        ASSERT_LT(std::size_t(c.vertex), mesh.vertices.size());
                        beforePool.push_back(cornerVertex(mesh.vertices[std::size_t(c.vertex)]));
                        // Every vertex follows some bone, unskinned props included.
                        ASSERT_FALSE(beforePool.back().weights.empty());
                    }
                }
            }
        }
        if (name == "buildVertexPool") {
            ASSERT_EQ(doc.meshes.size(), 1u);
            std::size_t corner = 0;
            for (const DocPolygon& p : doc.meshes[0].polygons) {
                for (const DocCorner& c : p.corners) {
                    ASSERT_GE(c.vertex, 0);
                    ASSERT_LT(std::size_t(c.vertex), doc.vertices.size());
                    ASSERT_LT(corner, beforePool.size());
                    expectSameVertex(cornerVertex(doc.vertices[std::size_t(c.vertex)]),
                                     beforePool[corner++]);
                }
            }
            ASSERT_EQ(corner, beforePool.size());
        }
    };
    prepare::runExportPasses(doc, options);

    const std::vector<std::string> expected = {
        "expandMeshUVs",       "collapseUVTiles",          "mergeMeshSurfaces",
        "collectSurfaces",     "writePlaceholderTextures", "mergeSurfacesToMaterials",
        "compactMeshVertices", "computeBoneLocals",        "prepareSkinWeights",
        "buildVertexPool",     "keysRelativeToRest",       "setAnimationFrameRange",
        "alignRotationKeys"};
    EXPECT_EQ(order, expected);
    expectRunningUVs(doc, "end");
    EXPECT_TRUE(doc.surfaces.empty());
    EXPECT_EQ(doc.materials.size(), textures.size());

    // The first frame is the rest pose: its keys become the identity.
    ASSERT_EQ(doc.animations.size(), 1u);
    const DocAnimation& anim = doc.animations[0];
    ASSERT_EQ(anim.tracks.size(), bones);
    for (const DocTrack& t : anim.tracks) {
        ASSERT_FALSE(t.position_keys.empty());
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(t.position_keys[0].value[i], 0.0f, 1e-4f);
            EXPECT_NEAR(t.scale_keys[0].value[i], 1.0f, 1e-4f);
            EXPECT_NEAR(t.rotation_keys[0].value[i], 0.0f, 1e-4f);
        }
        EXPECT_NEAR(std::fabs(t.rotation_keys[0].value[3]), 1.0f, 1e-4f);
        for (std::size_t k = 1; k < t.rotation_keys.size(); ++k) {
            const float* a = t.rotation_keys[k - 1].value;
            const float* b = t.rotation_keys[k].value;
            EXPECT_GE(a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3], 0.0f);
        }
    }
    const float lastTime = anim.tracks[0].position_keys.back().time;
    EXPECT_FLOAT_EQ(anim.start_frame, 0.0f);
    EXPECT_FLOAT_EQ(anim.end_frame, lastTime * 30.0f);
}

std::wstring fileNameOfPath(const NamePair& path) {
    return fileNameOf(std::wstring(path.wide));
}

TEST(ExportChain, WrittenResultReadsBackAsProduced) {
    for (const std::int32_t merge : {0, 1}) {
        SCOPED_TRACE(merge);
        SceneDoc doc;
        yfx_bench::buildGatheredScene(doc, {kPolygons});
        prepare::ExportPassOptions options;
        options.merge_materials = merge;
        options.collapse_uvs = 1;
        prepare::runExportPasses(doc, options);

        WriterOptions writer;
        writer.export_materials = writer.export_uvs = writer.export_uvsets = 1;
        writer.export_joints = writer.export_animation = 1;
        MemorySink sink;
        FileHeader header;
        ASSERT_EQ(writeDocument(doc, writer, sink, header), 1);
        std::vector<std::uint8_t> packed;
        ASSERT_TRUE(buildContainer(sink.bytes().data(), sink.bytes().size(), 128, packed));
        SceneDoc back;
        std::string reason;
        ASSERT_EQ(loadFromMemory(back, packed.data(), packed.size(), L"", &reason), 1) << reason;

        ASSERT_EQ(back.vertices.size(), doc.vertices.size());
        for (std::size_t i = 0; i < doc.vertices.size(); ++i) {
            expectSameVertex(cornerVertex(back.vertices[i]), cornerVertex(doc.vertices[i]));
        }
        ASSERT_EQ(back.meshes.size(), 1u);
        const DocMesh& in = doc.meshes[0];
        const DocMesh& out = back.meshes[0];
        ASSERT_EQ(out.polygons.size(), in.polygons.size());
        for (std::size_t p = 0; p < in.polygons.size(); ++p) {
            const DocPolygon& a = in.polygons[p];
            const DocPolygon& b = out.polygons[p];
            ASSERT_EQ(b.material, a.material);
            ASSERT_EQ(b.group, a.group);
            ASSERT_EQ(b.corners.size(), a.corners.size());
            for (std::size_t c = 0; c < a.corners.size(); ++c) {
                ASSERT_EQ(b.corners[c].vertex, a.corners[c].vertex);
                for (int k = 0; k < 2; ++k) {
                    const DocUV& ua =
                        in.uvsets[std::size_t(k)].uvs[std::size_t(a.corners[c].uv[k].index)];
                    const std::int32_t ib = b.corners[c].uv[k].index;
                    ASSERT_GE(ib, 0);
                    ASSERT_LT(std::size_t(ib), back.uvsets[std::size_t(k)].uvs.size());
                    const DocUV& ub = back.uvsets[std::size_t(k)].uvs[std::size_t(ib)];
                    ASSERT_EQ(ub.u, ua.u);
                    ASSERT_EQ(ub.v, ua.v);
                }
            }
        }
        ASSERT_EQ(back.materials.size(), doc.materials.size());
        for (std::size_t m = 0; m < doc.materials.size(); ++m) {
            const DocMaterial& a = doc.materials[m];
            const DocMaterial& b = back.materials[m];
            EXPECT_STREQ(b.name.ansi, a.name.ansi);
            EXPECT_EQ(b.opacity, a.opacity);
            ASSERT_EQ(b.maps.size(), a.maps.size());
            for (std::size_t i = 0; i < a.maps.size(); ++i) {
                EXPECT_EQ(b.maps[i]->channel, a.maps[i]->channel);
                EXPECT_EQ(b.maps[i]->flags, a.maps[i]->flags);
                EXPECT_EQ(fileNameOfPath(b.maps[i]->path), fileNameOfPath(a.maps[i]->path));
            }
        }
        ASSERT_EQ(back.groups.size(), doc.groups.size());
        ASSERT_EQ(back.bones.size(), doc.bones.size());
    }
}

} // namespace
