#include "fidelity_rig.h"

#include "gltf_eval.h"

#include <cmath>

namespace modeltest {

using nlohmann::json;

namespace {

constexpr double kHalfWidth = 0.15;
constexpr double kTipLength = 0.4;

Affine inverseAffine(const Affine& a) {
    const auto& m = a.r;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Affine out;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int i1 = (j + 1) % 3, i2 = (j + 2) % 3, j1 = (i + 1) % 3, j2 = (i + 2) % 3;
            out.r[i][j] = (m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1]) / det;
        }
    }
    for (int i = 0; i < 3; ++i) {
        out.t[std::size_t(i)] =
            -(out.r[i][0] * a.t[0] + out.r[i][1] * a.t[1] + out.r[i][2] * a.t[2]);
    }
    return out;
}

Affine matrixOf(const Trs& p) {
    return composeTrs(p.t, p.r, p.s);
}

json trsJson(const Trs& p) {
    return {{"translation", p.t}, {"rotation", p.r}, {"scale", p.s}};
}

// The four corners of a square across a joint's local y axis at height y.
void ring(const Affine& world, double y, std::vector<double>& positions) {
    const double corners[4][2] = {{kHalfWidth, kHalfWidth},
                                  {-kHalfWidth, kHalfWidth},
                                  {-kHalfWidth, -kHalfWidth},
                                  {kHalfWidth, -kHalfWidth}};
    for (const auto& c : corners) {
        const Vec3 p = world * Vec3{c[0], y, c[1]};
        positions.insert(positions.end(), p.begin(), p.end());
    }
}

// Side triangles between ring a and ring b (four corners each), facing out.
void band(int a, int b, std::vector<int>& indices) {
    for (int i = 0; i < 4; ++i) {
        const int n = (i + 1) % 4;
        indices.insert(indices.end(), {a + i, a + n, b + n, a + i, b + n, b + i});
    }
}

} // namespace

std::array<double, 4> turn(double degrees, Vec3 axis) {
    const double n = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    const double half = degrees * 3.14159265358979323846 / 360.0, s = std::sin(half) / n;
    return {axis[0] * s, axis[1] * s, axis[2] * s, std::cos(half)};
}

