#include "tools/yfx/import_leftovers.h"

#include "document/scene_doc.h"

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
    for (std::size_t a = 1; a < doc.animations.size(); ++a) {
        notes.drop(model::format("animation '%s': the importer keys the first animation only",
                                 doc.animations[a].name.ansi));
    }
}

} // namespace yfx
