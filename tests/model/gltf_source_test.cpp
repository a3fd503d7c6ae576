// What a glTF file states that Assimp 5.2 loses, read from the file itself:
// skin weights stored as normalised unsigned bytes or shorts arrive in the
// project file as the numbers they stand for (.gltf and .glb); STEP and
// CUBICSPLINE channels place the host's nodes, frame by frame, where the
// glTF rules put them; and files whose accessors, buffers or container lie
// are read without a crash, leaving Assimp's data and a note.
#include "doc_poses.h"
#include "gltf_build.h"
#include "model_test_support.h"

#include "format/load_file.h"
#include "model/gltf_curves.h"
#include "model/gltf_source.h"
#include "model/gltf_weights.h"
#include "model/read_steps.h"
#include "tools/yfx/model_convert.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <dzmatrix3.h>
#include <dznode.h>
#include <dzscene.h>

#include <QtCore/QFile>
#include <QtCore/QFileInfo>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>

namespace modeltest {
namespace {

using nlohmann::json;

constexpr double kPi = 3.14159265358979323846;

bool mentions(const std::vector<std::string>& lines, const std::string& a, const std::string& b) {
    for (const std::string& l : lines) {
        if (l.find(a) != std::string::npos && l.find(b) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A strip of eight vertices from y = 0 to 1 (metres) bound to joints "root"
// (at the origin) and "tip" (at y = 1); row r's weights are kRowWeights[r]
// out of `full` (255 or 65535), stored as normalised unsigned bytes or shorts.
constexpr int kRows = 4;
const double kRowShares[kRows][2] = {{1, 0}, {0.6, 0.4}, {0.2, 0.8}, {0, 1}};

Gltf weightedStrip(bool shorts) {
    Gltf g;
    std::vector<float> positions;
    std::vector<std::uint16_t> weights16, joints16;
    std::vector<std::uint8_t> weights8, joints8;
    const double full = shorts ? 65535 : 255;
    for (int row = 0; row < kRows; ++row) {
        for (int side = 0; side < 2; ++side) {
            positions.insert(positions.end(), {side == 0 ? -0.1f : 0.1f, float(row) / 3, 0});
            const long a = std::lround(kRowShares[row][0] * full);
            const long b = long(full) - a;
            weights16.insert(weights16.end(), {std::uint16_t(a), std::uint16_t(b), 0, 0});
            weights8.insert(weights8.end(), {std::uint8_t(a), std::uint8_t(b), 0, 0});
            joints16.insert(joints16.end(), {0, 1, 0, 0});
            joints8.insert(joints8.end(), {0, 1, 0, 0});
        }
    }
    std::vector<std::uint16_t> indices;
    for (int row = 0; row + 1 < kRows; ++row) {
        const auto l = std::uint16_t(2 * row), r = std::uint16_t(2 * row + 1);
        indices.insert(indices.end(),
                       {l, r, std::uint16_t(r + 2), l, std::uint16_t(r + 2), std::uint16_t(l + 2)});
    }
    json attributes = {{"POSITION", g.values(positions, kGltfFloat, "VEC3", 3)}};
    g.doc["accessors"][0]["min"] = {-0.1, 0, 0};
    g.doc["accessors"][0]["max"] = {0.1, 1, 0};
    attributes["JOINTS_0"] =
        shorts ? g.values(joints16, 5123, "VEC4", 4) : g.values(joints8, 5121, "VEC4", 4);
    attributes["WEIGHTS_0"] = shorts ? g.values(weights16, 5123, "VEC4", 4, true)
                                     : g.values(weights8, 5121, "VEC4", 4, true);
    const int indexAccessor = g.values(indices, 5123, "SCALAR", 1);
    const std::vector<float> inverseBinds = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0,  0, 1,
                                             1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -1, 0, 1};
    g.doc["skins"] = {{{"joints", {1, 2}},
                       {"inverseBindMatrices", g.values(inverseBinds, kGltfFloat, "MAT4", 16)}}};
    g.doc["meshes"] = {
        {{"name", "Strip"},
         {"primitives", {{{"attributes", attributes}, {"indices", indexAccessor}}}}}};
    g.doc["nodes"] = {{{"name", "Strip"}, {"mesh", 0}, {"skin", 0}},
                      {{"name", "root"}, {"children", {2}}},
                      {{"name", "tip"}, {"translation", {0, 1, 0}}}};
    g.doc["scenes"] = {{{"nodes", {0, 1}}}};
    return g;
}

TEST(GltfSource, NormalisedWeightsArriveAsTheNumbersTheyStandFor) {
    const struct {
        bool shorts, glb;
    } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shorts ? "shorts" : "bytes") + (c.glb ? ", glb" : ", gltf"));
        Scratch scratch;
        const yfx::ModelToProject request = convertRequest(
            scratch.path(c.glb ? "strip.glb" : "strip.gltf"), scratch.path("strip.yfx"));
        weightedStrip(c.shorts).write(request.model, c.glb);
        yfx::ConvertOutcome outcome;
        ASSERT_TRUE(yfx::convertModelToProject(filterModule(), request, "convert", outcome))
            << outcome.problem.toStdString();
        yfx::SceneDoc doc;
        std::string reason;
        ASSERT_EQ(yfx::loadFile(doc, request.project.toStdWString(), &reason), 1) << reason;

        const double full = c.shorts ? 65535 : 255;
        int met = 0;
        for (const yfx::DocVertex& v : doc.vertices) {
            const int row = int(std::lround(v.position[1] / 100 * 3));
            ASSERT_TRUE(row >= 0 && row < kRows &&
                        std::fabs(v.position[1] - row * 100.0 / 3) < 1e-3)
                << "a vertex the model does not have";
            std::map<std::string, double> weights;
            for (const yfx::DocWeight& w : v.weights) {
                weights[boneName(doc, w.bone)] += w.weight;
            }
            const double root = std::lround(kRowShares[row][0] * full) / full;
            EXPECT_NEAR(weights["root"], root, 1e-3) << "row " << row;
            EXPECT_NEAR(weights["tip"], 1 - root, 1e-3) << "row " << row;
            ++met;
        }
        EXPECT_EQ(met, 2 * kRows);
        EXPECT_TRUE(
            mentions(outcome.notes.applied, "'Strip'", c.shorts ? "value / 65535" : "value / 255"));
    }
}

// Two nodes, each with one STEP and one CUBICSPLINE channel; keys at times
// that fall between the host's frames.
struct Channel {
    const char* node;
    const char* path;
    const char* interpolation;
    std::vector<float> times;
    std::vector<std::vector<double>> values; // per key; CUBICSPLINE: in, value, out
};

std::vector<double> axisAngle(double x, double y, double z, double degrees) {
    const double n = std::sqrt(x * x + y * y + z * z), h = degrees * kPi / 360;
    return {x / n * std::sin(h), y / n * std::sin(h), z / n * std::sin(h), std::cos(h)};
}

const std::vector<Channel>& channels() {
    static const std::vector<Channel> list = {
        {"Mover",
         "translation",
         "STEP",
         {0, 0.51f, 0.9f},
         {{0, 0, 0}, {0.2, 0.1, 0}, {0.5, -0.3, 0.2}}},
        {"Mover",
         "rotation",
         "CUBICSPLINE",
         {0, 0.4f, 1},
         {{0.3, 0, 0, 0},
          axisAngle(0, 0, 1, 0),
          {0, 0.5, -0.2, 0.1},
          {0.1, -0.4, 0.2, 0},
          axisAngle(0, 0, 1, 60),
          {-0.3, 0.2, 0.6, -0.1},
          {0, 0, 0, 0},
          axisAngle(1, 1, 0, 120),
          {0.2, 0.2, 0, 0}}},
        {"Spinner",
         "translation",
         "CUBICSPLINE",
         {0, 0.3f, 1},
         {{0, 0, 0},
          {0, 0, 0},
          {1.5, -0.5, 0.8},
          {-1, 2, 0.5},
          {0.4, 0.3, -0.2},
          {2, 0.5, -1},
          {0.3, 0, 0},
          {-0.2, 0.6, 0.1},
          {0, 0, 0}}},
        {"Spinner",
         "rotation",
         "STEP",
         {0, 0.55f},
         {axisAngle(0, 1, 0, 30), axisAngle(1, 0, 0, 90)}},
    };
    return list;
}

Gltf animatedPair() {
    Gltf g;
    const int position =
        g.values(std::vector<float>({0, 0, 0, 0.1f, 0, 0, 0, 0.1f, 0}), kGltfFloat, "VEC3", 3);
    g.doc["accessors"][0]["min"] = {0, 0, 0};
    g.doc["accessors"][0]["max"] = {0.1, 0.1, 0};
    g.doc["meshes"] = {{{"primitives", {{{"attributes", {{"POSITION", position}}}}}}}};
    g.doc["nodes"] = {{{"name", "Mover"}, {"mesh", 0}}, {{"name", "Spinner"}, {"mesh", 0}}};
    g.doc["scenes"] = {{{"nodes", {0, 1}}}};
    json samplers = json::array(), targets = json::array();
    for (const Channel& c : channels()) {
        std::vector<float> out;
        for (const auto& key : c.values) {
            out.insert(out.end(), key.begin(), key.end());
        }
        const bool rotation = std::string(c.path) == "rotation";
        const int input = g.values(std::vector<float>(c.times), kGltfFloat, "SCALAR", 1);
        g.doc["accessors"][std::size_t(input)]["min"] = {c.times.front()};
        g.doc["accessors"][std::size_t(input)]["max"] = {c.times.back()};
        const int output = g.values(out, kGltfFloat, rotation ? "VEC4" : "VEC3", rotation ? 4 : 3);
        samplers.push_back(
            {{"input", input}, {"output", output}, {"interpolation", c.interpolation}});
        targets.push_back(
            {{"sampler", samplers.size() - 1},
             {"target", {{"node", std::string(c.node) == "Mover" ? 0 : 1}, {"path", c.path}}}});
    }
    g.doc["animations"] = {{{"name", "Play"}, {"samplers", samplers}, {"channels", targets}}};
    return g;
}

// A channel's value at `t` by the glTF rules.
std::vector<double> glTFValue(const Channel& c, double t) {
    const bool spline = std::string(c.interpolation) == "CUBICSPLINE";
    const auto value = [&](std::size_t k) { return c.values[spline ? 3 * k + 1 : k]; };
    const std::size_t n = c.times.size();
    std::vector<double> out;
    if (t <= c.times[0]) {
        out = value(0);
    } else if (t >= c.times[n - 1]) {
        out = value(n - 1);
    } else {
        std::size_t k = 0;
        while (t >= c.times[k + 1]) {
            ++k;
        }
        if (!spline) {
            out = value(k);
        } else {
            const double d = c.times[k + 1] - c.times[k], s = (t - c.times[k]) / d;
            const auto& v0 = value(k);
            const auto& b0 = c.values[3 * k + 2];
            const auto& v1 = value(k + 1);
            const auto& a1 = c.values[3 * k + 3];
            for (std::size_t i = 0; i < v0.size(); ++i) {
                out.push_back((2 * s * s * s - 3 * s * s + 1) * v0[i] +
                              (s * s * s - 2 * s * s + s) * d * b0[i] +
                              (-2 * s * s * s + 3 * s * s) * v1[i] +
                              (s * s * s - s * s) * d * a1[i]);
            }
        }
    }
    if (out.size() == 4) {
        const double len =
            std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2] + out[3] * out[3]);
        for (double& q : out) {
            q /= len;
        }
    }
    return out;
}

