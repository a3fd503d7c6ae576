#include "model/writer_materials.h"

#include <assimp/material.h>

#include <dzdefaultmaterial.h>
#include <dzenumproperty.h>
#include <dztexture.h>

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtGui/QColor>

namespace yfx {
namespace model {

namespace {

void addTexture(aiMaterial& out, aiTextureType type, const DzTexture* texture, int uvSet,
                const QString& folder) {
    if (texture == nullptr) {
        return;
    }
    const QString file = texture->getFilename();
    const QString relative = QDir(folder).relativeFilePath(file);
    const QString path = relative.startsWith(QLatin1String("..")) ? file : relative;
    const aiString name(path.toUtf8().toStdString());
    out.AddProperty(&name, _AI_MATKEY_TEXTURE_BASE, type, 0);
    out.AddProperty(&uvSet, 1, _AI_MATKEY_UVWSRC_BASE, type, 0);
}

} // namespace

aiMaterial* makeAiMaterial(const DzMaterial& material, const QString& folder, ModelNotes& notes) {
    auto* out = new aiMaterial();
    const aiString name(material.getName().toUtf8().toStdString());
    out->AddProperty(&name, AI_MATKEY_NAME);
    const QColor c = material.getDiffuseColor();
    const aiColor4D diffuse(float(c.redF()), float(c.greenF()), float(c.blueF()), 1.0f);
    out->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    out->AddProperty(&diffuse, 1, AI_MATKEY_BASE_COLOR);
    const float opacity = float(material.getBaseOpacity());
    out->AddProperty(&opacity, 1, AI_MATKEY_OPACITY);
    const int uvSet =
        material.getUVSetControl() != nullptr ? material.getUVSetControl()->getValue() : 0;
    addTexture(*out, aiTextureType_DIFFUSE, material.getColorMap(), uvSet, folder);
    addTexture(*out, aiTextureType_OPACITY, material.getOpacityMap(), uvSet, folder);
    if (const auto* d = qobject_cast<const DzDefaultMaterial*>(&material)) {
        addTexture(*out, aiTextureType_HEIGHT, d->getBumpMap(), uvSet, folder);
        addTexture(*out, aiTextureType_NORMALS, d->getNormalValueMap(), uvSet, folder);
        const DzTexture* specular = d->getSpecularColorMap() != nullptr ? d->getSpecularColorMap()
                                                                        : d->getSpecularValueMap();
        addTexture(*out, aiTextureType_SPECULAR, specular, uvSet, folder);
    } else {
        notes.drop(format("material '%s' (%s): only its colour, opacity and their maps (the "
                          "writer reads the default material class in full)",
                          name.C_Str(), material.metaObject()->className()));
    }
    return out;
}

aiMaterial* defaultAiMaterial() {
    auto* out = new aiMaterial();
    const aiString name("DefaultMaterial");
    out->AddProperty(&name, AI_MATKEY_NAME);
    return out;
}

} // namespace model
} // namespace yfx
