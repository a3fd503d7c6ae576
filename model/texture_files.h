// The image files a model's materials use, as files the host's image manager
// can load: a texture the file names is looked for where it says (relative
// to the model's folder) and, failing that, by its bare name in that folder;
// a texture embedded in the model is written out as a file into the output
// folder, named after the output file, and never over an existing file of
// other content.
#pragma once

#include "model/model_notes.h"

#include <QtCore/QString>

#include <map>
#include <string>

struct aiScene;
class DzTexture;

namespace yfx {
namespace model {

class TextureFiles {
public:
    // `modelPath`: the model file; `outputFolder` and `outputBase`: where
    // embedded textures go and the name they start with.
    TextureFiles(const aiScene& scene, const QString& modelPath, const QString& outputFolder,
                 const QString& outputBase, ModelNotes& notes);

    // The host texture for a material's texture reference (a path, or "*N"
    // for embedded texture N); null, with a note saying why, when there is
    // no file the host can read. Each reference is resolved once.
    DzTexture* textureFor(const std::string& reference, const std::string& material);

    // The files written for embedded textures.
    const std::map<int, QString>& writtenFiles() const { return m_written; }

private:
    int embeddedIndexByName(const std::string& reference) const;
    QString fileFor(const std::string& reference, std::string& why);
    QString writeEmbedded(int index, std::string& why);

    const aiScene& m_scene;
    QString m_modelFolder;
    QString m_outputFolder;
    QString m_outputBase;
    ModelNotes& m_notes;
    std::map<std::string, DzTexture*> m_resolved;
    std::map<int, QString> m_written;
    // The first embedded texture of each short file name (Assimp's own
    // look-up by name scans them all for every reference).
    std::map<std::string, int> m_embedded_by_name;
};

} // namespace model
} // namespace yfx
