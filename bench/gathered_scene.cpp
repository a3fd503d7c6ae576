#include "gathered_scene.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cwchar>

#include "document/doc_alloc.h"
#include "prepare/track_keys.h"
#include "util/matrix_math.h"

namespace yfx_bench {

using namespace yfx;

namespace {

// A small deterministic generator, so the scene is the same on every machine.
struct Lcg {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    std::uint32_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state >> 33);
    }
    float unit() { return float(next() & 0xFFFFFF) / float(0x1000000); }
};

std::int32_t scaled(double s, double full, std::int32_t least) {
    return std::max(least, static_cast<std::int32_t>(std::lround(full * s)));
}

DzNode* fakeNode(std::int32_t bone) {
    // Never followed: the passes only compare node pointers.
    return reinterpret_cast<DzNode*>(static_cast<std::uintptr_t>(bone + 1) * 64u);
}

// A world matrix (row-major, translation in column 3) for bone i at a frame.
void boneWorld(std::int32_t i, std::int32_t frame, float m[16]) {
    const float angle = 0.01f * float(i) + 0.02f * float(frame) * float(i % 5);
    const float axis[3] = {0.267f, 0.535f, 0.802f};
    const float s = std::sin(angle * 0.5f);
    const float q[4] = {axis[0] * s, axis[1] * s, axis[2] * s, std::cos(angle * 0.5f)};
    quatToMatrix(q, m);
    m[3] = 0.1f * float(i % 17) + 0.001f * float(frame);
    m[7] = 0.05f * float(i);
    m[11] = -0.02f * float(i % 7);
}

void setHostMatrix(DocBone& bone, const float m[16]) {
    // Host rows 0 to 2 hold the linear part, row 3 the translation.
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            bone.host_matrix[r * 3 + c] = m[c * 4 + r];
        }
    }
    bone.host_matrix[9] = m[3];
    bone.host_matrix[10] = m[7];
    bone.host_matrix[11] = m[11];
}

void texturePath(WideName& out, const wchar_t* kind, std::int32_t pair, bool upper) {
    wchar_t text[128];
    std::swprintf(text, 128,
                  upper ? L"C:\\TEXTURES\\SET%d\\SKIN%d_%ls.PNG"
                        : L"c:\\textures\\set%d\\skin%d_%ls.png",
                  pair, pair, kind);
    out.set(text);
}

void addSurfaces(DocMesh& mesh, std::int32_t count, std::int32_t& global) {
    mesh.surfaces.resize(std::size_t(count));
    for (std::int32_t j = 0; j < count; ++j, ++global) {
        DocSurface& s = mesh.surfaces[std::size_t(j)];
        wchar_t name[64];
        std::swprintf(name, 64, L"Surface%d", global);
        s.name.set(name);
        // Surfaces 2k and 2k + 1 share their textures, in other letter case.
        const std::int32_t pair = global / 2;
        const bool upper = (global % 2) == 1;
        texturePath(s.colour_path, upper ? L"COLOR" : L"color", pair, upper);
        texturePath(s.opacity_path, upper ? L"OPACITY" : L"opacity", pair, upper);
        if (global % 3 == 0) {
            texturePath(s.normal_path, L"normal", pair, false);
        }
        if (global % 4 == 0) {
            texturePath(s.specular_path, L"spec", pair, false);
        }
        s.diffuse_bytes[0] = std::uint8_t(global % 256);
        s.opacity = 1.0f;
        for (auto& size : s.texture_sizes) {
            size[0] = size[1] = 2048;
        }
    }
}

// Corner c of a polygon whose corners start at `first` in the mesh's corner
// order: its vertex and UV indices, and its UVs where gathering keeps them.
void addCorner(DocMesh& mesh, DocPolygon& polygon, std::size_t first, int c, std::int32_t vertex,
               float u, float v, float tile) {
    DocCorner& corner = polygon.corners[std::size_t(c)];
    corner.vertex = vertex;
    corner.uv[0].index = vertex;
    corner.uv[1].index = vertex;
    DocUV& layer0 = mesh.gathered_corner_uvs[0][first + std::size_t(c)];
    layer0.u = tile + u;
    layer0.v = v;
    DocUV& layer1 = mesh.gathered_corner_uvs[1][first + std::size_t(c)];
    layer1.u = u;
    layer1.v = v;
}

