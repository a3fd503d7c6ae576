#include "format/loaded_document_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <unordered_set>
#include <vector>

#include "format/reader_version_map.h"
#include "normalise/bone_transforms.h"
#include "normalise/index_checks.h"
#include "util/matrix_math.h"

namespace yfx {

namespace {

using normalise::indexIn;

// Rounding unit of a float; the tolerances below are a few units per
// operation that a recomputation may round differently.
constexpr float kRoundoff = 1.0f / 16777216.0f;

std::string at(const char* kind, std::size_t index) {
    return std::string(kind) + " " + std::to_string(index);
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

bool terminated(const NamePair& name) {
    return std::wmemchr(name.wide, 0, kNameCapacity) != nullptr &&
           std::memchr(name.ansi, 0, kNameCapacity) != nullptr;
}

bool terminated(const WideName& name) {
    return std::wmemchr(name.text, 0, kNameCapacity) != nullptr;
}

// Equal, or both NaN, or finite and apart by no more than rounding.
bool sameValue(float a, float b) {
    if (a == b) {
        return true;
    }
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    if (std::isinf(a) || std::isinf(b)) {
        return false;
    }
    return std::fabs(a - b) <= 4 * kRoundoff * std::max(std::fabs(a), std::fabs(b));
}

// Index of the first element that differs, or -1.
int firstDifference(const float* stored, const float* expected, int count) {
    for (int k = 0; k < count; ++k) {
        if (!sameValue(stored[k], expected[k])) {
            return k;
        }
    }
    return -1;
}

// 1. Version and the records a load never fills.
std::string checkVersionAndWorkRecords(const SceneDoc& doc) {
    if (doc.version < kFirstReadableVersion || doc.version > kChunkedVersion) {
        return "version: " + std::to_string(doc.version) + " is not a readable version";
    }
    if (!doc.surfaces.empty() || !doc.group_builds.empty()) {
        return "work records: the document holds surfaces or group builds";
    }
    for (std::size_t i = 0; i < doc.meshes.size(); ++i) {
        const DocMesh& m = doc.meshes[i];
        if (m.host_node != nullptr || !m.surfaces.empty() || !m.colours.empty() ||
            !m.uvsets.empty() || !m.vertices.empty()) {
            return "mesh fields: " + at("mesh", i) + ": holds a host node or exporter-side lists";
        }
    }
    for (std::size_t i = 0; i < doc.bones.size(); ++i) {
        const DocBone& b = doc.bones[i];
        if (b.host_node != nullptr || b.mesh != -1) {
            return "bone fields: " + at("bone", i) + ": holds a host node or names mesh " +
                   std::to_string(b.mesh);
        }
    }
    return {};
}

// 2. Names and paths end within their buffers.
template <typename Record>
std::string unterminatedName(const std::vector<Record>& records, const char* kind) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!terminated(records[i].name)) {
            return "names: " + at(kind, i) + ": the name does not end within its buffer";
        }
    }
    return {};
}

std::string unterminatedMapPath(const DocMaterial& material, std::size_t m) {
    for (std::size_t k = 0; k < material.maps.size(); ++k) {
        const DocMap* map = material.maps[k].get();
        if (map == nullptr) {
            continue; // reported with the maps
        }
        bool ok = terminated(map->path);
        for (const NamePair& path : map->more_paths) {
            ok = ok && terminated(path);
        }
        for (const DocMapLayer& layer : map->layers) {
            ok = ok && terminated(layer.path);
        }
        if (!ok) {
            return "names: " + at("material", m) + ", " + at("map", k) +
                   ": a path does not end within its buffer";
        }
    }
    return {};
}