Vec3 rotate(const std::vector<double>& q, const Vec3& p) {
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                            {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                            {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    return {r[0][0] * p[0] + r[0][1] * p[1] + r[0][2] * p[2],
            r[1][0] * p[0] + r[1][1] * p[1] + r[1][2] * p[2],
            r[2][0] * p[0] + r[2][1] * p[1] + r[2][2] * p[2]};
}

TEST(GltfSource, StepAndCubicSplineChannelsPlaceNodesByTheGltfRules) {
    Scratch scratch;
    const QString path = scratch.path("pair.gltf");
    animatedPair().write(path, false);
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path.toStdString(), yfx::model::kModelReadSteps);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    DzScene::create();
    yfx::model::BuildOptions options;
    options.modelPath = path;
    options.extension = "gltf";
    yfx::model::BuiltScene built;
    yfx::model::ModelNotes notes;
    std::string error;
    ASSERT_TRUE(yfx::model::buildHostScene(*scene, options, built, notes, error)) << error;
    EXPECT_EQ(built.frames, 31);
    EXPECT_TRUE(mentions(notes.applied, "2 STEP", "2 CUBICSPLINE"))
        << (notes.applied.empty() ? "" : notes.applied.back());

    // Points 10 cm along each axis, and the origin, where each frame puts them.
    const Vec3 probes[4] = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {0, 0, 10}};
    for (const char* name : {"Mover", "Spinner"}) {
        const DzNode* node = dzScene->findNodeByLabel(QString::fromLatin1(name));
        ASSERT_NE(node, nullptr) << name;
        const Channel* move = nullptr;
        const Channel* turn = nullptr;
        for (const Channel& c : channels()) {
            if (std::string(c.node) == name) {
                (std::string(c.path) == "rotation" ? turn : move) = &c;
            }
        }
        for (int f = 0; f <= 30; ++f) {
            const double t = f / 30.0;
            const DzMatrix3 world = node->getWSTransform(DzTime(f) * dzScene->getTimeStep());
            const std::vector<double> at = glTFValue(*move, t), q = glTFValue(*turn, t);
            for (const Vec3& p : probes) {
                const Vec3 turned = rotate(q, p);
                const DzVec3 got = world.multPnt(DzVec3(float(p[0]), float(p[1]), float(p[2])));
                const float want[3] = {float(turned[0] + 100 * at[0]),
                                       float(turned[1] + 100 * at[1]),
                                       float(turned[2] + 100 * at[2])};
                EXPECT_NEAR(got.m_x, want[0], 1e-2) << name << " frame " << f;
                EXPECT_NEAR(got.m_y, want[1], 1e-2) << name << " frame " << f;
                EXPECT_NEAR(got.m_z, want[2], 1e-2) << name << " frame " << f;
            }
        }
    }
    DzScene::destroy();
}

