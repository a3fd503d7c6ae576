// A skinned, animated figure written as glTF by the test, converted to a
// project file through the scene builder and the plug-in's exporter, and read
// back with loadFile: every corner's position (in centimetres, posed as the
// model poses it at frame 0) and UV, every vertex's weights (pruned and
// normalised as the export passes leave them), the bone tree and its world
// transforms at rest and at every sampled frame, the materials with their
// texture files, the light, and the notes for what the host has no place for.
// A hand-written OBJ whose faces put distinct vertices at one position
// arrives with every face.
#include "doc_poses.h"
#include "gltf_figure.h"
#include "model_test_support.h"

#include "format/load_file.h"
#include "tools/yfx/model_convert.h"

#include <QtCore/QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>

namespace modeltest {
namespace {

constexpr double kCm = 100.0;
constexpr double kPositionTolerance = 2e-3; // centimetres
constexpr double kUVTolerance = 1e-5;
constexpr double kWeightTolerance = 2e-4; // host weights are 16-bit
constexpr double kRotationTolerance = 1e-4;
constexpr int kFrames = 31; // 1 s at 30 frames per second, both ends

struct ExpectedTriangle {
    Vec3 corners[3];
    std::array<double, 2> uvs[3];
    std::map<std::string, double> weights[3];
};

std::map<std::string, double> exportedWeights(const FigureVertex& v) {
    std::map<std::string, double> out;
    double total = 0;
    for (int j = 0; j < kJointCount; ++j) {
        if (v.weights[std::size_t(j)] >= 1e-4) {
            total += v.weights[std::size_t(j)];
        }
    }
    for (int j = 0; j < kJointCount; ++j) {
        if (v.weights[std::size_t(j)] >= 1e-4) {
            out[kJointNames[j]] = v.weights[std::size_t(j)] / total;
        }
    }
    return out;
}

std::vector<ExpectedTriangle> expectedTriangles() {
    std::vector<ExpectedTriangle> out;
    for (const auto& t : bodyTriangles()) {
        ExpectedTriangle e;
        for (int c = 0; c < 3; ++c) {
            const FigureVertex& v = bodyVertices()[std::size_t(t[std::size_t(c)])];
            const Vec3 p = skinnedPosition(v, 0.0);
            e.corners[c] = {p[0] * kCm, p[1] * kCm, p[2] * kCm};
            e.uvs[c] = v.uv0;
            e.weights[c] = exportedWeights(v);
        }
        out.push_back(e);
    }
    for (const auto& t : boxTriangles()) {
        ExpectedTriangle e;
        for (int c = 0; c < 3; ++c) {
            const FigureVertex& v = boxVertices()[std::size_t(t[std::size_t(c)])];
            const Vec3 p = boxPlacement() * v.position;
            e.corners[c] = {p[0] * kCm, p[1] * kCm, p[2] * kCm};
            e.uvs[c] = v.uv1; // the Crate material maps UV channel 1
            e.weights[c] = {{"Box", 1.0}};
        }
        out.push_back(e);
    }
    return out;
}

double distance(const Vec3& a, const float b[3]) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                     (a[2] - b[2]) * (a[2] - b[2]));
}

// The expected triangle a polygon is, and by how many corners it is turned; -1 if none.
int matchTriangle(const yfx::SceneDoc& doc, const yfx::DocPolygon& polygon,
                  const std::vector<ExpectedTriangle>& expected, int& turn) {
    if (polygon.cornerCount() != 3) {
        return -1;
    }
    for (std::size_t e = 0; e < expected.size(); ++e) {
        for (turn = 0; turn < 3; ++turn) {
            bool same = true;
            for (int c = 0; c < 3 && same; ++c) {
                const float* p =
                    doc.vertices[std::size_t(polygon.corners[std::size_t(c)].vertex)].position;
                same = distance(expected[e].corners[(c + turn) % 3], p) < kPositionTolerance;
            }
            if (same) {
                return int(e);
            }
        }
    }
    return -1;
}

void expectRotation(const Affine& got, const Affine& want, const std::string& what) {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR(got.r[i][j], want.r[i][j], kRotationTolerance)
                << what << " [" << i << "][" << j << "]";
        }
    }
}

void expectPosition(const Vec3& got, const Vec3& want, const std::string& what) {
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(got[std::size_t(k)], want[std::size_t(k)] * kCm, kPositionTolerance)
            << what << " axis " << k;
    }
}

std::string fileName(const yfx::NamePair& path) {
    return QFileInfo(QString::fromWCharArray(path.wide).replace('\\', '/'))
        .fileName()
        .toStdString();
}

