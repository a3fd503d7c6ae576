#include "test_scene.h"

#include <memory>

#include "format/byte_sink.h"
#include "format/writer_v31.h"
#include "format/writer_v9.h"

namespace yfx_test {
namespace {

using namespace yfx;

DocMap& addMap(DocMaterial& m, std::int32_t channel, std::int32_t type, const char* path) {
    m.maps.push_back(std::make_unique<DocMap>());
    DocMap& map = *m.maps.back();
    map.channel = channel;
    map.map_type = type;
    map.flags = 0x310001u + std::uint32_t(type);
    map.texture_offset[0] = 0.25f * float(type);
    map.texture_scale[1] = 2.0f;
    map.texture_rotation[2] = 0.5f;
    map.path.setAnsi(path);
    map.tail_int = 10 + type;
    map.tail_float_a = 3.5f;
    map.tail_float_b = 4.5f;
    map.tail_colour = 0x123456;
    map.tail_extra = 0xABCDEF01u;
    map.tail_int_b = 77;
    return map;
}

DocPolygon polygon(std::initializer_list<std::int32_t> vertices, std::int32_t group,
                   std::int32_t material) {
    DocPolygon p;
    p.group = group;
    p.word2 = group;
    p.material = material;
    p.polygon_value2 = 0xFEED0000u + std::uint32_t(vertices.size());
    std::int32_t c = 0;
    for (std::int32_t v : vertices) {
        DocCorner corner;
        corner.vertex = v;
        corner.uv[0].index = c;
        corner.uv[1].index = c + 1;
        p.corners.push_back(corner);
        ++c;
    }
    return p;
}

DocUVSet uvSet(int n, float base) {
    DocUVSet set;
    for (int i = 0; i < n; ++i) {
        DocUV uv;
        uv.uv_word = 99; // never written: the file holds 0 there
        uv.u = base + float(i);
        uv.v = base + float(i) + 0.5f;
        set.uvs.push_back(uv);
    }
    return set;
}

} // namespace

SceneDoc makeFullScene() {
    SceneDoc doc;
    doc.lights.resize(2);
    doc.lights[0].name.setAnsi("Key");
    doc.lights[0].kind = kLightSpot;
    doc.lights[0].transform.position[1] = 5.0f;
    doc.lights[0].value_a = 7.0f; // written as 0.0
    doc.lights[0].value_b = 7.0f; // written as 1.0
    doc.lights[0].intensity = 0.75f;
    doc.lights[1].name.setAnsi("Fill");

    doc.cameras.resize(1);
    doc.cameras[0].name.setAnsi("Cam");
    doc.cameras[0].reserved = 5; // written as 0
    doc.cameras[0].camera_word = 42;

    doc.materials.resize(2);
    DocMaterial& skin = doc.materials[0];
    skin.name.setAnsi("Skin");
    skin.material_word = 3;
    skin.shininess = 20.0f;
    addMap(skin, 0, 1, "C:\\textures\\skin.png");
    addMap(skin, 1, 2, "D:/maps/sub/opacity.tga");
    addMap(skin, 2, 3, "rel\\bump.jpg");
    DocMap& layered = addMap(skin, 3, 4, "ignored.png");
    for (int i = 0; i < 5; ++i) {
        DocMapLayer layer;
        layer.path.setAnsi(i == 0 ? "E:\\l\\layer0.png" : "layer.png");
        layer.layer_int = 100 + i;
        layer.layer_value = 200u + std::uint32_t(i);
        layer.layer_float = 0.5f + float(i);
        layered.layers.push_back(layer);
    }
    DocMap& six = addMap(skin, 4, 5, "C:\\six\\px.png");
    six.more_paths[2].setAnsi("/abs/pz.png");
    addMap(skin, 5, 6, "six.bmp");
    DocMaterial& cloth = doc.materials[1];
    cloth.name.setAnsi("Cloth");
    cloth.maps.push_back(nullptr); // an empty slot is not a map
    addMap(cloth, 0, 7, "cloth\\c.png");
    addMap(cloth, 1, 9, "unknown.png"); // head only

    doc.groups.resize(2);
    doc.groups[0].name.setAnsi("Body");
    doc.groups[0].group_word = 8; // written as 0
    doc.groups[0].parent = 1;     // written as -1
    doc.groups[1].name.setAnsi("Head");

    doc.vertices.resize(5);
    for (std::size_t i = 0; i < doc.vertices.size(); ++i) {
        DocVertex& v = doc.vertices[i];
        v.position[0] = float(i);
        v.position[2] = -float(i);
        v.normal[1] = 1.0f;
        v.colour[1] = 0.5f;
        for (std::size_t w = 0; w < i % 3; ++w) {
            DocWeight weight;
            weight.bone = std::int32_t(w);
            weight.weight = 0.25f * float(w + 1);
            v.weights.push_back(weight);
        }
    }

    doc.meshes.resize(2);
    DocMesh& m0 = doc.meshes[0];
    m0.uvsets.push_back(uvSet(5, 0.0f));
    m0.uvsets.push_back(uvSet(5, 10.0f));
    m0.polygons.push_back(polygon({0, 1, 2, 3}, 0, 1));
    m0.polygons.push_back(polygon({1, 2, 4}, 1, -1));
    m0.polygons.push_back(polygon({2, 3, 4}, 5, 0));  // not a group
    m0.polygons.push_back(polygon({0, 2, 4}, -1, 1)); // no group
    m0.polygons.push_back(polygon({3, 4, 0}, 0, 0));
    // Corner 1 of the second polygon has no UV in set 0; corner 0 of the
    // last names an entry past the set's end.
    m0.polygons[1].corners[1].uv[0].index = -1;
    m0.polygons[4].corners[0].uv[0].index = 5;
    DocMesh& m1 = doc.meshes[1];
    m1.uvsets.push_back(uvSet(3, 20.0f)); // one set only: set 1 lookups give 0, 0
    m1.polygons.push_back(polygon({4, 3, 2}, 1, 1));
    m1.polygons.back().uv_layer_count = 2;

    doc.bones.resize(2);
    doc.bones[0].name.setAnsi("Hip");
    doc.bones[0].position[0] = 1.0f;
    doc.bones[0].scale[2] = 3.0f;
    doc.bones[0].rotation[0] = 0.5f;
    doc.bones[0].colour[0] = 0.1f;
    doc.bones[1].name.setAnsi("Thigh");
    doc.bones[1].parent = 0;

    doc.animations.resize(1);
    DocAnimation& a = doc.animations[0];
    a.name.setAnsi("Walk");
    a.animation_word = 6;
    a.start_frame = 1.0f;
    a.end_frame = 12.0f;
    a.frames_per_second = 24.0f;
    a.tracks.resize(2);
    a.tracks[0].position_keys.push_back({0.5f, {1, 2, 3}});
    a.tracks[0].rotation_keys.push_back({0.5f, {0, 0, 1, 0}});
    a.tracks[0].rotation_keys.push_back({1.0f, {0, 1, 0, 0}});
    a.tracks[1].scale_keys.push_back({0.25f, {2, 2, 2}});
    return doc;
}

WriterOptions allOptions() {
    WriterOptions o;
    o.export_lights = o.export_materials = o.export_uvs = o.export_uvsets = 1;
    o.export_joints = o.export_animation = 1;
    o.creator_text = L"Creator";
    o.version_text = L"v3.0";
    o.time_text = L"Thu Jan  1 00:00:00 1970";
    return o;
}

std::vector<std::uint8_t> writtenStream(const yfx::SceneDoc& doc, bool version9) {
    yfx::MemorySink sink;
    int written = 0;
    if (version9) {
        yfx::FileHeaderV2 header;
        written = yfx::writeDocumentV2(doc, allOptions(), sink, header);
    } else {
        yfx::FileHeader header;
        written = yfx::writeDocument(doc, allOptions(), sink, header);
    }
    if (written != 1) {
        return {};
    }
    return std::vector<std::uint8_t>(sink.data(), sink.data() + sink.size());
}

} // namespace yfx_test
