// A model read by Assimp, made into the host scene (dzScene, which must exist
// and should be empty) as the host would hold it: the node hierarchy, meshes,
// materials and textures, figures with bones and skin, lights, cameras and
// the first animation as keys; in centimetres, Y up. What was applied and
// what was left out is said in the notes.
#pragma once

#include "model/model_notes.h"

#include <QtCore/QString>

#include <string>
#include <vector>

struct aiScene;

namespace yfx {
namespace model {

struct BuildOptions {
    QString modelPath;            // the file the scene was read from
    std::string extension;        // its extension, lower case, without the dot
    QString textureFolder;        // where embedded textures are written
    QString textureBase;          // the name those files start with
    double cmPerUnitOverride = 0; // > 0: centimetres per model unit, whatever the format says
};

struct BuiltScene {
    int hostNodes = 0;
    int figures = 0;
    int bones = 0;
    int frames = 0;                    // keyed frames
    int polygons = 0;                  // the model's faces the host meshes keep
    int facets = 0;                    // the triangles and quads they became
    std::vector<QString> textureFiles; // embedded textures written out
};

// False (with `error`) only when there is no host scene to build into or the
// model has no nodes; everything else that cannot be kept is a note.
bool buildHostScene(const aiScene& scene, const BuildOptions& options, BuiltScene& built,
                    ModelNotes& notes, std::string& error);

} // namespace model
} // namespace yfx
