#include "gltf_eval.h"

#include "model/gltf_source.h"

#include <QtCore/QString>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace modeltest {

using nlohmann::json;

namespace {

// Accessor `index` of the file as numbers (normalised integers as the
// numbers they stand for), `width` per element.
std::vector<double> readNumbers(yfx::model::GltfSource& source, int index, int& width) {
    yfx::model::GltfNumbers numbers;
    std::string error;
    if (index < 0 || !source.readAccessor(std::size_t(index), numbers, error)) {
        throw std::runtime_error("accessor " + std::to_string(index) + ": " + error);
    }
    width = numbers.components;
    return numbers.values;
}

Affine fromColumnMajor(const std::vector<double>& m, std::size_t at) {
    Affine a;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            a.r[r][c] = m[at + std::size_t(c * 4 + r)];
        }
        a.t[std::size_t(r)] = m[at + std::size_t(12 + r)];
    }
    return a;
}

std::array<double, 4> normalised(std::array<double, 4> q) {
    const double n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& c : q) {
        c /= n > 0 ? n : 1.0;
    }
    return q;
}

std::array<double, 4> slerp(std::array<double, 4> a, std::array<double, 4> b, double f) {
    double d = a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
    if (d < 0) {
        d = -d;
        for (double& c : b) {
            c = -c;
        }
    }
    double wa = 1 - f, wb = f;
    if (d < 0.9999) {
        const double angle = std::acos(std::min(d, 1.0));
        wa = std::sin((1 - f) * angle) / std::sin(angle);
        wb = std::sin(f * angle) / std::sin(angle);
    }
    std::array<double, 4> out;
    for (std::size_t i = 0; i < 4; ++i) {
        out[i] = wa * a[i] + wb * b[i];
    }
    return normalised(out);
}

} // namespace

