#include "synthetic_scene.h"

#include <cstdio>
#include <memory>

namespace yfx_bench {

using namespace yfx;

void buildSyntheticScene(SceneDoc& doc, const SyntheticSceneSize& size) {
    const std::int32_t cols = size.columns;
    const std::int32_t rows = size.rows;
    char name[64];

    doc.materials.resize(std::size_t(size.materials));
    for (std::int32_t i = 0; i < size.materials; ++i) {
        DocMaterial& m = doc.materials[std::size_t(i)];
        std::snprintf(name, sizeof name, "Material%d", i);
        m.name.setAnsi(name);
        m.diffuse[0] = float(i) / float(size.materials);
        m.maps.push_back(std::make_unique<DocMap>());
        m.maps.back()->channel = kChannelColour;
        std::snprintf(name, sizeof name, "C:\\textures\\material%d.png", i);
        m.maps.back()->path.setAnsi(name);
        m.maps.back()->flags |= kMapFlagFile;
    }

    doc.groups.resize(std::size_t(size.groups));
    for (std::int32_t i = 0; i < size.groups; ++i) {
        std::snprintf(name, sizeof name, "Group%d", i);
        doc.groups[std::size_t(i)].name.setAnsi(name);
    }

    const std::size_t vertexCount = std::size_t(cols) * std::size_t(rows);
    doc.vertices.resize(vertexCount);
    for (std::int32_t r = 0; r < rows; ++r) {
        for (std::int32_t c = 0; c < cols; ++c) {
            const std::size_t i = std::size_t(r) * std::size_t(cols) + std::size_t(c);
            DocVertex& v = doc.vertices[i];
            v.position[0] = float(c) * 0.01f;
            v.position[1] = float(r) * 0.01f;
            v.position[2] = float((c * 7 + r * 3) % 11) * 0.001f;
            v.normal[2] = 1.0f;
            for (std::int32_t w = 0; w < 4; ++w) {
                DocWeight weight;
                weight.bone = std::int32_t((i + std::size_t(w) * 37) % std::size_t(size.bones));
                weight.weight = 0.25f;
                weight.contributions = 1;
                v.weights.push_back(weight);
            }
        }
    }

    doc.meshes.resize(1);
    DocMesh& mesh = doc.meshes[0];
    mesh.uvsets.resize(2);
    for (int k = 0; k < 2; ++k) {
        std::vector<DocUV>& uvs = mesh.uvsets[std::size_t(k)].uvs;
        uvs.resize(vertexCount);
        for (std::size_t i = 0; i < vertexCount; ++i) {
            uvs[i].u = float(i % std::size_t(cols)) / float(cols);
            uvs[i].v = float(i / std::size_t(cols)) / float(rows) + float(k);
        }
    }
    const std::size_t quads = std::size_t(cols - 1) * std::size_t(rows - 1);
    mesh.polygons.resize(quads);
    std::size_t q = 0;
    for (std::int32_t r = 0; r + 1 < rows; ++r) {
        for (std::int32_t c = 0; c + 1 < cols; ++c, ++q) {
            DocPolygon& p = mesh.polygons[q];
            p.group = std::int32_t(std::size_t(r) * std::size_t(size.groups) / std::size_t(rows));
            p.word2 = p.group;
            p.material = std::int32_t(q % std::size_t(size.materials));
            const std::int32_t base = r * cols + c;
            const std::int32_t corners[4] = {base, base + 1, base + cols + 1, base + cols};
            for (std::int32_t corner : corners) {
                DocCorner dc;
                dc.vertex = corner;
                dc.flags = 1;
                dc.uv[0].index = corner;
                dc.uv[1].index = corner;
                p.corners.push_back(dc);
            }
        }
    }

    doc.bones.resize(std::size_t(size.bones));
    for (std::int32_t i = 0; i < size.bones; ++i) {
        DocBone& b = doc.bones[std::size_t(i)];
        std::snprintf(name, sizeof name, "Bone%d", i);
        b.name.setAnsi(name);
        b.parent = i == 0 ? -1 : (i - 1) / 2;
        b.position[1] = float(i) * 0.1f;
    }

    doc.animations.resize(1);
    DocAnimation& a = doc.animations[0];
    a.name.setAnsi("DefaultAnim");
    a.end_frame = float(size.keys - 1);
    a.tracks.resize(std::size_t(size.bones));
    for (DocTrack& t : a.tracks) {
        for (std::int32_t k = 0; k < size.keys; ++k) {
            const float time = float(k) / 30.0f;
            t.position_keys.push_back({time, {0, time, 0}});
            t.rotation_keys.push_back({time, {0, 0, 0, 1}});
            t.scale_keys.push_back({time, {1, 1, 1}});
        }
    }
}

} // namespace yfx_bench