std::string checkNames(const SceneDoc& doc) {
    std::string broken;
    if (!(broken = unterminatedName(doc.lights, "light")).empty() ||
        !(broken = unterminatedName(doc.cameras, "camera")).empty() ||
        !(broken = unterminatedName(doc.materials, "material")).empty() ||
        !(broken = unterminatedName(doc.groups, "group")).empty() ||
        !(broken = unterminatedName(doc.uvsets, "uv set")).empty() ||
        !(broken = unterminatedName(doc.meshes, "mesh")).empty() ||
        !(broken = unterminatedName(doc.bones, "bone")).empty() ||
        !(broken = unterminatedName(doc.animations, "animation")).empty()) {
        return broken;
    }
    for (std::size_t m = 0; m < doc.materials.size(); ++m) {
        if (!(broken = unterminatedMapPath(doc.materials[m], m)).empty()) {
            return broken;
        }
    }
    return {};
}

// 3. The default records of a file without them.
std::string checkDefaults(const SceneDoc& doc) {
    if (doc.groups.empty()) {
        return "defaults: the document has no group";
    }
    if (doc.uvsets.empty()) {
        return "defaults: the document has no uv set";
    }
    return {};
}

// 4 to 7. Polygons: corner counts, vertex indices, repeated corners, marks.
std::string checkPolygons(const SceneDoc& doc) {
    const std::size_t pool = doc.vertices.size();
    const bool oneMesh = doc.meshes.size() == 1;
    for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
        const std::vector<DocPolygon>& polygons = doc.meshes[m].polygons;
        for (std::size_t p = 0; p < polygons.size(); ++p) {
            const DocPolygon& polygon = polygons[p];
            const auto where = [&] { return at("mesh", m) + ", " + at("polygon", p); };
            const std::uint32_t n = polygon.corners.size();
            if (n < 3 || n > 4) {
                return "polygon corners: " + where() + ": " + std::to_string(n) + " corners";
            }
            for (std::uint32_t c = 0; c < n; ++c) {
                const std::int32_t v = polygon.corners[c].vertex;
                if (!indexIn(v, pool)) {
                    return "corner vertex: " + where() + ", " + at("corner", c) + ": vertex " +
                           std::to_string(v) + " outside the pool of " + std::to_string(pool);
                }
            }
            for (std::uint32_t c = 0; oneMesh && c < n; ++c) {
                for (std::uint32_t d = c + 1; d < n; ++d) {
                    if (polygon.corners[c].vertex == polygon.corners[d].vertex) {
                        return "repeated corner: " + where() + ": corners " + std::to_string(c) +
                               " and " + std::to_string(d) + " name vertex " +
                               std::to_string(polygon.corners[c].vertex);
                    }
                }
            }
            if ((polygon.polygon_word & kPolygonRepeatedCornerMark) != 0) {
                return "scratch marks: " + where() + ": carries the repeated-corner mark";
            }
        }
    }
    for (std::size_t i = 0; i < pool; ++i) {
        if ((doc.vertices[i].vertex_word & kVertexUnusedMark) != 0) {
            return "scratch marks: " + at("vertex", i) + ": carries the unused mark";
        }
    }
    return {};
}

// 8. Group values, material face counts and bone weight references.
std::string checkUseCounts(const SceneDoc& doc) {
    std::vector<std::int64_t> groupUse(doc.groups.size(), 0);
    std::vector<std::int64_t> materialUse(doc.materials.size(), 0);
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            if (indexIn(polygon.group, groupUse.size())) {
                ++groupUse[static_cast<std::size_t>(polygon.group)];
            }
            if (indexIn(polygon.material, materialUse.size())) {
                ++materialUse[static_cast<std::size_t>(polygon.material)];
            }
        }
    }
    for (std::size_t g = 0; g < groupUse.size(); ++g) {
        if (doc.groups[g].group_value != groupUse[g]) {
            return "use counts: " + at("group", g) + ": group value " +
                   std::to_string(doc.groups[g].group_value) + ", " + std::to_string(groupUse[g]) +
                   " polygons name it";
        }
    }
    for (std::size_t m = 0; m < materialUse.size(); ++m) {
        if (doc.materials[m].face_count != materialUse[m]) {
            return "use counts: " + at("material", m) + ": face count " +
                   std::to_string(doc.materials[m].face_count) + ", " +
                   std::to_string(materialUse[m]) + " polygons name it";
        }
    }
    std::vector<std::int64_t> boneUse(doc.bones.size(), 0);
    for (const DocVertex& vertex : doc.vertices) {
        for (const DocWeight& weight : vertex.weights) {
            if (indexIn(weight.bone, boneUse.size())) {
                ++boneUse[static_cast<std::size_t>(weight.bone)];
            }
        }
    }
    for (std::size_t b = 0; b < boneUse.size(); ++b) {
        if (doc.bones[b].weight_references != boneUse[b]) {
            return "use counts: " + at("bone", b) + ": weight references " +
                   std::to_string(doc.bones[b].weight_references) + ", " +
                   std::to_string(boneUse[b]) + " weights name it";
        }
    }
    return {};
}

