// The test figure, written as glTF 2 by the tests themselves (JSON and a
// binary buffer built here, not by Assimp's writer), with what a conversion
// should make of it.
//
// In metres, Y up: a root node "Armature" moved 0.1 along x, holding the
// skeleton hip -> spine -> {head, arm} (arm turned -90 degrees about z at
// bind); a skinned strip "Body" of ten vertices and eight triangles in two
// primitives ("Skin", "Cloth"), one to three weights per vertex (one weight
// of 0.00005), two UV channels; a prop "Box" (a pyramid, unskinned) placed at
// (1, 0, 0) and turned 90 degrees about y, whose material maps UV channel 1;
// a point light "Lamp" at (0, 3, 0). Materials: "Skin" (colour and normal
// textures), "Cloth" (a colour factor, an embedded colour texture and an
// occlusion texture the host has no channel for), "Crate" (colour texture on
// UV channel 1). One animation of 1 s: the hip moves from z = 0.2 to 0.5, the
// spine turns about z through 10, 30 and 0 degrees at 0, 0.5 and 1 s; so
// frame 0 is not the bind pose.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace modeltest {

using Vec3 = std::array<double, 3>;
// Column-vector affine transform: rotation rows r[0..2], translation t.
struct Affine {
    double r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vec3 t = {0, 0, 0};
};
Affine operator*(const Affine& a, const Affine& b);
Vec3 operator*(const Affine& a, const Vec3& p);
Affine inverseRigid(const Affine& a);

constexpr int kJointCount = 4; // hip, spine, head, arm
extern const char* const kJointNames[kJointCount];
extern const int kJointParents[kJointCount]; // -1: Armature

struct FigureVertex {
    Vec3 position;                  // bind pose, metres
    std::array<double, 2> uv0, uv1; // as the glTF buffer holds them
    std::array<double, kJointCount> weights;
};
const std::vector<FigureVertex>& bodyVertices();
// Triangles of the body by vertex; the first four use "Skin", the rest "Cloth".
const std::vector<std::array<int, 3>>& bodyTriangles();

const std::vector<FigureVertex>& boxVertices(); // weights unused
const std::vector<std::array<int, 3>>& boxTriangles();
Affine boxPlacement();

// The joints' world transforms at a time (seconds), and at bind.
std::array<Affine, kJointCount> jointWorlds(double seconds);
std::array<Affine, kJointCount> jointBinds();

// A vertex of the body where the model's skinning puts it at a time, metres.
Vec3 skinnedPosition(const FigureVertex& v, double seconds);

constexpr double kAnimationSeconds = 1.0;

// Writes figure.gltf, figure.bin and the texture files skin.png,
// skin_normal.png, cloth_ao.png and crate.png into `folder`; the Cloth
// colour texture is embedded in the buffer. Returns the .gltf path.
std::string writeFigureGltf(const std::string& folder);

} // namespace modeltest
