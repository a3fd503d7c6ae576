// The glTF 2, FBX, Collada, OBJ, X and LWO models of Debian's
// assimp-testmodels, each converted to a project file through the scene
// builder and the plug-in's exporter: each either converts, in bounded time,
// to a file the reader accepts, or is refused because Assimp cannot read it.
// A skinned model keeps every vertex weighted and every bone that carries
// weights. The counts per format, and each refusal with its reason, are
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
        yfx::ModelToProject request;
        request.model = path;
        request.project = scratch.path(QStringLiteral("model.yfx"));
        request.exportOptions = defaultExportOptions();
        request.showProgress = false;
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
            t.reasons.push_back(
                QDir(QStringLiteral(YFX_TEST_MODELS_DIR)).relativeFilePath(path).toStdString() +
                ": " + (scene == nullptr ? importer.GetErrorString() : "an empty scene"));
            continue;
        }
        ++t.converted;
        yfx::SceneDoc doc;
        std::string reason;
        ASSERT_EQ(yfx::loadFile(doc, request.project.toStdWString(), &reason), 1) << reason;
        ASSERT_NE(scene, nullptr);
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
