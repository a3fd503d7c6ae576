// The glTF 2, FBX, Collada, OBJ, X and LWO models of Debian's
// assimp-testmodels, each converted to a project file through the scene
// builder and the plug-in's exporter: each either converts, in bounded time,
// to a file the reader accepts, or is refused because Assimp cannot read it.
// Every facet the scene builder made arrives in the file. A skinned model
// keeps every vertex weighted and every bone that carries weights. The counts
// per format, each refusal with its reason, and per model its polygons, the
// facets kept and the lines that say what was left out of its faces are
// printed.
#include "model_test_support.h"

#include "format/load_file.h"
#include "model/read_steps.h"
#include "tools/yfx/model_convert.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <QtCore/QDir>
#include <QtCore/QDirIterator>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFileInfo>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

namespace modeltest {
namespace {

// A conversion takes at most this long (the slowest model takes about a
// second in the default build).
constexpr double kSecondsPerModel = 60.0;

const char* const kExtensions[] = {"gltf", "glb", "fbx", "dae", "obj", "x", "lwo"};

std::string formatOf(const QString& path) {
    const std::string ext = QFileInfo(path).suffix().toLower().toStdString();
    return ext == "glb" ? "gltf" : ext;
}

// Every model of the six formats, sorted; glTF 1 files (folder glTF) are not glTF 2.
QStringList testModels() {
    QStringList out;
    const QString root = QStringLiteral(YFX_TEST_MODELS_DIR);
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const std::string ext = QFileInfo(path).suffix().toLower().toStdString();
        const bool wanted = std::any_of(std::begin(kExtensions), std::end(kExtensions),
                                        [&](const char* e) { return ext == e; });
        if (wanted && !QDir(root).relativeFilePath(path).startsWith(QLatin1String("glTF/"))) {
            out << path;
        }
    }
    out.sort();
    return out;
}

std::string relativePath(const QString& path) {
    return QDir(QStringLiteral(YFX_TEST_MODELS_DIR)).relativeFilePath(path).toStdString();
}

// Names of the bones that carry weights, and whether some vertex of a skinned
// mesh has none.
std::set<std::string> weightedBones(const aiScene& scene) {
    std::set<std::string> names;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        for (unsigned b = 0; b < mesh.mNumBones; ++b) {
            if (mesh.mBones[b]->mNumWeights > 0 &&
                scene.mRootNode->FindNode(mesh.mBones[b]->mName) != nullptr) {
                names.insert(mesh.mBones[b]->mName.C_Str());
            }
        }
    }
    return names;
}

// Faces of three corners or more the model's nodes show, a mesh shown by two
// nodes counted twice.
std::size_t polygonsShown(const aiScene& scene, const aiNode& node) {
    std::size_t n = 0;
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[i]];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            n += mesh.mFaces[f].mNumIndices >= 3;
        }
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) {
        n += polygonsShown(scene, *node.mChildren[c]);
    }
    return n;
}

// The left-out lines about faces ("mesh 'NAME': N ..."), and the faces they
// count.
std::size_t faceLosses(const yfx::model::ModelNotes& notes, std::vector<std::string>& lines) {
    std::size_t faces = 0;
    for (const std::string& line : notes.droppedLines()) {
        const bool points = line.find(" points and lines") != std::string::npos;
        if (line.find(" faces ") == std::string::npos && !points) {
            continue;
        }
        lines.push_back(line);
        if (!points) {
            faces += std::stoul(line.substr(line.find("': ") + 3));
        }
    }
    return faces;
}

struct Tally {
    int converted = 0;
    int refused = 0;
    std::vector<std::string> reasons;
};

TEST(TestModels, EachConvertsOrIsRefusedByAssimp) {
    const QStringList models = testModels();
    if (models.isEmpty()) {
        GTEST_SKIP() << "assimp-testmodels is not installed";
    }
    std::map<std::string, Tally> tally;
    for (const QString& path : models) {
        SCOPED_TRACE(path.toStdString());
        Scratch scratch;
        const yfx::ModelToProject request =
            convertRequest(path, scratch.path(QStringLiteral("model.yfx")));
        yfx::ConvertOutcome outcome;
        QElapsedTimer timer;
        timer.start();
        const bool ok = yfx::convertModelToProject(filterModule(), request, "convert", outcome);
        EXPECT_LT(timer.elapsed() / 1000.0, kSecondsPerModel);

        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path.toStdString(), yfx::model::kModelReadSteps);
        Tally& t = tally[formatOf(path)];
        if (!ok) {
            // Refused: Assimp cannot read it, or it holds nothing but an empty root.
            const bool empty = scene != nullptr && scene->mNumMeshes == 0 &&
                               scene->mNumLights == 0 && scene->mNumCameras == 0 &&
                               scene->mRootNode->mNumChildren == 0;
            EXPECT_TRUE(scene == nullptr || empty)
                << "refused although Assimp reads it: " << outcome.problem.toStdString();
            ++t.refused;
            t.reasons.push_back(relativePath(path) + ": " +
                                (scene == nullptr ? importer.GetErrorString() : "an empty scene"));
            continue;
        }
        ++t.converted;
        yfx::SceneDoc doc;
        std::string reason;
        ASSERT_EQ(yfx::loadFile(doc, request.project.toStdWString(), &reason), 1) << reason;
        ASSERT_NE(scene, nullptr);
        // Every face the model shows is kept or said to be left out, and
        // every facet made from the kept ones arrives.
        std::size_t polygons = 0;
        for (const yfx::DocMesh& mesh : doc.meshes) {
            polygons += mesh.polygons.size();
        }
        std::vector<std::string> lines;
        const std::size_t shown = polygonsShown(*scene, *scene->mRootNode);
        const std::size_t leftOut = faceLosses(outcome.notes, lines);
        EXPECT_EQ(std::size_t(outcome.built.polygons) + leftOut, shown) << "faces lost unsaid";
        EXPECT_EQ(polygons, std::size_t(outcome.built.facets)) << "facets lost on the way";
        std::printf("%s: %zu polygons, %d kept as %d facets, %zu in the file\n",
                    relativePath(path).c_str(), shown, outcome.built.polygons, outcome.built.facets,
                    polygons);
        for (const std::string& line : lines) {
            std::printf("      left out: %s\n", line.c_str());
        }
        const std::set<std::string> bones = weightedBones(*scene);
        if (bones.empty()) {
            continue;
        }
        std::set<std::string> kept;
        for (const yfx::DocVertex& v : doc.vertices) {
            ASSERT_FALSE(v.weights.empty()) << "a vertex without weights";
            for (const yfx::DocWeight& w : v.weights) {
                const std::string name = doc.bones.at(std::size_t(w.bone)).name.ansi;
                if (bones.count(name)) {
                    kept.insert(name);
                }
            }
        }
        EXPECT_EQ(kept, bones) << "the bones that carry weights";
    }
    for (const auto& entry : tally) {
        std::printf("%-5s %3d converted, %d refused\n", entry.first.c_str(), entry.second.converted,
                    entry.second.refused);
        for (const std::string& r : entry.second.reasons) {
            std::printf("      refused: %s\n", r.c_str());
        }
    }
}

} // namespace
} // namespace modeltest
