// The test figure converted to a project file and that file converted back to
// glTF through the plug-in's importer and the scene writer, read by Assimp:
// the same triangles with the same UVs, materials and texture files, weights
// and bones, the same joint motion at every frame the importer keys, and the
// same skinned positions at frame 0 (at every frame for rigidly bound ones).
#include "gltf_figure.h"
#include "model_test_support.h"

#include "model/read_steps.h"
#include "tools/yfx/model_convert.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <QtCore/QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace modeltest {
namespace {

constexpr double kPositionTolerance = 2e-5; // metres
constexpr double kUVTolerance = 1e-5;
constexpr double kWeightTolerance = 2e-4;
constexpr double kRotationTolerance = 1e-4;
// The importer bakes every frame up to the last key time: 0 to 30.
constexpr unsigned kImportedFrames = 31;

Affine affineOf(const aiMatrix4x4& m) {
    Affine a;
    const float rows[3][4] = {
        {m.a1, m.a2, m.a3, m.a4}, {m.b1, m.b2, m.b3, m.b4}, {m.c1, m.c2, m.c3, m.c4}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            a.r[i][j] = rows[i][j];
        }
        a.t[std::size_t(i)] = rows[i][3];
    }
    return a;
}

// Node world transforms of the written scene at key k of its animation.
struct Poser {
    const aiScene& scene;
    std::map<std::string, const aiNodeAnim*> channels;
    explicit Poser(const aiScene& s) : scene(s) {
        for (unsigned c = 0; s.mNumAnimations > 0 && c < s.mAnimations[0]->mNumChannels; ++c) {
            channels[s.mAnimations[0]->mChannels[c]->mNodeName.C_Str()] =
                s.mAnimations[0]->mChannels[c];
        }
    }
    Affine local(const aiNode& node, unsigned k) const {
        const auto it = channels.find(node.mName.C_Str());
        if (it == channels.end()) {
            return affineOf(node.mTransformation);
        }
        const aiNodeAnim& c = *it->second;
        const aiMatrix4x4 m(c.mScalingKeys[std::min(k, c.mNumScalingKeys - 1)].mValue,
                            c.mRotationKeys[std::min(k, c.mNumRotationKeys - 1)].mValue,
                            c.mPositionKeys[std::min(k, c.mNumPositionKeys - 1)].mValue);
        return affineOf(m);
    }
    Affine world(const aiNode* node, unsigned k) const {
        Affine w = local(*node, k);
        for (const aiNode* up = node->mParent; up != nullptr; up = up->mParent) {
            w = local(*up, k) * w;
        }
        return w;
    }
};

std::map<std::string, double> weightsOf(const FigureVertex& v) {
    std::map<std::string, double> out;
    double total = 0;
    for (int j = 0; j < kJointCount; ++j) {
        total += v.weights[std::size_t(j)] >= 1e-4 ? v.weights[std::size_t(j)] : 0.0;
    }
    for (int j = 0; j < kJointCount; ++j) {
        if (v.weights[std::size_t(j)] >= 1e-4) {
            out[kJointNames[j]] = v.weights[std::size_t(j)] / total;
        }
    }
    return out;
}

// A vertex of the written scene, skinned at key k.
Vec3 skinned(const aiMesh& mesh, unsigned v, const Poser& poser, unsigned k) {
    Vec3 out = {0, 0, 0};
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        for (unsigned w = 0; w < bone.mNumWeights; ++w) {
            if (bone.mWeights[w].mVertexId != v) {
                continue;
            }
            const Affine m = poser.world(poser.scene.mRootNode->FindNode(bone.mName), k) *
                             affineOf(bone.mOffsetMatrix);
            const aiVector3D& p = mesh.mVertices[v];
            const Vec3 moved = m * Vec3{p.x, p.y, p.z};
            for (int i = 0; i < 3; ++i) {
                out[std::size_t(i)] += bone.mWeights[w].mWeight * moved[std::size_t(i)];
            }
        }
    }
    return out;
}

struct Source {
    const FigureVertex* vertex;
    bool body;
};

// The source vertex at this place at time 0, or none.
const FigureVertex* sourceAt(const Vec3& p, bool& body) {
    for (const auto& list :
         {std::make_pair(&bodyVertices(), true), std::make_pair(&boxVertices(), false)}) {
        for (const FigureVertex& v : *list.first) {
            const Vec3 want = list.second ? skinnedPosition(v, 0.0) : boxPlacement() * v.position;
            if (std::fabs(want[0] - p[0]) + std::fabs(want[1] - p[1]) + std::fabs(want[2] - p[2]) <
                1e-4) {
                body = list.second;
                return &v;
            }
        }
    }
    return nullptr;
}

