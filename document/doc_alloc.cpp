#include "document/doc_alloc.h"

#include <cstdio>
#include <new>
#include <stdexcept>
#include <utility>

namespace yfx {

namespace {

// Frees the array completely, then fills it with n default elements. On
// allocation failure the array is left empty and the result is 0.
template <typename T> int resizeFresh(std::vector<T>& array, std::int32_t n) {
    std::vector<T>().swap(array);
    if (n <= 0) {
        return 1;
    }
    try {
        array.resize(static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        std::vector<T>().swap(array);
        return 0;
    } catch (const std::length_error&) { // more elements than a 32-bit address space holds
        std::vector<T>().swap(array);
        return 0;
    }
    return 1;
}

// The usual rule: a count below 1 is refused before anything is freed.
template <typename T> int allocateAtLeastOne(std::vector<T>& array, std::int32_t n) {
    if (n < 1) {
        return 0;
    }
    return resizeFresh(array, n);
}

// Meshes, vertices and face links: 0 frees the slot and succeeds; a negative
// count is refused and changes nothing.
template <typename T> int allocateOrEmpty(std::vector<T>& array, std::int32_t n) {
    if (n < 0) {
        return 0;
    }
    return resizeFresh(array, n);
}

void nameAnsi(NamePair& name, const char* format, int index) {
    char text[32];
    std::snprintf(text, sizeof text, format, index);
    name.setAnsi(text);
}

void nameWide(WideName& name, const char* format, int index) {
    char text[32];
    std::snprintf(text, sizeof text, format, index);
    wchar_t wide[32];
    std::size_t i = 0;
    for (; text[i] != 0; ++i) {
        wide[i] = static_cast<wchar_t>(text[i]);
    }
    wide[i] = 0;
    name.set(wide);
}

void nameUVSets(std::vector<DocUVSet>& sets, int first) {
    for (std::size_t i = 0; i < sets.size(); ++i) {
        nameAnsi(sets[i].name, "UVSet%d", static_cast<int>(i) + first);
    }
}

} // namespace

int allocateLights(SceneDoc& doc, std::int32_t n) {
    return allocateAtLeastOne(doc.lights, n);
}

int allocateCameras(SceneDoc& doc, std::int32_t n) {
    return allocateAtLeastOne(doc.cameras, n);
}

int allocateMaterials(SceneDoc& doc, std::int32_t n) {
    return allocateAtLeastOne(doc.materials, n);
}

int allocateGroups(SceneDoc& doc, std::int32_t n) {
    if (!allocateAtLeastOne(doc.groups, n)) {
        return 0;
    }
    for (std::size_t i = 0; i < doc.groups.size(); ++i) {
        nameAnsi(doc.groups[i].name, "YFXGroup%d", static_cast<int>(i));
    }
    return 1;
}

int allocateVertices(SceneDoc& doc, std::int32_t n) {
    return allocateOrEmpty(doc.vertices, n);
}

int allocateFaceLinks(SceneDoc& doc, std::int32_t n) {
    return allocateOrEmpty(doc.face_links, n);
}

int allocateUVSets(SceneDoc& doc, std::int32_t n) {
    if (!allocateAtLeastOne(doc.uvsets, n)) {
        return 0;
    }
    nameUVSets(doc.uvsets, 1);
    return 1;
}

int allocateMeshes(SceneDoc& doc, std::int32_t n) {
    if (!allocateOrEmpty(doc.meshes, n)) {
        return 0;
    }
    for (std::size_t i = 0; i < doc.meshes.size(); ++i) {
        nameWide(doc.meshes[i].name, "YFXMesh%d", static_cast<int>(i));
    }
    return 1;
}

int allocateBones(SceneDoc& doc, std::int32_t n) {
    return allocateAtLeastOne(doc.bones, n);
}

int allocateAnimations(SceneDoc& doc, std::int32_t n) {
    if (!allocateAtLeastOne(doc.animations, n)) {
        return 0;
    }
    for (DocAnimation& animation : doc.animations) {
        animation.name.setAnsi("DefaultAnim");
    }
    return 1;
}

int allocateSurfaces(SceneDoc& doc, std::int32_t n) {
    return allocateAtLeastOne(doc.surfaces, n);
}

int allocateGroupBuilds(SceneDoc& doc, std::int32_t n) {
    return allocateAtLeastOne(doc.group_builds, n);
}

int allocateSurfaces(DocMesh& mesh, std::int32_t n) {
    return allocateAtLeastOne(mesh.surfaces, n);
}

int allocatePolygons(DocMesh& mesh, std::int32_t n) {
    return allocateAtLeastOne(mesh.polygons, n);
}

int reservePolygons(DocMesh& mesh, std::int32_t n) {
    std::vector<DocPolygon>().swap(mesh.polygons);
    if (n < 1) {
        return 0;
    }
    try {
        mesh.polygons.reserve(static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }
    return 1;
}

int allocateMeshVertices(DocMesh& mesh, std::int32_t n) {
    return allocateAtLeastOne(mesh.vertices, n);
}

int allocateMeshColours(DocMesh& mesh, std::int32_t n) {
    return allocateAtLeastOne(mesh.colours, n);
}

int preparePolygon(DocPolygon& polygon, std::int32_t n) {
    if (!polygon.corners.empty()) {
        return 0;
    }
    const std::int32_t count = n < 3 ? 3 : n;
    try {
        polygon.corners.assign(static_cast<DocCornerList::size_type>(count), DocCorner{});
    } catch (const std::bad_alloc&) {
        polygon.corners.release();
        return 0;
    }
    polygon.uv_layer_count = kPolygonUVLayers;
    return 1;
}

int allocateMeshUVSets(DocMesh& mesh, std::int32_t n, std::int32_t m) {
    if (n != 1 && n != 2) {
        return 0;
    }
    if (!resizeFresh(mesh.uvsets, n)) {
        return 0;
    }
    nameUVSets(mesh.uvsets, 0);
    if (m >= 1) {
        for (DocUVSet& set : mesh.uvsets) {
            if (!allocateUVs(set, m)) {
                std::vector<DocUVSet>().swap(mesh.uvsets);
                return 0;
            }
        }
    }
    return 1;
}

int allocateMeshUVs(DocMesh& mesh, std::int32_t k, std::int32_t m) {
    if (m < 1 || (k != 0 && k != 1)) {
        return 0;
    }
    if (mesh.uvsets.empty()) {
        if (!allocateMeshUVSets(mesh, 2, 0)) {
            return 0;
        }
    }
    if (static_cast<std::size_t>(k) >= mesh.uvsets.size()) {
        return 0;
    }
    DocUVSet& set = mesh.uvsets[static_cast<std::size_t>(k)];
    std::vector<DocFaceLink>().swap(set.links);
    return resizeFresh(set.uvs, m);
}

int allocateUVs(DocUVSet& set, std::int32_t m) {
    return allocateAtLeastOne(set.uvs, m);
}

int allocateUVLinks(DocUVSet& set, std::int32_t m) {
    return allocateAtLeastOne(set.links, m);
}

int allocateWeights(DocVertex& vertex, std::int32_t n) {
    if (n < 1) {
        return 0;
    }
    vertex.weights.release();
    try {
        vertex.weights.assign(static_cast<DocWeightList::size_type>(n), DocWeight{});
    } catch (const std::bad_alloc&) {
        vertex.weights.release();
        return 0;
    }
    return 1;
}

int allocateGroupMembers(DocGroup& group, std::int32_t n) {
    return allocateAtLeastOne(group.members, n);
}

int allocateTracks(DocAnimation& animation, std::int32_t n) {
    return allocateAtLeastOne(animation.tracks, n);
}

int allocatePositionKeys(DocTrack& track, std::int32_t n) {
    return allocateAtLeastOne(track.position_keys, n);
}

int allocateRotationKeys(DocTrack& track, std::int32_t n) {
    return allocateAtLeastOne(track.rotation_keys, n);
}

int allocateScaleKeys(DocTrack& track, std::int32_t n) {
    return allocateAtLeastOne(track.scale_keys, n);
}

int allocateMapSlots(DocMaterial& material, std::int32_t n) {
    return allocateAtLeastOne(material.maps, n);
}

int allocateMapLayers(DocMap& map, std::int32_t n) {
    if (n < 0) {
        return 0;
    }
    return resizeFresh(map.layers, n);
}

} // namespace yfx
