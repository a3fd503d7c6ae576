#include "gltf_figure.h"
#include "gltf_build.h"

#include <QtCore/QBuffer>
#include <QtCore/QFile>
#include <QtGui/QImage>

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>

namespace modeltest {

using nlohmann::json;

const char* const kJointNames[kJointCount] = {"hip", "spine", "head", "arm"};
const int kJointParents[kJointCount] = {-1, 0, 1, 1};

namespace {

constexpr double kPi = 3.14159265358979323846;

Affine rotationZ(double degrees) {
    const double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
    Affine m;
    m.r[0][0] = c, m.r[0][1] = -s, m.r[1][0] = s, m.r[1][1] = c;
    return m;
}

Affine rotationY(double degrees) {
    const double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
    Affine m;
    m.r[0][0] = c, m.r[0][2] = s, m.r[2][0] = -s, m.r[2][2] = c;
    return m;
}

Affine moveTo(const Vec3& t) {
    Affine m;
    m.t = t;
    return m;
}

const Vec3 kArmature = {0.1, 0, 0};
// Joint locals at bind: translations, and the arm's turn.
const Vec3 kBindOffsets[kJointCount] = {{0, 1, 0}, {0, 0.5, 0}, {0, 0.5, 0}, {0.3, 0.3, 0}};
constexpr double kArmTurn = -90;

std::array<Affine, kJointCount> worldsFrom(const std::array<Affine, kJointCount>& locals) {
    std::array<Affine, kJointCount> w;
    for (int j = 0; j < kJointCount; ++j) {
        const Affine parent =
            kJointParents[j] < 0 ? moveTo(kArmature) : w[std::size_t(kJointParents[j])];
        w[std::size_t(j)] = parent * locals[std::size_t(j)];
    }
    return w;
}

std::array<Affine, kJointCount> bindLocals() {
    std::array<Affine, kJointCount> l;
    for (int j = 0; j < kJointCount; ++j) {
        l[std::size_t(j)] = moveTo(kBindOffsets[j]);
    }
    l[3] = l[3] * rotationZ(kArmTurn);
    return l;
}

// Animation keys.
const double kHipTimes[2] = {0, 1};
const Vec3 kHipPositions[2] = {{0, 1, 0.2}, {0, 1, 0.5}};
const double kSpineTimes[3] = {0, 0.5, 1};
const double kSpineDegrees[3] = {10, 30, 0};

double lerpKeys(const double* times, const double* values, int n, double t) {
    if (t <= times[0]) {
        return values[0];
    }
    for (int i = 1; i < n; ++i) {
        if (t <= times[i]) {
            const double f = (t - times[i - 1]) / (times[i] - times[i - 1]);
            return values[i - 1] + (values[i] - values[i - 1]) * f;
        }
    }
    return values[n - 1];
}

// One mesh primitive's attributes for a subset of triangles.
json primitive(Gltf& g, const std::vector<FigureVertex>& vertices,
               const std::vector<std::array<int, 3>>& triangles, int material, bool skinned) {
    std::vector<double> pos, uv0, uv1, weights;
    std::vector<int> joints, indices;
    for (const FigureVertex& v : vertices) {
        pos.insert(pos.end(), v.position.begin(), v.position.end());
        uv0.insert(uv0.end(), v.uv0.begin(), v.uv0.end());
        uv1.insert(uv1.end(), v.uv1.begin(), v.uv1.end());
        for (int j = 0; j < kJointCount; ++j) {
            joints.push_back(j);
            weights.push_back(v.weights[std::size_t(j)]);
        }
    }
    for (const auto& t : triangles) {
        indices.insert(indices.end(), t.begin(), t.end());
    }
    json attributes = {{"POSITION", g.floats(pos, 3, "VEC3", true)},
                       {"TEXCOORD_0", g.floats(uv0, 2, "VEC2")},
                       {"TEXCOORD_1", g.floats(uv1, 2, "VEC2")}};
    if (skinned) {
        attributes["JOINTS_0"] = g.shorts(joints, 4, "VEC4");
        attributes["WEIGHTS_0"] = g.floats(weights, 4, "VEC4");
    }
    return {{"attributes", attributes},
            {"indices", g.shorts(indices, 1, "SCALAR")},
            {"material", material},
            {"mode", 4}};
}

void writePng(const std::string& path, unsigned colour) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(colour);
    image.save(QString::fromStdString(path), "PNG");
}

QByteArray pngBytes(unsigned colour) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

json matrixJson(const Affine& a) {
    return modeltest::matrixJson(a.r, a.t.data());
}

} // namespace