const yfx::DocMap* mapOf(const yfx::DocMaterial& m, int channel) {
    for (const auto& map : m.maps) {
        if (map && map->channel == channel) {
            return map.get();
        }
    }
    return nullptr;
}

bool mentions(const std::vector<std::string>& lines, const std::string& a, const std::string& b) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(a) != std::string::npos && l.find(b) != std::string::npos;
    });
}

TEST(ModelToProject, FigureKeepsGeometryWeightsBonesKeysAndMaterials) {
    Scratch scratch;
    const std::string gltf = writeFigureGltf(scratch.folder("model").toStdString());
    yfx::ModelToProject request;
    request.model = QString::fromStdString(gltf);
    request.project = scratch.folder("out") + "/figure.yfx";
    request.exportOptions = defaultExportOptions();
    yfx::ConvertOutcome outcome;
    ASSERT_TRUE(yfx::convertModelToProject(filterModule(), request, "convert", outcome))
        << outcome.problem.toStdString();
    yfx::SceneDoc doc;
    std::string reason;
    ASSERT_EQ(yfx::loadFile(doc, request.project.toStdWString(), &reason), 1) << reason;

    // Geometry, UVs and weights: each polygon one of the model's triangles,
    // each model triangle met once.
    const std::vector<ExpectedTriangle> expected = expectedTriangles();
    std::vector<int> met(expected.size(), 0);
    ASSERT_EQ(doc.meshes.size(), 1u);
    ASSERT_FALSE(doc.uvsets.empty());
    for (const yfx::DocPolygon& polygon : doc.meshes[0].polygons) {
        int turn = 0;
        const int e = matchTriangle(doc, polygon, expected, turn);
        ASSERT_GE(e, 0) << "a polygon that is no triangle of the model";
        ++met[std::size_t(e)];
        for (int c = 0; c < 3; ++c) {
            const yfx::DocCorner& corner = polygon.corners[std::size_t(c)];
            const int k = (c + turn) % 3;
            const yfx::DocUV& uv = doc.uvsets[0].uvs.at(std::size_t(corner.uv[0].index));
            EXPECT_NEAR(uv.u, expected[std::size_t(e)].uvs[k][0], kUVTolerance) << "triangle " << e;
            EXPECT_NEAR(uv.v, expected[std::size_t(e)].uvs[k][1], kUVTolerance) << "triangle " << e;
            std::map<std::string, double> weights;
            for (const yfx::DocWeight& w : doc.vertices[std::size_t(corner.vertex)].weights) {
                weights[boneName(doc, w.bone)] += w.weight;
            }
            ASSERT_EQ(weights.size(), expected[std::size_t(e)].weights[k].size())
                << "triangle " << e;
            for (const auto& w : expected[std::size_t(e)].weights[k]) {
                EXPECT_NEAR(weights[w.first], w.second, kWeightTolerance)
                    << w.first << ", triangle " << e;
            }
        }
    }
    for (std::size_t e = 0; e < met.size(); ++e) {
        EXPECT_EQ(met[e], 1) << "model triangle " << e;
    }

    // Bones: the tree, and world transforms at rest (the export's frame 0) and
    // at every sampled frame. A bone's world rotation is its move from bind.
    int joints[kJointCount];
    for (int j = 0; j < kJointCount; ++j) {
        joints[j] = boneNamed(doc, kJointNames[j]);
        ASSERT_GE(joints[j], 0) << kJointNames[j];
        const int parent = doc.bones[std::size_t(joints[j])].parent;
        EXPECT_EQ(boneName(doc, parent),
                  kJointParents[j] < 0 ? "Body" : kJointNames[kJointParents[j]]);
    }
    const auto binds = jointBinds();
    const std::vector<Affine> rest = restWorlds(doc);
    const auto atZero = jointWorlds(0.0);
    for (int j = 0; j < kJointCount; ++j) {
        const Affine& got = rest[std::size_t(joints[j])];
        expectPosition(got.t, atZero[std::size_t(j)].t, std::string("rest ") + kJointNames[j]);
        expectRotation(got, atZero[std::size_t(j)] * inverseRigid(binds[std::size_t(j)]),
                       std::string("rest ") + kJointNames[j]);
    }
    ASSERT_EQ(doc.animations.size(), 1u);
    const yfx::DocAnimation& animation = doc.animations[0];
    EXPECT_FLOAT_EQ(animation.frames_per_second, 30.0f);
    for (std::size_t k = 0; k < std::size_t(kFrames); ++k) {
        const std::vector<Affine> worlds = keyWorlds(doc, k);
        const double seconds = double(k) / 30.0;
        EXPECT_NEAR(animation.tracks[std::size_t(joints[0])].position_keys.at(k).time, seconds,
                    1e-5);
        const auto want = jointWorlds(seconds);
        for (int j = 0; j < kJointCount; ++j) {
            const std::string what = std::string(kJointNames[j]) + " at frame " + std::to_string(k);
            expectPosition(worlds[std::size_t(joints[j])].t, want[std::size_t(j)].t, what);
            expectRotation(worlds[std::size_t(joints[j])],
                           want[std::size_t(j)] * inverseRigid(binds[std::size_t(j)]), what);
        }
    }
    EXPECT_EQ(animation.tracks[0].position_keys.size(), std::size_t(kFrames));

    // Materials, with their texture files beside the project file.
    std::map<std::string, const yfx::DocMaterial*> materials;
    for (const yfx::DocMaterial& m : doc.materials) {
        materials[m.name.ansi] = &m;
    }
    ASSERT_EQ(materials.size(), 3u);
    const struct {
        const char* material;
        int channel;
        std::uint32_t flags; // 0: not checked
        const char* file;
    } maps[] = {{"Skin", 0, 0, "skin.png"},
                {"Skin", 2, 2, "skin_normal.png"},
                {"Cloth", 0, 0, "figure_texture0.png"},
                {"Crate", 0, 0, "crate.png"}};
    for (const auto& m : maps) {
        ASSERT_TRUE(materials.count(m.material)) << m.material;
        const yfx::DocMap* map = mapOf(*materials[m.material], m.channel);
        ASSERT_NE(map, nullptr) << m.material << " channel " << m.channel;
        EXPECT_EQ(fileName(map->path), m.file);
        if (m.flags != 0) {
            EXPECT_EQ(map->flags & m.flags, m.flags) << m.material;
        }
        EXPECT_TRUE(QFileInfo::exists(scratch.folder("out") + "/" + m.file)) << m.file;
    }
    EXPECT_EQ(mapOf(*materials["Cloth"], 1), nullptr);
    EXPECT_NEAR(materials["Cloth"]->diffuse[0], 0.8, 1.0 / 255);
    EXPECT_NEAR(materials["Cloth"]->diffuse[1], 0.2, 1.0 / 255);

    // The light: a point light with its colour and intensity, in place.
    ASSERT_EQ(doc.lights.size(), 1u);
    EXPECT_EQ(doc.lights[0].kind, yfx::kLightPoint);
    EXPECT_NEAR(doc.lights[0].intensity, 2.0, 1e-5);
    EXPECT_NEAR(doc.lights[0].colour[1], 0.5, 1.0 / 255);
    EXPECT_NEAR(doc.lights[0].transform.position[1], 3 * kCm, kPositionTolerance);

    // What the host has no place for is said.
    EXPECT_TRUE(mentions(outcome.notes.droppedLines(), "Cloth", "cloth_ao.png"));
    EXPECT_TRUE(mentions(outcome.notes.applied, "metres", "100"));
}

