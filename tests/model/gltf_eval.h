// A glTF 2 file posed by the format's own rules, independently of Assimp and
// of the conversion: node transforms from their matrix or translation,
// rotation and scale, the first animation's channels sampled with their
// samplers' interpolation (LINEAR with slerp for rotations, STEP,
// CUBICSPLINE), skinned meshes placed by their joints' world transforms and
// inverse bind matrices alone (the skinned node's own transform ignored),
// other meshes by their node's world transform. The file's buffers and
// accessors are read by the model reader's GltfSource (.gltf with its .bin or
// data: URIs, .glb; every component type, normalised or not).
#pragma once

#include "gltf_figure.h"

#include <map>
#include <string>
#include <vector>

namespace modeltest {

class GltfPoser {
public:
    // False with `error` when the file cannot be read as glTF.
    bool load(const std::string& path, std::string& error);

    // Every triangle's three vertices, as indices into the vertex list,
    // counter-clockwise seen from its front: the file's order, reversed where
    // the mesh node's world transform at rest mirrors (negative determinant).
    const std::vector<std::array<int, 3>>& triangles() const { return m_triangles; }
    std::size_t vertexCount() const { return m_vertices.size(); }
    // A vertex's weights by joint name (joints of weight 0 left out).
    const std::map<std::string, double>& weights(int vertex) const;
    // Every vertex where the file puts it at `seconds`.
    std::vector<Vec3> positionsAt(double seconds) const;
    // The last key time of the first animation (0 without one).
    double duration() const { return m_duration; }

    // Every node's world transform at `seconds`.
    std::vector<Affine> worldsAt(double seconds) const;

private:
    struct Sampler {
        std::vector<double> times, values; // values: per key, (3 for CUBICSPLINE) x width
        int width = 0;
        std::string interpolation;
    };
    struct Node {
        Affine matrix;
        bool hasMatrix = false;
        Vec3 translation = {0, 0, 0}, scale = {1, 1, 1};
        std::array<double, 4> rotation = {0, 0, 0, 1}; // x, y, z, w
        int parent = -1;
        int channel[3] = {-1, -1, -1}; // samplers of translation, rotation, scale
    };
    struct Vertex {
        Vec3 position;
        int node = -1;                              // the mesh's node
        int skin = -1;                              // its skin, or -1
        std::vector<std::pair<int, double>> joints; // skin joint slot, weight
        std::map<std::string, double> named;
    };
    struct Skin {
        std::vector<int> joints;
        std::vector<Affine> inverseBinds;
    };

    std::vector<double> sample(const Sampler& s, double seconds) const;

    std::vector<Node> m_nodes;
    std::vector<Sampler> m_samplers;
    std::vector<Skin> m_skins;
    std::vector<Vertex> m_vertices;
    std::vector<std::array<int, 3>> m_triangles;
    double m_duration = 0;
};

// A transform by translation, rotation (x, y, z, w) and scale.
Affine composeTrs(const Vec3& t, const std::array<double, 4>& q, const Vec3& s);

} // namespace modeltest
