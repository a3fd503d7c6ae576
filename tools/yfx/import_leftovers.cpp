#include "tools/yfx/import_leftovers.h"

#include "document/scene_doc.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace yfx {

namespace {

const char* channelName(std::int32_t channel) {
    static const char* const names[] = {"colour",   "opacity",      "bump",
                                        "specular", "translucency", "normal"};
    return channel >= 0 && channel < 6 ? names[channel] : "other";
}

bool usesSecondUVLayer(const SceneDoc& doc) {
    if (doc.uvsets.size() < 2 || doc.uvsets[1].uvs.empty()) {
        return false;
    }
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            for (const DocCorner& corner : polygon.corners) {
                if (corner.uv[1].index >= 0) {
                    return true;
                }
            }
        }
    }
    return false;
}

bool nonUniform(const float s[3]) {
    const float largest = std::max({std::fabs(s[0]), std::fabs(s[1]), std::fabs(s[2])});
    const float smallest = std::min({std::fabs(s[0]), std::fabs(s[1]), std::fabs(s[2])});
    return largest - smallest > 1e-4f * largest;
}

// Per bone: it or a bone above it has a non-uniform scale at rest. Parents
// may come after their children and may form cycles (a cycle counts as
// uniform); each bone is settled once.
std::vector<char> scaledUnevenly(const SceneDoc& doc) {
    const std::size_t n = doc.bones.size();
    std::vector<signed char> state(n, -1); // -1 unknown, 0 no, 1 yes, 2 on the current walk
    std::vector<std::size_t> walk;
    for (std::size_t b = 0; b < n; ++b) {
        std::size_t at = b;
        signed char above = 0;
        while (state[at] == -1) {
            state[at] = 2;
            walk.push_back(at);
            const std::int32_t p = doc.bones[at].parent;
            if (p < 0 || std::size_t(p) >= n) {
                break;
            }
            at = std::size_t(p);
        }
        if (state[at] == 0 || state[at] == 1) {
            above = state[at];
        }
        // Settle the walk from the top down.
        for (auto it = walk.rbegin(); it != walk.rend(); ++it) {
            above = above == 1 || nonUniform(doc.bones[*it].scale) ? 1 : 0;
            state[*it] = above;
        }
        walk.clear();
    }
    return std::vector<char>(state.begin(), state.end());
}

bool turns(const DocTrack& track) {
    for (const DocRotationKey& k : track.rotation_keys) {
        if (std::fabs(k.value[0]) + std::fabs(k.value[1]) + std::fabs(k.value[2]) > 1e-5f) {
            return true;
        }
    }
    return false;
}

// Bones that turn below a non-uniformly scaled bone: the importer's bones
// carry no scale at rest, so such a turn is built without its shear.
void noteShearedTurns(const SceneDoc& doc, model::ModelNotes& notes) {
    if (doc.animations.empty() || doc.animations[0].tracks.size() != doc.bones.size()) {
        return;
    }
    const std::vector<char> uneven = scaledUnevenly(doc);
    for (std::size_t b = 0; b < doc.bones.size(); ++b) {
        const std::int32_t p = doc.bones[b].parent;
        if (p >= 0 && std::size_t(p) < doc.bones.size() && uneven[std::size_t(p)] &&
            turns(doc.animations[0].tracks[b])) {
            notes.dropFor("the shear of the turns", doc.bones[b].name.ansi,
                          "the importer's bones carry no scale at rest, so a bone turning below "
                          "a non-uniformly scaled one turns rigidly");
        }
    }
}

} // namespace

void noteImportLeftovers(const SceneDoc& doc, bool joints, bool animation,
                         model::ModelNotes& notes) {
    if (!doc.cameras.empty()) {
        notes.drop(model::format("%zu cameras: the importer makes none", doc.cameras.size()));
    }
    if (usesSecondUVLayer(doc)) {
        notes.drop("UV set 1: the importer builds the first UV set only");
    }
    for (const DocMaterial& m : doc.materials) {
        for (const auto& map : m.maps) {
            if (map && (map->channel < 0 || map->channel > 3)) {
                notes.drop(model::format("material '%s': its %s map: the importer builds the "
                                         "colour, opacity, bump/normal and specular maps",
                                         m.name.ansi, channelName(map->channel)));
            }
        }
    }
    bool coloured = false;
    for (const DocVertex& v : doc.vertices) {
        coloured = coloured || v.colour[0] != 1 || v.colour[1] != 1 || v.colour[2] != 1;
    }
    if (coloured) {
        notes.drop("vertex colours: the importer builds none");
    }
    if (!joints || !animation) {
        return;
    }
    noteShearedTurns(doc, notes);
    for (std::size_t a = 1; a < doc.animations.size(); ++a) {
        notes.drop(model::format("animation '%s': the importer keys the first animation only",
                                 doc.animations[a].name.ansi));
    }
}

} // namespace yfx