// A grid mesh of about `polygons` polygons: every twentieth cell split into
// two triangles (triangles first, as the scene walk orders them), one spare
// row of vertices that no polygon uses.
void fillMesh(DocMesh& mesh, std::int64_t polygons, std::int32_t meshIndex, std::int32_t bones,
              std::int32_t ownBone, bool skinned, Lcg& rng) {
    const std::int64_t cells = std::max<std::int64_t>(1, polygons * 20 / 21);
    const std::int32_t cols = std::max<std::int32_t>(1, std::int32_t(std::sqrt(double(cells))));
    const std::int32_t rows = std::int32_t((cells + cols - 1) / cols);
    const std::int32_t vcols = cols + 1;
    const std::int32_t vrows = rows + 2; // the last row is never used

    mesh.vertices.resize(std::size_t(vcols) * std::size_t(vrows));
    for (std::int32_t r = 0; r < vrows; ++r) {
        for (std::int32_t c = 0; c < vcols; ++c) {
            DocVertex& v = mesh.vertices[std::size_t(r) * std::size_t(vcols) + std::size_t(c)];
            v.position[0] = float(c) * 0.01f + float(meshIndex);
            v.position[1] = float(r) * 0.01f;
            v.position[2] = float((c * 7 + r * 3) % 11) * 0.001f;
            if (!skinned) {
                continue;
            }
            for (std::int32_t w = 0; w < 4; ++w) {
                DocWeight weight;
                weight.bone = (ownBone + w * 7 + (r + c) % 13) % bones;
                weight.weight = 0.05f + rng.unit() * 0.4f;
                weight.contributions = (rng.next() % 16 == 0) ? 2 : 1;
                v.weights.push_back(weight);
            }
        }
    }

    const std::int32_t surfaces = std::int32_t(mesh.surfaces.size());
    std::int64_t triangles = 0;
    for (std::int64_t cell = 0; cell < cells; ++cell) {
        triangles += (cell % 20 == 19) ? 2 : 0;
    }
    mesh.polygons.clear();
    mesh.polygons.resize(std::size_t(triangles + (cells - triangles / 2)));
    const std::size_t cornerCount =
        std::size_t(triangles) * 3 + (mesh.polygons.size() - std::size_t(triangles)) * 4;
    for (std::vector<DocUV>& layer : mesh.gathered_corner_uvs) {
        layer.assign(cornerCount, DocUV{});
    }
    std::size_t nextTriangle = 0;
    std::size_t nextQuad = std::size_t(triangles);
    // Where each kind's corners start in the mesh's corner order.
    const auto firstCornerOf = [triangles](std::size_t polygon) {
        const std::size_t t = std::size_t(triangles);
        return polygon < t ? polygon * 3 : t * 3 + (polygon - t) * 4;
    };
    for (std::int64_t cell = 0; cell < cells; ++cell) {
        const std::int32_t r = std::int32_t(cell / cols);
        const std::int32_t c = std::int32_t(cell % cols);
        const std::int32_t a = r * vcols + c;
        const std::int32_t corners[4] = {a, a + 1, a + vcols + 1, a + vcols};
        const std::int32_t material = std::int32_t(cell * surfaces / cells);
        const float tile = float(material % 4);
        const float u0 = float(c) / float(cols);
        const float u1 = float(c + 1) / float(cols);
        const float v0 = float(r) / float(rows);
        const float v1 = float(r + 1) / float(rows);
        const float us[4] = {u0, u1, u1, u0};
        const float vs[4] = {v0, v0, v1, v1};
        if (cell % 20 == 19) {
            for (int t = 0; t < 2; ++t) {
                const std::size_t first = firstCornerOf(nextTriangle);
                DocPolygon& p = mesh.polygons[nextTriangle++];
                preparePolygon(p, 3);
                p.material = material;
                const int pick[2][3] = {{0, 1, 2}, {0, 2, 3}};
                for (int k = 0; k < 3; ++k) {
                    const int i = pick[t][k];
                    addCorner(mesh, p, first, k, corners[i], us[i], vs[i], tile);
                }
            }
        } else {
            const std::size_t first = firstCornerOf(nextQuad);
            DocPolygon& p = mesh.polygons[nextQuad++];
            preparePolygon(p, 4);
            p.material = material;
            for (int k = 0; k < 4; ++k) {
                addCorner(mesh, p, first, k, corners[k], us[k], vs[k], tile);
            }
        }
    }
    mesh.highest_vertex_index = vcols * (rows + 1) - 1;
    mesh.mesh_value = std::int32_t(mesh.vertices.size());
    mesh.weights_flag = skinned ? 1 : 0;
}

} // namespace

