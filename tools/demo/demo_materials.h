// The demo scene's textures (small one-colour TGA files) and materials.
#pragma once

#include "tools/demo/demo_skeleton.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <vector>

class DzMaterial;
class DzTexture;

namespace yfx_demo {

enum DemoTexture {
    kSkinColor,
    kSkinOpacity,
    kTorsoBump,
    kTorsoSpecular,
    kHeadColor,
    kArmsNormal,
    kHandsTranslucency,
    kLegsColor,
    kLegsGlossy,
    kFeetCutout, // 512 x 256
    kCrateColor,
    kDemoTextureCount
};

// Writes every texture into `folder` (made when missing) and loads it through
// the application's image manager. False with `error` set when a file cannot
// be written or read back; `files` lists the files written so far.
bool writeDemoTextures(const QString& folder, std::vector<DzTexture*>& textures, QStringList& files,
                       QString& error);

// The body's materials in BodySurface order (new, unreferenced).
std::vector<DzMaterial*> makeBodyMaterials(const std::vector<DzTexture*>& textures);

// The crate's material, default class, with a colour texture. Its UV set
// control lists the UV sets of the first shape that takes it, so the caller
// selects UV set 1 after adding it to the crate's shape.
DzMaterial* makeCrateMaterial(const std::vector<DzTexture*>& textures);
DzMaterial* makeLidMaterial();

} // namespace yfx_demo