Affine operator*(const Affine& a, const Affine& b) {
    Affine m;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            m.r[i][j] = a.r[i][0] * b.r[0][j] + a.r[i][1] * b.r[1][j] + a.r[i][2] * b.r[2][j];
        }
        m.t[std::size_t(i)] =
            a.r[i][0] * b.t[0] + a.r[i][1] * b.t[1] + a.r[i][2] * b.t[2] + a.t[std::size_t(i)];
    }
    return m;
}

Vec3 operator*(const Affine& a, const Vec3& p) {
    Vec3 out;
    for (int i = 0; i < 3; ++i) {
        out[std::size_t(i)] =
            a.r[i][0] * p[0] + a.r[i][1] * p[1] + a.r[i][2] * p[2] + a.t[std::size_t(i)];
    }
    return out;
}

Affine inverseRigid(const Affine& a) {
    Affine m;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            m.r[i][j] = a.r[j][i];
        }
    }
    for (int i = 0; i < 3; ++i) {
        m.t[std::size_t(i)] = -(m.r[i][0] * a.t[0] + m.r[i][1] * a.t[1] + m.r[i][2] * a.t[2]);
    }
    return m;
}

const std::vector<FigureVertex>& bodyVertices() {
    static const std::vector<FigureVertex> vertices = [] {
        // Rows from y = 1.0 to 2.0; per row the weights of hip, spine, head, arm.
        const double rowWeights[5][kJointCount] = {{1, 0, 0, 0},
                                                   {0.7, 0.3, 0, 0},
                                                   {0.00005, 0.99995, 0, 0},
                                                   {0, 0.5, 0.25, 0.25},
                                                   {0, 0, 1, 0}};
        std::vector<FigureVertex> out;
        for (int row = 0; row < 5; ++row) {
            for (int side = 0; side < 2; ++side) {
                FigureVertex v;
                const double x = side == 0 ? -0.1 : 0.1, y = 1.0 + 0.25 * row;
                v.position = {x, y, 0.02 * row};
                v.uv0 = {x + 0.5, 0.2 * row + 0.05};
                v.uv1 = {0.25 * side + 0.1, 0.1 * row + 0.5};
                for (int j = 0; j < kJointCount; ++j) {
                    v.weights[std::size_t(j)] = rowWeights[row][j];
                }
                out.push_back(v);
            }
        }
        return out;
    }();
    return vertices;
}

const std::vector<std::array<int, 3>>& bodyTriangles() {
    static const std::vector<std::array<int, 3>> triangles = [] {
        std::vector<std::array<int, 3>> out;
        for (int row = 0; row < 4; ++row) {
            const int l = 2 * row, r = 2 * row + 1;
            out.push_back({l, r, r + 2});
            out.push_back({l, r + 2, l + 2});
        }
        return out;
    }();
    return triangles;
}

const std::vector<FigureVertex>& boxVertices() {
    static const std::vector<FigureVertex> vertices = [] {
        const Vec3 corners[4] = {{-0.2, 0, -0.2}, {0.2, 0, -0.2}, {0, 0, 0.25}, {0, 0.3, 0}};
        std::vector<FigureVertex> out;
        for (int i = 0; i < 4; ++i) {
            FigureVertex v;
            v.position = corners[i];
            v.uv0 = {0.1 * i, 0.9 - 0.1 * i};
            v.uv1 = {0.6 + 0.1 * i, 0.2 + 0.15 * i};
            v.weights = {0, 0, 0, 0};
            out.push_back(v);
        }
        return out;
    }();
    return vertices;
}