std::string writeRig(const Rig& rig, const std::string& folder, const std::string& name, bool glb) {
    Gltf g;
    const Affine top = rig.armature ? matrixOf(rig.armatureRest) : Affine();
    std::vector<Affine> worlds;
    for (std::size_t j = 0; j < rig.joints.size(); ++j) {
        worlds.push_back((j == 0 ? top : worlds[j - 1]) * matrixOf(rig.joints[j]));
    }

    // Rings at each joint and half way to the next, and at the tip.
    std::vector<double> positions, weights;
    std::vector<int> joints, indices;
    const int count = int(rig.joints.size());
    auto weigh = [&](int a, double wa, int b, double wb) {
        for (int k = 0; k < 4; ++k) {
            joints.insert(joints.end(), {a, b, 0, 0});
            weights.insert(weights.end(), {wa, wb, 0, 0});
        }
    };
    int rings = 0;
    for (int j = 0; j < count; ++j) {
        const double length = j + 1 < count ? rig.joints[std::size_t(j + 1)].t[1] : kTipLength;
        ring(worlds[std::size_t(j)], 0.0, positions);
        j == 0 ? weigh(0, 1.0, 0, 0.0) : weigh(j - 1, 0.5, j, 0.5);
        ring(worlds[std::size_t(j)], 0.5 * length, positions);
        weigh(j, 1.0, 0, 0.0);
        rings += 2;
    }
    ring(worlds.back(), kTipLength, positions);
    weigh(count - 1, 1.0, 0, 0.0);
    ++rings;
    for (int r = 0; r + 1 < rings; ++r) {
        band(4 * r, 4 * (r + 1), indices);
    }

    json attributes = {{"POSITION", g.floats(positions, 3, "VEC3", true)},
                       {"JOINTS_0", g.shorts(joints, 4, "VEC4")}};
    attributes["WEIGHTS_0"] = rig.weightType == kGltfFloat
                                  ? g.floats(weights, 4, "VEC4")
                                  : g.normalized(weights, 4, "VEC4", rig.weightType);
    g.doc["meshes"] = {{{"name", "Body"},
                        {"primitives",
                         {{{"attributes", attributes},
                           {"indices", g.shorts(indices, 1, "SCALAR")},
                           {"mode", 4}}}}}};

    // Nodes: the armature, the joints, the mesh.
    std::vector<int> roots;
    int armature = -1;
    if (rig.armature) {
        json node = trsJson(rig.armatureRest);
        node["name"] = "Armature";
        armature = g.node(node);
        roots.push_back(armature);
    }
    std::vector<int> jointNodes;
    for (int j = 0; j < count; ++j) {
        json node = trsJson(rig.joints[std::size_t(j)]);
        node["name"] = "joint" + std::to_string(j);
        jointNodes.push_back(g.node(node));
    }
    const int body = g.node({{"name", "Body"}, {"mesh", 0}, {"skin", 0}});
    json& nodes = g.doc["nodes"];
    for (int j = 1; j < count; ++j) {
        nodes[std::size_t(jointNodes[std::size_t(j - 1)])]["children"] = {
            jointNodes[std::size_t(j)]};
    }
    if (rig.armature) {
        nodes[std::size_t(armature)]["children"] = json::array({jointNodes[0]});
        if (rig.meshUnderArmature) {
            nodes[std::size_t(armature)]["children"] = json::array({body, jointNodes[0]});
        } else {
            roots.push_back(body);
        }
    } else {
        roots.insert(roots.end(), {jointNodes[0], body});
    }
    g.doc["scenes"] = {{{"nodes", roots}}};

    std::vector<double> ibm;
    for (const Affine& w : worlds) {
        const Affine inverse = inverseAffine(w);
        for (const auto& v : matrixJson(inverse.r, inverse.t.data())) {
            ibm.push_back(v.get<double>());
        }
    }
    g.doc["skins"] = {{{"joints", jointNodes},

                       {"inverseBindMatrices", g.floats(ibm, 16, "MAT4")}}};

    if (!rig.channels.empty()) {
        json samplers = json::array(), channels = json::array();
        for (const Channel& c : rig.channels) {
            const int width = c.path == "rotation" ? 4 : 3;
            const int in = g.floats(c.times, 1, "SCALAR", true);
            const int out = g.floats(c.values, width, width == 4 ? "VEC4" : "VEC3");
            samplers.push_back(
                {{"input", in}, {"output", out}, {"interpolation", c.interpolation}});
            channels.push_back(
                {{"sampler", samplers.size() - 1},
                 {"target", {{"node", jointNodes[std::size_t(c.joint)]}, {"path", c.path}}}});
        }
        g.doc["animations"] = {{{"name", "Move"}, {"samplers", samplers}, {"channels", channels}}};
    }
    return g.save(folder, name, glb);
}

std::string writeProps(const Props& props, const std::string& folder, const std::string& name) {
    Gltf g;
    std::vector<double> positions;
    for (int i = 0; i < 8; ++i) {
        positions.insert(positions.end(),
                         {i & 1 ? 0.2 : -0.2, i & 2 ? 0.3 : -0.3, i & 4 ? 0.1 : -0.1});
    }
    // Outward-facing triangles of the box (counter-clockwise seen from outside).
    const std::vector<int> indices = {0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6, 0, 1, 5, 0, 5, 4,
                                      2, 6, 7, 2, 7, 3, 0, 4, 6, 0, 6, 2, 1, 3, 7, 1, 7, 5};
    const int position = g.floats(positions, 3, "VEC3", true);
    const int index = g.shorts(indices, 1, "SCALAR");
    json meshes = json::array();
    std::vector<int> roots;
    for (std::size_t i = 0; i < props.parent.size(); ++i) {
        meshes.push_back(
            {{"name", "Box" + std::to_string(i)},
             {"primitives",
              {{{"attributes", {{"POSITION", position}}}, {"indices", index}, {"mode", 4}}}}});
        json node = trsJson(props.place[i]);
        node["name"] = "Box" + std::to_string(i);
        node["mesh"] = i;
        g.node(node);
        if (props.parent[i] < 0) {
            roots.push_back(int(i));
        }
    }
    for (std::size_t i = 0; i < props.parent.size(); ++i) {
        if (props.parent[i] >= 0) {
            json& parent = g.doc["nodes"][std::size_t(props.parent[i])];
            if (!parent.contains("children")) {
                parent["children"] = json::array();
            }
            parent["children"].push_back(i);
        }
    }
    g.doc["meshes"] = meshes;
    g.doc["scenes"] = {{{"nodes", roots}}};
    return g.save(folder, name);
}

} // namespace modeltest
