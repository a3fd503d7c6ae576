// Model files on disk through Assimp: which extensions it reads and writes,
// reading one with the conversion's post-processing steps (read_steps.h), and
// writing a scene in the format an extension names.
#pragma once

#include "model/model_notes.h"

#include <QtCore/QString>

#include <string>
#include <vector>

struct aiScene;
namespace Assimp {
class Importer;
}

namespace yfx {
namespace model {

// The extension of a path, lower case, without the dot ("" for none).
std::string extensionOf(const QString& path);

// Every extension Assimp reads, lower case, sorted.
std::vector<std::string> readableExtensions();
bool canRead(const std::string& extension);

// A format a model is written in, and what its Assimp writer keeps.
struct WriteFormat {
    const char* extension;
    const char* exporterId; // Assimp's export format id
    bool lights;
    bool skins; // bones and weights
    bool animation;
    bool uvs;
    bool materials;
    bool trianglesOnly;  // quads are split on the way out
    unsigned maxWeights; // weights per vertex the format holds (0: any)
};
// The formats written, sorted by extension: those of Assimp's writers whose
// files Assimp reads back (FBX as its ASCII form, which it does), without its
// own debugging formats and the X3D writer, which crashes.
const std::vector<WriteFormat>& writableFormats();
const WriteFormat* formatFor(const std::string& extension);

// Reads `path` with `importer`, which owns the scene; null with `error` set
// when Assimp refuses the file.
const aiScene* readModel(Assimp::Importer& importer, const QString& path, std::string& error);

// Says in `notes` what the format of `extension` leaves out of `scene`.
void noteFormatLosses(const aiScene& scene, const WriteFormat& format, ModelNotes& notes);

// Writes `scene` to `path` in the format of its extension. The files go into a
// scratch folder beside `path` first and replace the targets only once all
// are written, so a failed write leaves what was there (a format may write
// more than one file, as glTF's buffer or OBJ's material library). `written`
// lists the files placed.
bool writeModel(const aiScene& scene, const QString& path, std::vector<QString>& written,
                std::string& error);

} // namespace model
} // namespace yfx