// 9. Member lists, rebuilt from the mesh of each group's index with one
// tally per material whose touched entries are reset between meshes.
std::string checkGroupMembers(const SceneDoc& doc) {
    const std::size_t materials = doc.materials.size();
    std::vector<std::int32_t> tally(materials, 0);
    std::vector<std::int32_t> touched;
    for (std::size_t g = 0; g < doc.groups.size(); ++g) {
        touched.clear();
        if (g < doc.meshes.size() && materials > 0) {
            for (const DocPolygon& polygon : doc.meshes[g].polygons) {
                if (indexIn(polygon.material, materials)) {
                    if (tally[static_cast<std::size_t>(polygon.material)]++ == 0) {
                        touched.push_back(polygon.material);
                    }
                }
            }
            std::sort(touched.begin(), touched.end());
        }
        const std::vector<DocGroupMember>& members = doc.groups[g].members;
        std::string broken;
        if (members.size() != touched.size()) {
            const std::string source = g >= doc.meshes.size() ? "no mesh has its index"
                                       : materials == 0
                                           ? "the document has no materials"
                                           : "mesh " + std::to_string(g) + " names " +
                                                 std::to_string(touched.size()) + " materials";
            broken = "group members: " + at("group", g) + ": " + std::to_string(members.size()) +
                     " members, " + source;
        }
        for (std::size_t k = 0; broken.empty() && k < members.size(); ++k) {
            const std::int32_t material = touched[k];
            const std::int32_t count = tally[static_cast<std::size_t>(material)];
            if (members[k].material != material || members[k].polygon_count != count) {
                broken = "group members: " + at("group", g) + ", " + at("member", k) +
                         ": material " + std::to_string(members[k].material) + " with " +
                         std::to_string(members[k].polygon_count) + " polygons, expected " +
                         std::to_string(material) + " with " + std::to_string(count);
            }
        }
        for (std::int32_t material : touched) {
            tally[static_cast<std::size_t>(material)] = 0;
        }
        if (!broken.empty()) {
            return broken;
        }
    }
    return {};
}

// 10. Weights as normalisation leaves them.
std::string checkWeights(const SceneDoc& doc) {
    for (std::size_t i = 0; i < doc.vertices.size(); ++i) {
        const DocWeightList& weights = doc.vertices[i].weights;
        bool finite = true;
        for (const DocWeight& w : weights) {
            finite = finite && std::isfinite(w.weight);
        }
        if (weights.empty() || !finite) {
            continue;
        }
        float sum = 0.0f;
        float magnitude = 0.0f;
        for (std::uint32_t k = 0; k < weights.size(); ++k) {
            const DocWeight& w = weights[k];
            if (w.bone < 0 && w.weight != 0.0f) {
                return "weights: " + at("vertex", i) + ", " + at("entry", k) + ": bone " +
                       std::to_string(w.bone) + " weighs " + number(w.weight);
            }
            sum += w.weight;
            magnitude += std::fabs(w.weight);
        }
        // Scaling to 1 rounds once per weight and the sum once per entry,
        // relative to the weights' magnitudes.
        const float tolerance =
            4.0f * kRoundoff * float(weights.size() + 1) * std::max(1.0f, magnitude);
        if (sum != 0.0f && !(std::fabs(sum - 1.0f) <= tolerance)) {
            return "weights: " + at("vertex", i) + ": the weights sum to " + number(sum);
        }
    }
    return {};
}