Affine composeTrs(const Vec3& t, const std::array<double, 4>& q, const Vec3& s) {
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    const double rot[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                              {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                              {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    Affine a;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            a.r[r][c] = rot[r][c] * s[std::size_t(c)];
        }
    }
    a.t = t;
    return a;
}

bool GltfPoser::load(const std::string& path, std::string& error) {
    try {
        yfx::model::GltfSource source;
        std::string why;
        if (!source.load(QString::fromStdString(path), why)) {
            throw std::runtime_error(why);
        }
        const json& doc = source.document();

        const json nodes = doc.value("nodes", json::array());
        m_nodes.assign(nodes.size(), Node{});
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const json& n = nodes[i];
            Node& node = m_nodes[i];
            if (n.contains("matrix")) {
                node.hasMatrix = true;
                node.matrix = fromColumnMajor(n.at("matrix").get<std::vector<double>>(), 0);
            }
            for (std::size_t c = 0; c < 3; ++c) {
                if (n.contains("translation")) {
                    node.translation[c] = n["translation"][c].get<double>();
                }
                if (n.contains("scale")) {
                    node.scale[c] = n["scale"][c].get<double>();
                }
            }
            if (n.contains("rotation")) {
                for (std::size_t c = 0; c < 4; ++c) {
                    node.rotation[c] = n["rotation"][c].get<double>();
                }
            }
            for (const json& child : n.value("children", json::array())) {
                m_nodes.at(child.get<std::size_t>()).parent = int(i);
            }
        }

        if (doc.contains("animations") && !doc["animations"].empty()) {
            const json& animation = doc["animations"][0];
            for (const json& s : animation.at("samplers")) {
                Sampler sampler;
                int width = 0;
                sampler.times = readNumbers(source, s.at("input").get<int>(), width);
                sampler.values = readNumbers(source, s.at("output").get<int>(), width);
                sampler.interpolation = s.value("interpolation", std::string("LINEAR"));
                const std::size_t perKey = sampler.interpolation == "CUBICSPLINE" ? 3 : 1;
                sampler.width = int(sampler.values.size() / (sampler.times.size() * perKey));
                if (!sampler.times.empty()) {
                    m_duration = std::max(m_duration, sampler.times.back());
                }
                m_samplers.push_back(sampler);
            }
            for (const json& c : animation.at("channels")) {
                const std::string target = c.at("target").at("path").get<std::string>();
                const int slot = target == "translation" ? 0
                                 : target == "rotation"  ? 1
                                 : target == "scale"     ? 2
                                                         : -1;
                if (slot >= 0) {
                    m_nodes.at(c.at("target").at("node").get<std::size_t>()).channel[slot] =
                        c.at("sampler").get<int>();
                }
            }
        }

        for (const json& s : doc.value("skins", json::array())) {
            Skin skin;
            skin.joints = s.at("joints").get<std::vector<int>>();
            if (s.contains("inverseBindMatrices")) {
                int width = 0;
                const std::vector<double> m =
                    readNumbers(source, s["inverseBindMatrices"].get<int>(), width);
                for (std::size_t j = 0; j < skin.joints.size(); ++j) {
                    skin.inverseBinds.push_back(fromColumnMajor(m, j * 16));
                }
            } else {
                skin.inverseBinds.assign(skin.joints.size(), Affine());
            }
            m_skins.push_back(skin);
        }

        const std::vector<Affine> rest = worldsAt(0.0);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (!nodes[i].contains("mesh")) {
                continue;
            }
            const int skin = nodes[i].value("skin", -1);
            const json& mesh = doc.at("meshes").at(nodes[i]["mesh"].get<std::size_t>());
            for (const json& p : mesh.at("primitives")) {
                if (p.value("mode", 4) != 4) {
                    continue;
                }
                const json& attributes = p.at("attributes");
                int width = 0;
                const std::vector<double> positions =
                    readNumbers(source, attributes.at("POSITION").get<int>(), width);
                const int first = int(m_vertices.size());
                const std::size_t count = positions.size() / 3;
                std::vector<double> joints, weights;
                if (skin >= 0 && attributes.contains("JOINTS_0")) {
                    joints = readNumbers(source, attributes["JOINTS_0"].get<int>(), width);
                    weights = readNumbers(source, attributes["WEIGHTS_0"].get<int>(), width);
                }
                for (std::size_t v = 0; v < count; ++v) {
                    Vertex vertex;
                    vertex.position = {positions[3 * v], positions[3 * v + 1],
                                       positions[3 * v + 2]};
                    vertex.node = int(i);
                    vertex.skin = skin;
                    for (std::size_t k = 0; k < 4 && 4 * v + k < weights.size(); ++k) {
                        const int slot = int(joints[4 * v + k]);
                        const double w = weights[4 * v + k];
                        if (w > 0) {
                            vertex.joints.emplace_back(slot, w);
                            const int jointNode =
                                m_skins.at(std::size_t(skin)).joints.at(std::size_t(slot));
                            vertex.named[nodes[std::size_t(jointNode)].value("name",
                                                                             std::string())] += w;
                        }
                    }
                    m_vertices.push_back(vertex);
                }
                std::vector<double> indices;
                if (p.contains("indices")) {
                    indices = readNumbers(source, p["indices"].get<int>(), width);
                } else {
                    for (std::size_t v = 0; v < count; ++v) {
                        indices.push_back(double(v));
                    }
                }
                const auto& r = rest[i].r;
                const bool mirrored = r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
                                          r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
                                          r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]) <
                                      0;
                for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
                    const int b = first + int(indices[t + 1]), c = first + int(indices[t + 2]);
                    m_triangles.push_back(
                        {first + int(indices[t]), mirrored ? c : b, mirrored ? b : c});
                }
            }
        }
    } catch (const std::exception& e) {
        error = path + ": " + e.what();
        return false;
    }
    return true;
}

const std::map<std::string, double>& GltfPoser::weights(int vertex) const {
    return m_vertices.at(std::size_t(vertex)).named;
}