GatheredSceneStats buildGatheredScene(SceneDoc& doc, const GatheredSceneSize& size) {
    const double s = double(size.polygons) / 1e6;
    const std::int32_t meshCount = scaled(s, 100, 2);
    const std::int32_t bigSurfaces = scaled(s, 1000, 1);
    const std::int32_t allSurfaces = std::max(bigSurfaces + meshCount - 1, scaled(s, 2000, 2));
    const std::int32_t boneCount = std::max(meshCount, scaled(s, 200, 2));
    const std::int32_t frames = scaled(s, 300, 2);
    Lcg rng;

    doc.bones.resize(std::size_t(boneCount));
    for (std::int32_t i = 0; i < boneCount; ++i) {
        DocBone& bone = doc.bones[std::size_t(i)];
        wchar_t name[32];
        std::swprintf(name, 32, L"bone%d", i);
        bone.name.setWide(name);
        bone.host_node = fakeNode(i);
        bone.parent = i == 0 ? -1 : (i - 1) / 3;
        float world[16];
        boneWorld(i, 0, world);
        setHostMatrix(bone, world);
    }

    doc.meshes.resize(std::size_t(meshCount));
    std::int32_t global = 0;
    const std::int32_t rest = allSurfaces - bigSurfaces;
    for (std::int32_t m = 0; m < meshCount; ++m) {
        DocMesh& mesh = doc.meshes[std::size_t(m)];
        wchar_t name[32];
        std::swprintf(name, 32, L"Mesh%d", m);
        mesh.name.set(name);
        const std::int32_t ownBone = m * (boneCount / meshCount);
        mesh.host_node = doc.bones[std::size_t(ownBone)].host_node;
        doc.bones[std::size_t(ownBone)].mesh = m;
        const std::int32_t count =
            m == 0 ? bigSurfaces
                   : rest / (meshCount - 1) + (m - 1 < rest % (meshCount - 1) ? 1 : 0);
        addSurfaces(mesh, std::max(1, count), global);
        const bool skinned = m % 10 != 9; // every tenth mesh is an unskinned prop
        fillMesh(mesh, size.polygons / meshCount, m, boneCount, ownBone, skinned, rng);
    }

    DocAnimation& animation = doc.animations.emplace_back();
    animation.name.setAnsi("DefaultAnim");
    animation.frames_per_second = 30.0f;
    animation.tracks.resize(std::size_t(boneCount));
    for (std::int32_t i = 0; i < boneCount; ++i) {
        DocTrack& track = animation.tracks[std::size_t(i)];
        track.parent = doc.bones[std::size_t(i)].parent;
        track.position_keys.reserve(std::size_t(frames));
        track.rotation_keys.reserve(std::size_t(frames));
        track.scale_keys.reserve(std::size_t(frames));
    }
    GatheredSceneStats stats;
    stats.frames = frames;
    stats.keys = std::int64_t(frames) * boneCount;
    for (std::int32_t f = 0; f < frames; ++f) {
        for (std::int32_t i = 0; i < boneCount; ++i) {
            DocTrack& track = animation.tracks[std::size_t(i)];
            boneWorld(i, f, track.local_matrix);
            track.sample_time = float(f) / 30.0f;
        }
        const auto t0 = std::chrono::steady_clock::now();
        prepare::captureTrackKeys(animation);
        stats.capture_seconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    return stats;
}

} // namespace yfx_bench