// 11. Bone transforms, recomputed in the order pass 5 computes them.
std::string checkBones(const SceneDoc& doc) {
    const std::vector<DocBone>& bones = doc.bones;
    const std::size_t count = bones.size();
    std::vector<float> worlds(16 * count);
    std::vector<std::int64_t> lastChild(count, -1);
    for (std::size_t i = 0; i < count; ++i) {
        setIdentity4x4(&worlds[16 * i]);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const DocBone& bone = bones[i];
        float local[16];
        normalise::composeBoneLocal(bone.position, bone.rotation, bone.scale, local);
        float* world = &worlds[16 * i];
        if (bone.parent < 0) {
            std::memcpy(world, local, sizeof local);
        } else if (indexIn(bone.parent, count) && static_cast<std::size_t>(bone.parent) != i) {
            float composed[16];
            composeAffine(&worlds[16 * static_cast<std::size_t>(bone.parent)], local, composed);
            std::memcpy(world, composed, sizeof composed);
        }
        float inverse[16];
        invert4x4(world, inverse);
        struct Matrix {
            const char* name;
            const float* stored;
            const float* expected;
        };
        const Matrix matrices[] = {{"local", bone.local_matrix, local},
                                   {"world", bone.world_matrix, world},
                                   {"inverse world", bone.inverse_world_matrix, inverse}};
        for (const Matrix& m : matrices) {
            const int k = firstDifference(m.stored, m.expected, 16);
            if (k >= 0) {
                return "bone transforms: " + at("bone", i) + ": " + m.name + " matrix element " +
                       std::to_string(k) + " is " + number(m.stored[k]) + ", expected " +
                       number(m.expected[k]);
            }
        }
        if (indexIn(bone.parent, count)) {
            lastChild[static_cast<std::size_t>(bone.parent)] = static_cast<std::int64_t>(i);
        }
    }
    const auto translation = [&](std::size_t i, int axis) { return worlds[16 * i + 4 * axis + 3]; };
    for (std::size_t i = 0; i < count; ++i) {
        const DocBone& bone = bones[i];
        const std::size_t tailFrom = lastChild[i] >= 0 ? static_cast<std::size_t>(lastChild[i]) : i;
        float head[3];
        float tail[3];
        for (int a = 0; a < 3; ++a) {
            head[a] = translation(i, a);
            tail[a] = translation(tailFrom, a);
        }
        float length = 0.0f;
        if (indexIn(bone.parent, count)) {
            const std::size_t p = static_cast<std::size_t>(bone.parent);
            const float dx = head[0] - translation(p, 0);
            const float dy = head[1] - translation(p, 1);
            const float dz = head[2] - translation(p, 2);
            length = std::sqrt(dx * dx + dy * dy + dz * dz);
        }
        if (firstDifference(bone.head, head, 3) >= 0) {
            return "bone transforms: " + at("bone", i) + ": the head is not the world translation";
        }
        if (firstDifference(bone.tail, tail, 3) >= 0) {
            return "bone transforms: " + at("bone", i) + ": the tail is not the head of " +
                   (tailFrom == i ? std::string("the bone itself") : at("bone", tailFrom));
        }
        if (!sameValue(bone.length_to_parent, length)) {
            return "bone transforms: " + at("bone", i) + ": length to parent " +
                   number(bone.length_to_parent) + ", expected " + number(length);
        }
    }
    return {};
}