bool mentions(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

TEST(ProjectToModel, FigureComesBackAsTheModelWasAtEveryImportedFrame) {
    Scratch scratch;
    yfx::ModelToProject there;
    there.model = QString::fromStdString(writeFigureGltf(scratch.folder("model").toStdString()));
    there.project = scratch.folder("out") + "/figure.yfx";
    there.exportOptions = defaultExportOptions();
    yfx::ConvertOutcome first;
    ASSERT_TRUE(yfx::convertModelToProject(filterModule(), there, "convert", first))
        << first.problem.toStdString();

    yfx::ProjectToModel back;
    back.project = there.project;
    back.model = scratch.folder("back") + "/figure.gltf";
    back.flags = defaultConvertImportFlags();
    yfx::ConvertOutcome outcome;
    ASSERT_TRUE(yfx::convertProjectToModel(filterModule(), back, "convert", outcome))
        << outcome.problem.toStdString();
    EXPECT_TRUE(mentions(outcome.notes.droppedLines(), "UV set 1"));
    EXPECT_TRUE(mentions(outcome.notes.droppedLines(), "lights"));
    EXPECT_FALSE(mentions(outcome.notes.droppedLines(), "frame"));

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(back.model.toStdString(), yfx::model::kModelReadSteps);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumAnimations, 1u);
    const Poser poser(*scene);

    // Every vertex: where it is at each imported frame, its UV, its weights.
    std::map<const FigureVertex*, int> corners;
    std::map<std::string, std::set<std::string>> maps; // material -> texture files
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh& mesh = *scene->mMeshes[m];
        ASSERT_NE(mesh.mTextureCoords[0], nullptr);
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            bool body = false;
            const FigureVertex* source = sourceAt(skinned(mesh, v, poser, 0), body);
            ASSERT_NE(source, nullptr) << "vertex " << v << " of mesh " << m;
            ++corners[source];
            const auto& uv = body ? source->uv0 : source->uv1;
            EXPECT_NEAR(mesh.mTextureCoords[0][v].x, uv[0], kUVTolerance);
            EXPECT_NEAR(1.0 - mesh.mTextureCoords[0][v].y, uv[1], kUVTolerance);
            std::map<std::string, double> weights;
            for (unsigned b = 0; b < mesh.mNumBones; ++b) {
                for (unsigned w = 0; w < mesh.mBones[b]->mNumWeights; ++w) {
                    // glTF pads every vertex to four joints with zero weights.
                    if (mesh.mBones[b]->mWeights[w].mVertexId == v &&
                        mesh.mBones[b]->mWeights[w].mWeight > 0) {
                        weights[mesh.mBones[b]->mName.C_Str()] +=
                            mesh.mBones[b]->mWeights[w].mWeight;
                    }
                }
            }
            const auto want =
                body ? weightsOf(*source) : std::map<std::string, double>{{"Box", 1.0}};
            ASSERT_EQ(weights.size(), want.size()) << "vertex " << v << " of mesh " << m;
            for (const auto& w : want) {
                EXPECT_NEAR(weights[w.first], w.second, kWeightTolerance) << w.first;
            }
            // A project file holds the mesh as posed at frame 0 and binds it
            // there: a vertex blending bones whose frame 0 pose differs from
            // their bind pose blends from another start, so only a vertex
            // that follows one bone moves as the model's at every frame.
            const unsigned frames = want.size() == 1 ? kImportedFrames : 1;
            for (unsigned k = 0; k < frames; ++k) {
                const Vec3 got = skinned(mesh, v, poser, k);
                const Vec3 expected =
                    body ? skinnedPosition(*source, k / 30.0) : boxPlacement() * source->position;
                for (int i = 0; i < 3; ++i) {
                    EXPECT_NEAR(got[std::size_t(i)], expected[std::size_t(i)], kPositionTolerance)
                        << "frame " << k;
                }
            }
        }
        const aiMaterial& material = *scene->mMaterials[mesh.mMaterialIndex];
        aiString name, file;
        material.Get(AI_MATKEY_NAME, name);
        for (aiTextureType type : {aiTextureType_DIFFUSE, aiTextureType_NORMALS}) {
            if (material.GetTexture(type, 0, &file) == AI_SUCCESS) {
                maps[name.C_Str()].insert(
                    QFileInfo(QString::fromUtf8(file.C_Str())).fileName().toStdString());
            }
        }
        EXPECT_EQ(mesh.mNumFaces, 4u);
    }
    EXPECT_EQ(corners.size(), bodyVertices().size() + boxVertices().size());
    EXPECT_EQ(maps["Skin"], (std::set<std::string>{"skin.png", "skin_normal.png"}));
    EXPECT_EQ(maps["Cloth"], (std::set<std::string>{"figure_texture0.png"}));
    EXPECT_EQ(maps["Crate"], (std::set<std::string>{"crate.png"}));

    // Joints: the tree, and their motion at every imported frame.
    const auto binds = jointBinds();
    const aiAnimation& animation = *scene->mAnimations[0];
    for (int j = 0; j < kJointCount; ++j) {
        const aiNode* joint = scene->mRootNode->FindNode(kJointNames[j]);
        ASSERT_NE(joint, nullptr) << kJointNames[j];
        EXPECT_STREQ(joint->mParent->mName.C_Str(),
                     kJointParents[j] < 0 ? "Body" : kJointNames[kJointParents[j]]);
        for (unsigned k = 0; k < kImportedFrames; ++k) {
            const Affine got = poser.world(joint, k);
            const Affine want = jointWorlds(k / 30.0)[std::size_t(j)];
            const Affine turn = want * inverseRigid(binds[std::size_t(j)]);
            for (int a = 0; a < 3; ++a) {
                EXPECT_NEAR(got.t[std::size_t(a)], want.t[std::size_t(a)], kPositionTolerance)
                    << kJointNames[j] << " frame " << k;
                for (int b = 0; b < 3; ++b) {
                    EXPECT_NEAR(got.r[a][b], turn.r[a][b], kRotationTolerance)
                        << kJointNames[j] << " frame " << k;
                }
            }
        }
    }
    for (unsigned c = 0; c < animation.mNumChannels; ++c) {
        const aiNodeAnim& channel = *animation.mChannels[c];
        ASSERT_EQ(channel.mNumPositionKeys, kImportedFrames) << channel.mNodeName.C_Str();
        EXPECT_NEAR(channel.mPositionKeys[kImportedFrames - 1].mTime / animation.mTicksPerSecond,
                    1.0, 1e-4);
    }
}

} // namespace
} // namespace modeltest