TEST(ModelToProject, FacesWithDistinctVerticesAtOnePositionArrive) {
    Scratch scratch;
    const std::string obj = scratch.file("slivers.obj");
    {
        std::ofstream out(obj);
        out << "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
               "v 0 0 0\nv 1 1 0\n" // 5 and 6 at the places of 1 and 3
               "vt 0 0\n"
               "f 1/1 5/1 2/1\n"          // a sliver: two corners at one position
               "f 1/1 2/1 3/1 4/1\n"      // a plain quad
               "f 2/1 3/1 6/1 4/1\n"      // a quad with two corners at one position
               "f 1/1 2/1 3/1 6/1 4/1\n"; // five corners, split into three triangles
    }
    const yfx::ModelToProject request =
        convertRequest(QString::fromStdString(obj), scratch.path("slivers.yfx"));
    yfx::ConvertOutcome outcome;
    ASSERT_TRUE(yfx::convertModelToProject(filterModule(), request, "convert", outcome))
        << outcome.problem.toStdString();
    yfx::SceneDoc doc;
    std::string reason;
    ASSERT_EQ(yfx::loadFile(doc, request.project.toStdWString(), &reason), 1) << reason;
    ASSERT_EQ(doc.meshes.size(), 1u);
    EXPECT_EQ(doc.meshes[0].polygons.size(), 6u);
    for (const std::string& line : outcome.notes.droppedLines()) {
        EXPECT_EQ(line.find("faces"), std::string::npos) << line;
    }
}

} // namespace
} // namespace modeltest