// Files that lie: each case breaks the weights' or a spline's accessor, a
// buffer or the container. Reading must not crash or allocate what the lie
// asks for; what cannot be read stays as Assimp gives it, with a note.
TEST(GltfSource, HostileFilesLeaveAssimpsDataAndANote) {
    Scratch scratch;
    const QString stripPath = scratch.path("strip.gltf");
    const QString pairPath = scratch.path("pair.gltf");
    const Gltf strip = weightedStrip(false);
    const Gltf pair = animatedPair();
    strip.write(stripPath, false);
    pair.write(pairPath, false);
    Assimp::Importer stripImporter, pairImporter;
    const aiScene* stripScene =
        stripImporter.ReadFile(stripPath.toStdString(), yfx::model::kModelReadSteps);
    const aiScene* pairScene =
        pairImporter.ReadFile(pairPath.toStdString(), yfx::model::kModelReadSteps);
    ASSERT_NE(stripScene, nullptr);
    ASSERT_NE(pairScene, nullptr);

    const std::size_t weights = strip.doc["meshes"][0]["primitives"][0]["attributes"]["WEIGHTS_0"];
    const std::size_t spline = pair.doc["animations"][0]["samplers"][1]["output"];
    const struct {
        const char* what;
        bool curves; // the pair's spline, else the strip's weights
        bool glb;
        std::function<void(json&)> lie;
        const char* loadError; // the file is refused as a whole
    } cases[] = {
        {"offset past the buffer", false, false,
         [&](json& d) { d["accessors"][weights]["byteOffset"] = 1u << 30; }, nullptr},
        {"count overflow", false, false,
         [&](json& d) { d["accessors"][weights]["count"] = std::uint64_t(1) << 62; }, nullptr},
        {"count overflow of a spline", true, false,
         [&](json& d) { d["accessors"][spline]["count"] = ~std::uint64_t(0) / 3; }, nullptr},
        {"stride too small", false, true,
         [&](json& d) {
             d["bufferViews"][std::size_t(d["accessors"][weights]["bufferView"])]["byteStride"] = 2;
         },
         nullptr},
        {"missing buffer file", false, false,
         [](json& d) {
             d["buffers"] = {{{"uri", "gone.bin"}, {"byteLength", 4096}}};
         },
         nullptr},
        {"buffer longer than its file", true, false,
         [](json& d) {
             d["buffers"] = {{{"uri", "pair.bin"}, {"byteLength", 1u << 31}}};
         },
         nullptr},
        {"bad base64", false, false,
         [](json& d) {
             d["buffers"] = {
                 {{"uri", "data:application/octet-stream;base64,AAAA@@@="}, {"byteLength", 3}}};
         },
         nullptr},
        {"container chunk past the end", false, true, nullptr, "chunk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Gltf file = c.curves ? pair : strip;
        if (c.lie) {
            c.lie(file.doc);
        }
        QByteArray bytes = file.bytes(scratch.path(c.curves ? "pair.gltf" : "strip.gltf"), c.glb);
        if (c.loadError != nullptr) {
            bytes[15] = char(0x7f); // the JSON chunk's length, now past the end
        }
        yfx::model::GltfSource source;
        std::string error;
        const bool loaded = source.parse(bytes, scratch.path(""), error);
        if (c.loadError != nullptr) {
            EXPECT_FALSE(loaded);
            EXPECT_NE(error.find(c.loadError), std::string::npos) << error;
            continue;
        }
        ASSERT_TRUE(loaded) << error;
        yfx::model::ModelNotes notes;
        if (c.curves) {
            const yfx::model::AnimationCurves curves =
                yfx::model::readGltfCurves(*pairScene, 0, source, notes);
            EXPECT_TRUE(curves.count("Mover") == 0 || curves.at("Mover").rotation.empty());
            EXPECT_TRUE(mentions(notes.droppedLines(), "'Mover rotation'", "linearly"));
        } else {
            const yfx::model::SkinWeightTable table =
                yfx::model::mendGltfWeights(*stripScene, source, notes);
            ASSERT_EQ(table.meshes.size(), 1u);
            EXPECT_TRUE(table.meshes[0].empty());
            EXPECT_TRUE(mentions(notes.droppedLines(), "'Strip primitive 0'", "misread"));
            EXPECT_TRUE(notes.applied.empty());
        }
    }
}

} // namespace
} // namespace modeltest
