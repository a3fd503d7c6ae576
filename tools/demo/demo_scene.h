// The built-in demo scene: a host scene, built in the stand-in's dzScene, that
// touches everything the exporter reads.
//
// - "Demo Figure", a DzFigure with a skeleton of 20 bones (hip, pelvis,
//   abdomen, chest, neck, head, left/right collar, shoulder, forearm, hand,
//   thigh, shin, foot) with origins, end points, orientations and rotation
//   orders, plus any extra bones as chains of six hanging off the head, the
//   hands and the feet. Its body mesh is one tube per bone (quads along the
//   bone, triangle fans closing both ends) with two UV sets: set 0 lays every
//   material into one UDIM tile (upper body 1001, legs and feet 1002), set 1
//   lays every bone side by side in the unit square. Each vertex has one to
//   four skin weights (bones near its own, summing to 1).
// - Six body surfaces: "Torso" (default material class, colour, opacity,
//   bump and specular textures), "DAZ Studio Default" (default class, the
//   neck and head), "Arms" (Iray Uber, the same colour and opacity textures as
//   Torso, a normal map and no bump map), "Hands" (shader material, opacity
//   1.7, a translucency texture), "Legs" (Iray Uber, a specular texture only
//   on "Glossy Layered Weight"), "Feet" (default class, an opacity texture of
//   512 x 256 and no colour texture).
// - "Crate", a prop without skin whose material selects UV set 1, with a
//   hidden child "Crate Lid"; a point, a spot and a distant light; a camera.
// - Animation keyed on bone rotations and on the figure's position over a
//   play range of frames 0 to `frames` at a time step of 160 ticks.
// - The textures are small TGA files written into the texture folder.
//
// Building is linear in polygons, bones and frames. The same options always
// give the same scene.
#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <vector>

class DzBone;
class DzFigure;
class DzNode;

namespace yfx_demo {

struct DemoSceneOptions {
    // Polygons of the body mesh, about: every bone's tube gets an equal share,
    // and no tube has fewer than 3 sides or 2 rings. At most kMaxPolygons,
    // and at most kMaxPolygonBones divided by the bone count: every bone's
    // weight map holds one weight per vertex, so memory grows with the product.
    std::int64_t polygons = 5000;
    // Bones added beyond the 20 of the base skeleton. At most kMaxExtraBones.
    int extraBones = 0;
    // False: each vertex has 1 to 4 weights, varying from vertex to vertex;
    // true: exactly 4.
    bool fourWeights = false;
    // Play range: frames 0 to `frames` (at least 1, at most kMaxFrames).
    int frames = 30;
    // Where the TGA files are written (created when missing); required.
    QString textureFolder;
};

constexpr std::int64_t kMaxPolygons = 4000000;
constexpr std::int64_t kMaxPolygonBones = 400000000;
constexpr int kMaxExtraBones = 1000;
constexpr int kMaxFrames = 100000;
constexpr int kBaseBoneCount = 20;
constexpr int kTimeStep = 160; // ticks per frame: 30 frames per second

struct DemoScene {
    DzFigure* figure = nullptr;
    DzNode* prop = nullptr;        // "Crate"
    DzNode* hiddenChild = nullptr; // "Crate Lid"
    std::vector<DzBone*> bones;    // hip first, every parent before its children
    int bodyVertices = 0;
    int bodyPolygons = 0;
    QStringList textureFiles; // absolute paths, in the order they were written
};

// Builds the scene into dzScene, which must exist, as must dzApp (its image
// manager loads the textures). Out-of-range options are brought into range.
// Returns false with `error` set, before any node is made, when there is no
// scene, no texture folder, or the folder or a texture file cannot be written
// or loaded.
bool buildDemoScene(const DemoSceneOptions& options, DemoScene& out, QString& error);

} // namespace yfx_demo
