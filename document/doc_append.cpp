#include "document/doc_append.h"

#include <cstdio>
#include <new>

namespace yfx {

namespace {

// Appends one default element; nullptr (array unchanged) when that fails.
// Every record moves without throwing, so a failed growth keeps the old block.
template <typename T> T* appendDefault(std::vector<T>& array) {
    try {
        array.emplace_back();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return &array.back();
}

template <typename Key>
Key* appendKey(std::vector<Key>& keys, float time, const float* value, int components) {
    Key* key = appendDefault(keys);
    if (key != nullptr) {
        key->time = time;
        if (value != nullptr) {
            for (int i = 0; i < components; ++i) {
                key->value[i] = value[i];
            }
        }
    }
    return key;
}

} // namespace

DocLight* addLight(SceneDoc& doc) {
    return appendDefault(doc.lights);
}

DocGroup* addGroup(SceneDoc& doc, const wchar_t* name) {
    if (name == nullptr) {
        return nullptr;
    }
    DocGroup* group = appendDefault(doc.groups);
    if (group != nullptr) {
        group->name.setWide(name);
    }
    return group;
}

DocMesh* addMesh(SceneDoc& doc) {
    DocMesh* mesh = appendDefault(doc.meshes);
    if (mesh != nullptr) {
        wchar_t text[32];
        std::swprintf(text, 32, L"YFXMesh%d", static_cast<int>(doc.meshes.size() - 1));
        mesh->name.set(text);
    }
    return mesh;
}

DocMaterial* addUnassignedMaterial(SceneDoc& doc) {
    DocMaterial* material = appendDefault(doc.materials);
    if (material != nullptr) {
        material->name.setAnsi("Unassigned");
    }
    return material;
}

DocBone* addBone(SceneDoc& doc) {
    return appendDefault(doc.bones);
}

DocAnimation* addAnimation(SceneDoc& doc) {
    DocAnimation* animation = appendDefault(doc.animations);
    if (animation != nullptr) {
        animation->name.setAnsi("DefaultAnim");
    }
    return animation;
}

DocSurface* addSurface(DocMesh& mesh) {
    return appendDefault(mesh.surfaces);
}

DocWeight* addWeightSlot(DocVertex& vertex) {
    try {
        return &vertex.weights.push_back(DocWeight{});
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

DocPositionKey* addPositionKey(DocTrack& track, float time, const float value[3]) {
    return appendKey(track.position_keys, time, value, 3);
}

DocRotationKey* addRotationKey(DocTrack& track, float time, const float quaternion[4]) {
    return appendKey(track.rotation_keys, time, quaternion, 4);
}

DocScaleKey* addScaleKey(DocTrack& track, float time, const float value[3]) {
    return appendKey(track.scale_keys, time, value, 3);
}

} // namespace yfx