std::vector<double> GltfPoser::sample(const Sampler& s, double seconds) const {
    const std::size_t n = s.times.size();
    const std::size_t w = std::size_t(s.width);
    const bool cubic = s.interpolation == "CUBICSPLINE";
    // The value of key k (the middle of its three elements for CUBICSPLINE).
    auto value = [&](std::size_t k, std::size_t part) {
        const std::size_t at = cubic ? (3 * k + part) * w : k * w;
        return std::vector<double>(s.values.begin() + long(at), s.values.begin() + long(at + w));
    };
    if (seconds <= s.times.front()) {
        return value(0, 1);
    }
    if (seconds >= s.times.back()) {
        return value(n - 1, 1);
    }
    const std::size_t k =
        std::size_t(std::upper_bound(s.times.begin(), s.times.end(), seconds) - s.times.begin()) -
        1;
    const double d = s.times[k + 1] - s.times[k];
    const double f = (seconds - s.times[k]) / d;
    if (s.interpolation == "STEP") {
        return value(k, 1);
    }
    std::vector<double> out(w);
    if (cubic) {
        const std::vector<double> v0 = value(k, 1), b0 = value(k, 2), v1 = value(k + 1, 1),
                                  a1 = value(k + 1, 0);
        const double f2 = f * f, f3 = f2 * f;
        for (std::size_t i = 0; i < w; ++i) {
            out[i] = (2 * f3 - 3 * f2 + 1) * v0[i] + d * (f3 - 2 * f2 + f) * b0[i] +
                     (-2 * f3 + 3 * f2) * v1[i] + d * (f3 - f2) * a1[i];
        }
        if (w == 4) {
            const auto q = normalised({out[0], out[1], out[2], out[3]});
            out.assign(q.begin(), q.end());
        }
        return out;
    }
    const std::vector<double> a = value(k, 1), b = value(k + 1, 1);
    if (w == 4) {
        const auto q = slerp({a[0], a[1], a[2], a[3]}, {b[0], b[1], b[2], b[3]}, f);
        return std::vector<double>(q.begin(), q.end());
    }
    for (std::size_t i = 0; i < w; ++i) {
        out[i] = a[i] + (b[i] - a[i]) * f;
    }
    return out;
}

std::vector<Affine> GltfPoser::worldsAt(double seconds) const {
    std::vector<Affine> locals(m_nodes.size()), worlds(m_nodes.size());
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        const Node& n = m_nodes[i];
        if (n.hasMatrix) {
            locals[i] = n.matrix;
            continue;
        }
        Vec3 t = n.translation, s = n.scale;
        std::array<double, 4> q = n.rotation;
        if (n.channel[0] >= 0) {
            const auto v = sample(m_samplers[std::size_t(n.channel[0])], seconds);
            t = {v[0], v[1], v[2]};
        }
        if (n.channel[1] >= 0) {
            const auto v = sample(m_samplers[std::size_t(n.channel[1])], seconds);
            q = normalised({v[0], v[1], v[2], v[3]});
        }
        if (n.channel[2] >= 0) {
            const auto v = sample(m_samplers[std::size_t(n.channel[2])], seconds);
            s = {v[0], v[1], v[2]};
        }
        locals[i] = composeTrs(t, q, s);
    }
    std::vector<char> done(m_nodes.size(), 0);
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        std::vector<std::size_t> chain;
        for (int at = int(i); at >= 0 && !done[std::size_t(at)];
             at = m_nodes[std::size_t(at)].parent) {
            chain.push_back(std::size_t(at));
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            const int p = m_nodes[*it].parent;
            worlds[*it] = p >= 0 ? worlds[std::size_t(p)] * locals[*it] : locals[*it];
            done[*it] = 1;
        }
    }
    return worlds;
}

std::vector<Vec3> GltfPoser::positionsAt(double seconds) const {
    const std::vector<Affine> worlds = worldsAt(seconds);
    std::vector<Vec3> out;
    out.reserve(m_vertices.size());
    for (const Vertex& v : m_vertices) {
        if (v.skin < 0) {
            out.push_back(worlds[std::size_t(v.node)] * v.position);
            continue;
        }
        const Skin& skin = m_skins[std::size_t(v.skin)];
        Vec3 sum = {0, 0, 0};
        for (const auto& jw : v.joints) {
            const Vec3 p = (worlds[std::size_t(skin.joints.at(std::size_t(jw.first)))] *
                            skin.inverseBinds.at(std::size_t(jw.first))) *
                           v.position;
            for (std::size_t c = 0; c < 3; ++c) {
                sum[c] += jw.second * p[c];
            }
        }
        out.push_back(sum);
    }
    return out;
}

} // namespace modeltest