// 12. Track counts and rotation key continuity.
std::string checkAnimations(const SceneDoc& doc) {
    for (std::size_t a = 0; a < doc.animations.size(); ++a) {
        const std::vector<DocTrack>& tracks = doc.animations[a].tracks;
        if (tracks.size() > doc.bones.size()) {
            return "tracks: " + at("animation", a) + ": " + std::to_string(tracks.size()) +
                   " tracks for " + std::to_string(doc.bones.size()) + " bones";
        }
        for (std::size_t t = 0; t < tracks.size(); ++t) {
            const std::vector<DocRotationKey>& keys = tracks[t].rotation_keys;
            for (std::size_t i = 1; i < keys.size(); ++i) {
                const float* p = keys[i - 1].value;
                const float* q = keys[i].value;
                const float dot = p[0] * q[0] + p[1] * q[1] + p[2] * q[2] + p[3] * q[3];
                const float scale = std::fabs(p[0] * q[0]) + std::fabs(p[1] * q[1]) +
                                    std::fabs(p[2] * q[2]) + std::fabs(p[3] * q[3]);
                if (dot < -8.0f * kRoundoff * scale) {
                    return "rotation keys: " + at("animation", a) + ", " + at("track", t) + ", " +
                           at("key", i) + ": opposite the key before it (dot " + number(dot) + ")";
                }
            }
        }
    }
    return {};
}

// 13. Map slots, channels and layers.
std::string checkMaps(const SceneDoc& doc) {
    std::vector<std::int32_t> channels;
    for (std::size_t m = 0; m < doc.materials.size(); ++m) {
        const std::vector<std::unique_ptr<DocMap>>& maps = doc.materials[m].maps;
        channels.clear();
        for (std::size_t k = 0; k < maps.size(); ++k) {
            const auto where = [&] { return at("material", m) + ", " + at("map", k); };
            const DocMap* map = maps[k].get();
            if (map == nullptr) {
                return "maps: " + where() + ": the slot holds no map";
            }
            const bool layered = map->map_type == 4;
            if (layered && map->layers.empty()) {
                return "maps: " + where() + ": a layered map without layers";
            }
            if (!layered && !map->layers.empty()) {
                return "maps: " + where() + ": a map of type " + std::to_string(map->map_type) +
                       " holds " + std::to_string(map->layers.size()) + " layers";
            }
            channels.push_back(map->channel);
        }
        std::sort(channels.begin(), channels.end());
        if (std::adjacent_find(channels.begin(), channels.end()) == channels.end()) {
            continue;
        }
        // Named by the first slot whose channel an earlier slot took.
        std::unordered_set<std::int32_t> seen;
        for (std::size_t k = 0; k < maps.size(); ++k) {
            if (!seen.insert(maps[k]->channel).second) {
                return "maps: " + at("material", m) + ", " + at("map", k) + ": channel " +
                       std::to_string(maps[k]->channel) + " already has a map";
            }
        }
    }
    return {};
}

// 14. Per-corner UV arrays of files before version 30.
std::string checkLegacyUVs(const SceneDoc& doc) {
    if (hasUVSections(doc.version)) {
        return {};
    }
    const std::size_t expected =
        doc.legacy_uv_count > 0 ? static_cast<std::size_t>(doc.legacy_uv_count) : 0;
    for (std::size_t s = 0; s < doc.uvsets.size(); ++s) {
        if (doc.uvsets[s].uvs.size() != expected) {
            return "legacy uvs: " + at("uv set", s) + ": " +
                   std::to_string(doc.uvsets[s].uvs.size()) + " UVs for " +
                   std::to_string(expected) + " polygon corners";
        }
    }
    return {};
}

} // namespace

std::string checkLoadedDocument(const SceneDoc& doc) {
    std::string (*const checks[])(const SceneDoc&) = {
        checkVersionAndWorkRecords,
        checkNames,
        checkDefaults,
        checkPolygons,
        checkUseCounts,
        checkGroupMembers,
        checkWeights,
        checkBones,
        checkAnimations,
        checkMaps,
        checkLegacyUVs,
    };
    for (auto check : checks) {
        std::string broken = check(doc);
        if (!broken.empty()) {
            return broken;
        }
    }
    return {};
}

} // namespace yfx
