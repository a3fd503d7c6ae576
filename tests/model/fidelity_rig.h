// Small rigs written as glTF for the round-trip fidelity tests: a column of
// vertices skinned to a chain of joints under an optional "Armature" node,
// with chosen weight storage and animation samplers; and props made of boxes
// in a node tree. Frame 0 of every animation is the rest pose.
#pragma once

#include "gltf_build.h"
#include "gltf_figure.h"

#include <array>
#include <string>
#include <vector>

namespace modeltest {

struct Trs {
    Vec3 t = {0, 0, 0};
    std::array<double, 4> r = {0, 0, 0, 1}; // x, y, z, w
    Vec3 s = {1, 1, 1};
};

// A rotation of `degrees` about an axis (normalised here).
std::array<double, 4> turn(double degrees, Vec3 axis);

struct Channel {
    int joint = 0;              // index into Rig::joints
    std::string path;           // "translation", "rotation" or "scale"
    std::string interpolation;  // "LINEAR", "STEP" or "CUBICSPLINE"
    std::vector<double> times;  // seconds
    std::vector<double> values; // per key; for CUBICSPLINE in-tangent, value, out-tangent
};

struct Rig {
    bool armature = true; // the joints and the mesh node under one "Armature"
    Trs armatureRest;
    std::vector<Trs> joints;       // a chain: joint j is the child of joint j - 1
    bool meshUnderArmature = true; // else the mesh node is a root of the scene
    int weightType = kGltfFloat;   // or kGltfUnsignedByte / kGltfUnsignedShort (normalised)
    std::vector<Channel> channels;
};

// Writes the rig; returns the model's path.
std::string writeRig(const Rig& rig, const std::string& folder, const std::string& name,
                     bool glb = false);

// A prop tree: box i sits under box parent[i] (-1: a root) at `place[i]`.
struct Props {
    std::vector<int> parent;
    std::vector<Trs> place;
};
std::string writeProps(const Props& props, const std::string& folder, const std::string& name);

} // namespace modeltest
