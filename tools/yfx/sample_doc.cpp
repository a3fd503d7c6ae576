#include "tools/yfx/sample_doc.h"

#include <memory>

#include "format/file_layout.h"

namespace yfx {

namespace {

DocMap& addMap(DocMaterial& material, std::int32_t channel, std::int32_t type,
               const wchar_t* path) {
    material.maps.push_back(std::make_unique<DocMap>());
    DocMap& map = *material.maps.back();
    map.channel = channel;
    map.map_type = type;
    map.flags = kMapFlagsDefault | kMapFlagFile;
    map.path.setWide(path);
    return map;
}

void lights(SceneDoc& doc) {
    doc.lights.resize(2);
    DocLight& key = doc.lights[0];
    key.name.setWide(L"Key light");
    key.kind = kLightSpot;
    key.transform.position[0] = 2.0f;
    key.transform.position[1] = 4.0f;
    key.transform.position[2] = 3.0f;
    key.spread_angle = 30.0f;
    key.inner_angle = 20.0f;
    key.intensity = 0.8f;
    key.colour[2] = 0.9f;
    DocLight& fill = doc.lights[1];
    fill.name.setWide(L"Fill \u00e4");
    fill.kind = kLightPoint;
    fill.transform.position[0] = -3.0f;
    fill.transform.position[1] = 2.0f;
    fill.intensity = 0.4f;
}

void materials(SceneDoc& doc) {
    doc.materials.resize(2);
    DocMaterial& skin = doc.materials[0];
    skin.name.setWide(L"Skin");
    skin.diffuse[0] = 0.9f;
    skin.diffuse[1] = 0.7f;
    skin.diffuse[2] = 0.6f;
    skin.shininess = 24.0f;
    addMap(skin, kChannelColour, kMapTypeImage, L"C:\\textures\\skin_diffuse.png");
    DocMap& bump = addMap(skin, kChannelBump, kMapTypeImageExtra, L"skin_bump.jpg");
    bump.texture_scale[0] = bump.texture_scale[1] = 2.0f;

    DocMaterial& cloth = doc.materials[1];
    cloth.name.setWide(L"Cloth");
    cloth.opacity = 0.75f;
    DocMap& layered = addMap(cloth, kChannelColour, kMapTypeLayered, L"");
    layered.layers.resize(2);
    layered.layers[0].path.setWide(L"cloth_base.png");
    layered.layers[1].path.setWide(L"cloth_print.png");
    layered.layers[1].layer_int = 1;
    layered.layers[1].layer_value = 7;
    layered.layers[1].layer_float = 0.5f;
    addMap(cloth, kChannelOpacity, kMapTypeImageColour, L"cloth_alpha.tga");
    DocMap& six = addMap(cloth, kChannelSpecular, kMapTypeSixImages, L"env_px.png");
    const wchar_t* more[5] = {L"env_nx.png", L"env_py.png", L"env_ny.png", L"env_pz.png",
                              L"env_nz.png"};
    for (int i = 0; i < 5; ++i) {
        six.more_paths[std::size_t(i)].setWide(more[i]);
    }
    addMap(cloth, kChannelTranslucency, kMapTypeImageValue6, L"cloth_sss.png").tail_int = 256;
}

// A unit cube: the four bottom corners follow the hip only, the top four
// mostly the spine.
void cube(SceneDoc& doc) {
    doc.vertices.resize(8);
    for (int i = 0; i < 8; ++i) {
        DocVertex& v = doc.vertices[std::size_t(i)];
        v.position[0] = (i & 1) ? 1.0f : -1.0f;
        v.position[1] = (i & 4) ? 2.0f : 0.0f;
        v.position[2] = (i & 2) ? 1.0f : -1.0f;
        v.colour[0] = (i & 1) ? 1.0f : 0.5f;
        DocWeight hip;
        hip.bone = 0;
        hip.weight = (i & 4) ? 0.25f : 1.0f;
        v.weights.push_back(hip);
        if (i & 4) {
            DocWeight spine;
            spine.bone = 1;
            spine.weight = 0.75f;
            v.weights.push_back(spine);
        }
    }
    doc.groups.resize(2);
    doc.groups[0].name.setWide(L"Body");
    doc.groups[1].name.setWide(L"Lid");

    doc.meshes.resize(1);
    DocMesh& mesh = doc.meshes[0];
    mesh.name.set(L"Cube");
    const int faces[6][4] = {{0, 1, 3, 2}, {0, 4, 5, 1}, {1, 5, 7, 3},
                             {3, 7, 6, 2}, {2, 6, 4, 0}, {4, 6, 7, 5}};
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    mesh.uvsets.resize(2);
    for (int f = 0; f < 6; ++f) {
        DocPolygon polygon;
        polygon.group = f < 5 ? 0 : 1;
        polygon.word2 = polygon.group;
        polygon.material = f < 4 ? 0 : 1;
        for (int c = 0; c < 4; ++c) {
            DocCorner corner;
            corner.vertex = faces[f][c];
            corner.flags = 1;
            for (int k = 0; k < kPolygonUVLayers; ++k) {
                DocUV uv;
                uv.u = corners[c][0] * (k == 0 ? 1.0f : 0.5f) + (k == 0 ? 0.0f : 0.25f * float(f));
                uv.v = corners[c][1] * (k == 0 ? 1.0f : 0.5f);
                corner.uv[k].index =
                    static_cast<std::int32_t>(mesh.uvsets[std::size_t(k)].uvs.size());
                mesh.uvsets[std::size_t(k)].uvs.push_back(uv);
            }
            polygon.corners.push_back(corner);
        }
        mesh.polygons.push_back(polygon);
    }
}

void skeleton(SceneDoc& doc) {
    doc.bones.resize(2);
    DocBone& hip = doc.bones[0];
    hip.name.setWide(L"Hip");
    hip.colour[1] = 0.5f;
    DocBone& spine = doc.bones[1];
    spine.name.setWide(L"Spine");
    spine.parent = 0;
    spine.position[1] = 1.0f;
    spine.rotation[2] = 0.70710677f;
    spine.rotation[3] = 0.70710677f;

    doc.animations.resize(1);
    DocAnimation& wave = doc.animations[0];
    wave.name.setWide(L"Wave");
    wave.start_frame = 0.0f;
    wave.end_frame = 24.0f;
    wave.frames_per_second = 24.0f;
    wave.tracks.resize(2);
    wave.tracks[0].position_keys.push_back({0.0f, {0, 0, 0}});
    wave.tracks[0].position_keys.push_back({1.0f, {0, 0.5f, 0}});
    wave.tracks[1].parent = 0;
    wave.tracks[1].rotation_keys.push_back({0.0f, {0, 0, 0, 1}});
    wave.tracks[1].rotation_keys.push_back({0.5f, {0, 0, 0.38268343f, 0.9238795f}});
    wave.tracks[1].rotation_keys.push_back({1.0f, {0, 0, 0, 1}});
    wave.tracks[1].scale_keys.push_back({0.5f, {1, 1.25f, 1}});
}

} // namespace

SceneDoc makeSampleDocument() {
    SceneDoc doc;
    lights(doc);
    doc.cameras.resize(1);
    doc.cameras[0].name.setWide(L"Camera 1");
    doc.cameras[0].transform.position[1] = 1.5f;
    doc.cameras[0].transform.position[2] = 6.0f;
    materials(doc);
    cube(doc);
    skeleton(doc);
    return doc;
}

} // namespace yfx