const std::vector<std::array<int, 3>>& boxTriangles() {
    static const std::vector<std::array<int, 3>> triangles = {
        {0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {2, 0, 3}};
    return triangles;
}

Affine boxPlacement() {
    return moveTo({1, 0, 0}) * rotationY(90);
}

std::array<Affine, kJointCount> jointBinds() {
    return worldsFrom(bindLocals());
}

std::array<Affine, kJointCount> jointWorlds(double seconds) {
    std::array<Affine, kJointCount> locals = bindLocals();
    Vec3 hip;
    for (int k = 0; k < 3; ++k) {
        const double values[2] = {kHipPositions[0][std::size_t(k)],
                                  kHipPositions[1][std::size_t(k)]};
        hip[std::size_t(k)] = lerpKeys(kHipTimes, values, 2, seconds);
    }
    locals[0] = moveTo(hip);
    locals[1] =
        moveTo(kBindOffsets[1]) * rotationZ(lerpKeys(kSpineTimes, kSpineDegrees, 3, seconds));
    return worldsFrom(locals);
}

Vec3 skinnedPosition(const FigureVertex& v, double seconds) {
    const auto worlds = jointWorlds(seconds);
    const auto binds = jointBinds();
    Vec3 out = {0, 0, 0};
    double total = 0;
    for (int j = 0; j < kJointCount; ++j) {
        const double w = v.weights[std::size_t(j)];
        const Vec3 p = (worlds[std::size_t(j)] * inverseRigid(binds[std::size_t(j)])) * v.position;
        for (int k = 0; k < 3; ++k) {
            out[std::size_t(k)] += w * p[std::size_t(k)];
        }
        total += w;
    }
    for (double& c : out) {
        c /= total;
    }
    return out;
}

std::string writeFigureGltf(const std::string& folder) {
    Gltf g;
    g.doc = {{"asset", {{"version", "2.0"}, {"generator", "yfx model tests"}}},
             {"scene", 0},
             {"extensionsUsed", {"KHR_lights_punctual"}},
             {"bufferViews", json::array()},
             {"accessors", json::array()}};

    // Nodes: 0 Armature, 1 hip, 2 spine, 3 head, 4 arm, 5 Body, 6 Box, 7 Lamp.
    json nodes = json::array();
    nodes.push_back(
        {{"name", "Armature"}, {"translation", {kArmature[0], 0, 0}}, {"children", {1}}});
    for (int j = 0; j < kJointCount; ++j) {
        json node = {{"name", kJointNames[j]},
                     {"translation", {kBindOffsets[j][0], kBindOffsets[j][1], kBindOffsets[j][2]}}};
        if (j == 3) {
            const double half = kArmTurn * kPi / 360;
            node["rotation"] = {0, 0, std::sin(half), std::cos(half)};
        }
        json children = json::array();
        for (int c = 0; c < kJointCount; ++c) {
            if (kJointParents[c] == j) {
                children.push_back(c + 1);
            }
        }
        if (!children.empty()) {
            node["children"] = children;
        }
        nodes.push_back(node);
    }
    nodes.push_back({{"name", "Body"}, {"mesh", 0}, {"skin", 0}});
    const double boxHalf = 90 * kPi / 360;
    nodes.push_back({{"name", "Box"},
                     {"mesh", 1},
                     {"translation", {1, 0, 0}},
                     {"rotation", {0, std::sin(boxHalf), 0, std::cos(boxHalf)}}});
    nodes.push_back({{"name", "Lamp"},
                     {"translation", {0, 3, 0}},
                     {"extensions", {{"KHR_lights_punctual", {{"light", 0}}}}}});
    g.doc["nodes"] = nodes;
    g.doc["scenes"] = {{{"nodes", {0, 5, 6, 7}}}};

    // Meshes.
    const auto& body = bodyVertices();
    const auto& tris = bodyTriangles();
    const std::vector<std::array<int, 3>> lower(tris.begin(), tris.begin() + 4);
    const std::vector<std::array<int, 3>> upper(tris.begin() + 4, tris.end());
    g.doc["meshes"] = {
        {{"name", "Body"},
         {"primitives", {primitive(g, body, lower, 0, true), primitive(g, body, upper, 1, true)}}},
        {{"name", "Box"}, {"primitives", {primitive(g, boxVertices(), boxTriangles(), 2, false)}}}};

    // Skin.
    std::vector<double> ibm;
    for (const Affine& b : jointBinds()) {
        for (const auto& v : matrixJson(inverseRigid(b))) {
            ibm.push_back(v.get<double>());
        }
    }
    g.doc["skins"] = {{{"joints", {1, 2, 3, 4}},
                       {"skeleton", 1},
                       {"inverseBindMatrices", g.floats(ibm, 16, "MAT4")}}};

    // Animation.
    std::vector<double> hipTimes(kHipTimes, kHipTimes + 2), hipValues,
        spineTimes(kSpineTimes, kSpineTimes + 3), spineValues;
    for (const Vec3& p : kHipPositions) {
        hipValues.insert(hipValues.end(), p.begin(), p.end());
    }
    for (double d : kSpineDegrees) {
        const double half = d * kPi / 360;
        spineValues.insert(spineValues.end(), {0, 0, std::sin(half), std::cos(half)});
    }
    const int hipIn = g.floats(hipTimes, 1, "SCALAR", true),
              hipOut = g.floats(hipValues, 3, "VEC3");
    const int spineIn = g.floats(spineTimes, 1, "SCALAR", true),
              spineOut = g.floats(spineValues, 4, "VEC4");
    g.doc["animations"] = {
        {{"name", "Walk"},
         {"samplers",
          {{{"input", hipIn}, {"output", hipOut}, {"interpolation", "LINEAR"}},
           {{"input", spineIn}, {"output", spineOut}, {"interpolation", "LINEAR"}}}},
         {"channels",
          {{{"sampler", 0}, {"target", {{"node", 1}, {"path", "translation"}}}},
           {{"sampler", 1}, {"target", {{"node", 2}, {"path", "rotation"}}}}}}}};

    // The Cloth colour texture, embedded in the buffer.
    const QByteArray embedded = pngBytes(0xff3366cc);
    const std::size_t imageStart = g.bin.bytes.size();
    g.bin.bytes.insert(g.bin.bytes.end(), embedded.begin(), embedded.end());
    g.doc["bufferViews"].push_back(
        {{"buffer", 0}, {"byteOffset", imageStart}, {"byteLength", embedded.size()}});
    const int imageView = int(g.doc["bufferViews"].size()) - 1;
    g.bin.align();

    g.doc["images"] = {{{"uri", "skin.png"}},
                       {{"uri", "skin_normal.png"}},
                       {{"bufferView", imageView}, {"mimeType", "image/png"}},
                       {{"uri", "cloth_ao.png"}},
                       {{"uri", "crate.png"}}};
    g.doc["textures"] = {
        {{"source", 0}}, {{"source", 1}}, {{"source", 2}}, {{"source", 3}}, {{"source", 4}}};
    g.doc["materials"] = {
        {{"name", "Skin"},
         {"pbrMetallicRoughness", {{"baseColorTexture", {{"index", 0}}}}},
         {"normalTexture", {{"index", 1}}}},
        {{"name", "Cloth"},
         {"pbrMetallicRoughness",
          {{"baseColorFactor", {0.8, 0.2, 0.2, 1.0}}, {"baseColorTexture", {{"index", 2}}}}},
         {"occlusionTexture", {{"index", 3}}}},
        {{"name", "Crate"},
         {"pbrMetallicRoughness", {{"baseColorTexture", {{"index", 4}, {"texCoord", 1}}}}}}};
    g.doc["extensions"] = {{"KHR_lights_punctual",
                            {{"lights",
                              {{{"type", "point"},
                                {"name", "Lamp"},
                                {"color", {1.0, 0.5, 0.25}},
                                {"intensity", 2.0}}}}}}};
    g.doc["buffers"] = {{{"uri", "figure.bin"}, {"byteLength", g.bin.bytes.size()}}};

    QFile bin(QString::fromStdString(folder + "/figure.bin"));
    bin.open(QIODevice::WriteOnly);
    bin.write(reinterpret_cast<const char*>(g.bin.bytes.data()), qint64(g.bin.bytes.size()));
    bin.close();
    const std::string path = folder + "/figure.gltf";
    QFile gltf(QString::fromStdString(path));
    gltf.open(QIODevice::WriteOnly);
    gltf.write(QByteArray::fromStdString(g.doc.dump(1)));
    gltf.close();
    writePng(folder + "/skin.png", 0xffd0a080);
    writePng(folder + "/skin_normal.png", 0xff8080ff);
    writePng(folder + "/cloth_ao.png", 0xff808080);
    writePng(folder + "/crate.png", 0xff996633);
    return path;
}

} // namespace modeltest
