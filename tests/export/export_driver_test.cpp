// The write step as the filter runs it: nothing without an accepted options
// dialog; the log beside the target, byte for byte; loadable files in both
// layouts; failures that say what failed, leave no temporary file and keep
// the previous file; the host's path limit; the progress phases.
#include "export/export_driver.h"

#include "export/export_log.h"
#include "export/export_option_keys.h"
#include "format/load_file.h"
#include "gather_test_scene.h"
#include "plugin/plugin_test_support.h"
#include "scratch_folder.h"

#include <dzbone.h>
#include <dzdefaultmaterial.h>
#include <dzfigure.h>
#include <dzfileiosettings.h>
#include <dzimagemgr.h>
#include <dzobject.h>
#include <dzpointlight.h>
#include <dzprogress.h>
#include <dzscene.h>

#include <QtGui/QColor>
#include <QtGui/QImage>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using yfx::SceneDoc;
using yfx::exporter::ExportMessage;
using yfx::exporter::ExportResult;
using yfx::exporter::ExportSession;
using yfx_test::hostPath;
using yfx_test::readText;
using yfx_test::ScratchFolder;
using yfx_test::writeText;

namespace fs = std::filesystem;

// The log text of a scene with no nodes, every option off, written to
// `target` (host form), with "\n" for the file's CR LF.
std::string emptySceneLog(const std::string& target) {
    return "doc_filepath: \"" + target +
           "\"\n"
           "creator: Marrowmap Pro Filter for Daz Studio 4.x\n"
           "version: v3.0\n"
           "time: Thu Jan  1 00:00:00 1970\n"
           "\n"
           "      export_lights: 0\n"
           "   export_materials: 0\n"
           "         export_uvs: 0\n"
           "      export_uvsets: 0\n"
           "      export_joints: 0\n"
           "   export_animation: 0\n"
           "     export_visible: 0\n"
           "    export_zeropose: 0\n"
           "    merge_materials: 0\n"
           "       collapse_uvs: 0\n"
           "export_high_resmesh: 0\n"
           "    export_textures: 0\n"
           "      export_as_v2x: 0\n"
           "\n"
           "Exporting scene...\n"
           "NUM_MESHES: 0\n"
           "\n"
           "NUM_MESHES: 0\n"
           "NUM_BONES: 0\n"
           "\n"
           "Finishing up...\n"
           "NUM_MATERIALS: 0 (GLOBAL FINAL)\n"
           "\n"
           "Writing to file...\n"
           "Writing: finished.\n";
}

std::string crlf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
}

std::string narrow(const std::wstring& ascii) {
    return std::string(ascii.begin(), ascii.end());
}

class ExportDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        DzScene::create();
        yfx::exporter::resetLogFirstOpen();
        if (const char* tmp = std::getenv("TMPDIR")) {
            savedTmpdir_ = tmp;
            hadTmpdir_ = true;
        }
        // Temporary files go where the test can see that none is left.
        fs::create_directory(tempFolder());
        ::setenv("TMPDIR", tempFolder().c_str(), 1);
        ::setenv("SOURCE_DATE_EPOCH", "0", 1);
        settings_.setIntValue(QString::fromLatin1(yfx::kExportDialogReturnedKey), 1);
    }
    void TearDown() override {
        DzScene::destroy();
        ::unsetenv("SOURCE_DATE_EPOCH");
        if (hadTmpdir_) {
            ::setenv("TMPDIR", savedTmpdir_.c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }

    std::string tempFolder() const { return scratch_.file("tmp"); }

    ExportResult exportTo(const std::string& target) {
        ExportSession session(doc_);
        ExportResult result =
            yfx::exporter::runExportWrite(session, QString::fromStdString(target), &settings_);
        EXPECT_EQ(session.progress, nullptr);
        EXPECT_TRUE(doc_.bones.empty() && doc_.lights.empty() && doc_.materials.empty())
            << "the document is not emptied";
        return result;
    }

    void setEveryOption(int value) {
        for (const char* key : yfx::kExportOptionKeys) {
            settings_.setIntValue(QString::fromLatin1(key), value);
        }
    }

    static void addLight() {
        auto* light = new DzPointLight;
        light->setLabel(QStringLiteral("Key Light"));
        dzScene->addNode(light);
    }

    ScratchFolder scratch_;
    SceneDoc doc_;
    DzFileIOSettings settings_;
    std::string savedTmpdir_;
    bool hadTmpdir_ = false;
};

TEST_F(ExportDriverTest, NothingHappensWithoutAnAcceptedOptionsStep) {
    addLight();
    const DzFileIOSettings nothingStored;
    DzFileIOSettings cancelled;
    cancelled.setIntValue(QString::fromLatin1(yfx::kExportDialogReturnedKey), 0);
    const DzFileIOSettings* const outcomes[] = {&nothingStored, &cancelled, nullptr};
    for (const DzFileIOSettings* settings : outcomes) {
        ExportSession session(doc_);
        const ExportResult result = yfx::exporter::runExportWrite(
            session, QString::fromStdString(scratch_.file("scene.yfx")), settings);
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(result.message.kind, ExportMessage::None);
        EXPECT_EQ(scratch_.tree(), std::vector<std::string>{"tmp"}) << "no file, no log";
    }

    // Without a scene the step fails before it looks at the settings.
    DzScene::destroy();
    const ExportResult noScene = exportTo(scratch_.file("scene.yfx"));
    EXPECT_EQ(noScene.code, 98);
    EXPECT_EQ(noScene.message.title, QStringLiteral("Error"));
    EXPECT_EQ(scratch_.tree(), std::vector<std::string>{"tmp"});
}

TEST_F(ExportDriverTest, LogOfAMeshSceneIsExact) {
    // A textured quad and a light. A different file named like the texture is
    // already in the target folder, so the copy pass leaves the texture out.
    fs::create_directory(scratch_.file("textures"));
    fs::create_directory(scratch_.file("out"));
    const std::string texturePath = scratch_.file("textures/paint.png");
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::gray);
    ASSERT_TRUE(image.save(QString::fromStdString(texturePath)));
    writeText(scratch_.file("out/paint.png"), "not the texture");

    auto* paint = new DzDefaultMaterial;
    paint->setName(QStringLiteral("Paint"));
    paint->setDiffuseColor(QColor(255, 128, 0));
    paint->setColorMap(dzApp->getImageMgr()->getImage(QString::fromStdString(texturePath)));
    gathertest::attachMesh(gathertest::addNode("Box"),
                           gathertest::facetMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                                 {{{0, 1, 2, 3}, {0, 1, 2, 3}, 0}},
                                                 {{0, 0}, {1, 0}, {1, 1}, {0, 1}}),
                           {paint});
    addLight();
    setEveryOption(1);
    for (const int off : {5, 7, 8, 10, 12}) { // animation, zero pose, merge, high res, v2
        settings_.setIntValue(QString::fromLatin1(yfx::kExportOptionKeys[off]), 0);
    }

    const std::string target = scratch_.file("out/box.yfx");
    ASSERT_EQ(exportTo(target).code, 0);
    const std::string texture = narrow(hostPath(texturePath));
    // The header and options block are those of every log; from there on:
    const std::string expected =
        "Exporting scene...\n"
        "Get_Mesh_Materials (Box)...\n"
        "        numMats: 1\n"
        "numAssemblyMats: 1\n"
        "mat:  0,        name: \"Paint\" (DzDefaultMaterial)\n"
        "    diffuse_color: 255, 128,   0\n"
        "          opacity: 1.000000\n"
        "   color_filepath: \"" +
        texture +
        "\"\n"
        " opacity_filepath: \"\"\n"
        "    bump_filepath: \"\"\n"
        "  normal_filepath: \"\"\n"
        "specular_filepath: \"\"\n"
        "\n"
        "NUM_MESHES: 1\n"
        "MESH:  0, num_faces:     1, num_verts:     4, num_mats:  1, "
        "name: \"Box\"\n"
        "\n"
        "NUM_MESHES: 1\n"
        "MESH: 0, MAT:  0, num_mat_faces:     0, mat: \"Paint\"\n"
        "\n"
        "NUM_BONES: 2\n"
        "[ 0] parent_index: -1, skel: 0, root: 0, joint: 0, name: \"Box\"\n"
        "[ 1] parent_index: -1, skel: 0, root: 0, joint: 0, name: "
        "\"Key Light\"\n"
        "\n"
        "Finishing up...\n"
        "texture not copied (a file of that name is already in the "
        "target folder): \"" +
        texture + "\" -> \"" + narrow(hostPath(scratch_.file("out/paint.png"))) +
        "\"\n"
        "NUM_MATERIALS: 1 (GLOBAL FINAL)\n"
        "mat:  0, num_maps: 1, name: \"Paint\"\n"
        "     map:  0, bitmap_filepath: \"" +
        texture +
        "\"\n"
        "\n"
        "Writing to file...\n"
        "Writing: finished.\n";
    const std::string log = readText(scratch_.file("out/logfile.txt"));
    EXPECT_EQ(log.substr(std::min(log.size(), log.find("Exporting scene..."))), crlf(expected));
    EXPECT_EQ(readText(scratch_.file("out/paint.png")), "not the texture");
}

// With no option key stored every option is off; the paths are given with
// forward slashes. The first log of the run is truncated, every later one is
// appended to, also one that did not exist before.
TEST_F(ExportDriverTest, EmptySceneLogsTruncateFirstThenAppend) {
    for (const char* folder : {"a", "b"}) {
        fs::create_directory(scratch_.file(folder));
    }
    writeText(scratch_.file("a/logfile.txt"), "from an earlier run\r\n");
    std::string expected[2];
    for (const char* name : {"a/one.yfx", "b/two.yfx", "a/three.yfx"}) {
        const ExportResult result = exportTo(scratch_.file(name));
        ASSERT_EQ(result.code, 0) << result.message.text.toStdString();
        EXPECT_EQ(result.message.kind, ExportMessage::Information);
        EXPECT_EQ(result.message.title, QStringLiteral("Success"));
        EXPECT_EQ(result.message.text, QStringLiteral("The file was exported successfully."));
        expected[name[0] - 'a'] += crlf(emptySceneLog(narrow(hostPath(scratch_.file(name)))));
    }
    EXPECT_EQ(readText(scratch_.file("a/logfile.txt")), expected[0]);
    EXPECT_EQ(readText(scratch_.file("b/logfile.txt")), expected[1]);
    EXPECT_EQ(scratch_.tree(),
              (std::vector<std::string>{"a", "a/logfile.txt", "a/one.yfx", "a/three.yfx", "b",
                                        "b/logfile.txt", "b/two.yfx", "tmp"}));
}

TEST_F(ExportDriverTest, WrittenFilesLoadInBothLayouts) {
    addLight();
    struct Case {
        int asV2;
        int version;
        std::size_t lights; // the version 2 layout holds no lights
    };
    for (const Case& c : {Case{0, 31, 1}, Case{1, 9, 0}}) {
        setEveryOption(1);
        settings_.setIntValue(QString::fromLatin1(yfx::kExportOptionKeys[12]), c.asV2);
        const std::string target = scratch_.file("scene.yfx");
        ASSERT_EQ(exportTo(target).code, 0) << c.version;

        SceneDoc loaded;
        std::string reason;
        ASSERT_EQ(yfx::loadFile(loaded, hostPath(target), &reason), 1) << reason;
        EXPECT_EQ(loaded.version, c.version);
        EXPECT_EQ(loaded.lights.size(), c.lights) << c.version;
        ASSERT_EQ(loaded.bones.size(), 1u) << c.version;
        EXPECT_STREQ(loaded.bones[0].name.ansi, "Key Light");
        EXPECT_EQ(fs::directory_iterator(tempFolder()), fs::directory_iterator());
    }
}

// A figure's weight maps are made for its base mesh (three vertices); with a
// high-resolution cache (four vertices) the length check leaves them out, and
// the log and the end message say so.
TEST_F(ExportDriverTest, WeightMapsLeftOutForTheHighResolutionMeshAreSaid) {
    struct Case {
        int highRes, joints;
        bool said;           // in the end message
        std::size_t weights; // of the hip and thigh in the written file
    };
    const std::string logLine = "skin weights left out of \"Body\": weight maps of 3 weights, "
                                "high-resolution mesh of 4 vertices, maps left out: 2\r\n";
    for (const Case& c : {Case{1, 1, true, 0}, Case{1, 0, false, 0}, Case{0, 1, false, 3}}) {
        SCOPED_TRACE(::testing::Message() << "high-res " << c.highRes << ", joints " << c.joints);
        DzScene::destroy();
        DzScene::create();
        yfx::exporter::resetLogFirstOpen();
        auto* figure = gathertest::addNode<DzFigure>("Body");
        auto* hip = gathertest::addNode<DzBone>("Hip", figure);
        auto* thigh = gathertest::addNode<DzBone>("Thigh", hip);
        gathertest::attachMesh(
            figure, gathertest::facetMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}, {}}}),
            {});
        gathertest::bindBone(figure, hip, gathertest::weightMap(3, {{0, 1.0f}, {1, 0.5f}}));
        gathertest::bindBone(figure, thigh, gathertest::weightMap(3, {{1, 0.5f}}));
        if (c.highRes == 1) {
            figure->getObject()->setCachedGeom(gathertest::facetMesh(
                {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{{0, 1, 2, 3}, {}}}));
        }
        setEveryOption(0);
        settings_.setIntValue(QString::fromLatin1(yfx::kExportOptionKeys[4]), c.joints);
        settings_.setIntValue(QString::fromLatin1(yfx::kExportOptionKeys[10]), c.highRes);
        const std::string target = scratch_.file("body.yfx");
        const ExportResult result = exportTo(target);
        ASSERT_EQ(result.code, 0);
        EXPECT_EQ(result.message.kind, ExportMessage::Information);
        EXPECT_EQ(result.message.title, QStringLiteral("Success"));
        const QString said = QStringLiteral(
            "The file was exported successfully. \"Body\" was written without skin weights: its "
            "weight maps do not fit the mesh exported. The weight maps are made for the base mesh; "
            "export without \"Export high resolution meshes\" to keep them.");
        EXPECT_EQ(result.message.text,
                  c.said ? said : QStringLiteral("The file was exported successfully."));
        const std::string log = readText(scratch_.file("logfile.txt"));
        EXPECT_EQ(log.find(logLine) != std::string::npos, c.highRes == 1) << log;

        SceneDoc loaded;
        std::string reason;
        ASSERT_EQ(yfx::loadFile(loaded, hostPath(target), &reason), 1) << reason;
        std::size_t weights = 0;
        for (const yfx::DocVertex& vertex : loaded.vertices) {
            for (const yfx::DocWeight& weight : vertex.weights) {
                weights += weight.bone > 0 ? 1 : 0; // bone 0 (the figure) takes what is left
            }
        }
        EXPECT_EQ(weights, c.weights);
    }
}

TEST_F(ExportDriverTest, FailuresSayWhatFailedAndKeepThePreviousFile) {
    addLight();
    setEveryOption(1);
    const std::string previous = "the user's previous file";
    rlimit savedFileLimit = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &savedFileLimit), 0);
    struct Case {
        const char* what;
        std::function<std::string()> prepare; // returns the target
        std::string said;                     // a piece of the message
        bool hasPrevious;
    };
    std::vector<Case> cases = {
        {"folder missing", [&] { return scratch_.file("missing/scene.yfx"); }, "/missing", false},
        {"folder is a file",
         [&] {
             writeText(scratch_.file("plain"), "x");
             return scratch_.file("plain/scene.yfx");
         },
         "/plain", false},
        {"target is a folder",
         [&] {
             fs::create_directory(scratch_.file("folder.yfx"));
             return scratch_.file("folder.yfx");
         },
         "folder.yfx\" is a folder", false},
        {"temporary folder missing",
         [&] {
             ::setenv("TMPDIR", scratch_.file("no-tmp").c_str(), 1);
             writeText(scratch_.file("kept.yfx"), previous);
             return scratch_.file("kept.yfx");
         },
         "/no-tmp", true},
    };
    // A file size limit makes the writer's writes into the temporary file fail.
    cases.push_back({"writer fails",
                     [&] {
                         writeText(scratch_.file("kept.yfx"), previous);
                         ::signal(SIGXFSZ, SIG_IGN);
                         const rlimit small = {256, savedFileLimit.rlim_max};
                         ::setrlimit(RLIMIT_FSIZE, &small);
                         return scratch_.file("kept.yfx");
                     },
                     "writing the scene into the temporary file", true});
    if (::geteuid() != 0) { // permissions do not bind the superuser
        cases.push_back({"folder not writable",
                         [&] {
                             fs::create_directory(scratch_.file("locked"));
                             writeText(scratch_.file("locked/kept.yfx"), previous);
                             ::chmod(scratch_.file("locked").c_str(), 0500);
                             return scratch_.file("locked/kept.yfx");
                         },
                         "/locked", true});
    }
    for (const Case& c : cases) {
        const std::string target = c.prepare();
        const ExportResult result = exportTo(target);
        ::setrlimit(RLIMIT_FSIZE, &savedFileLimit);
        ::setenv("TMPDIR", tempFolder().c_str(), 1);
        ::chmod(scratch_.file("locked").c_str(), 0700);

        EXPECT_EQ(result.code, 98) << c.what;
        EXPECT_EQ(result.message.kind, ExportMessage::Warning) << c.what;
        EXPECT_EQ(result.message.title, QStringLiteral("Error")) << c.what;
        EXPECT_NE(result.message.text.toStdString().find(c.said), std::string::npos)
            << c.what << ": " << result.message.text.toStdString();
        if (c.hasPrevious) {
            EXPECT_EQ(readText(target), previous) << c.what;
        }
        for (const std::string& entry : scratch_.tree()) {
            EXPECT_EQ(entry.find(".tmp-"), std::string::npos) << c.what << ": " << entry;
            EXPECT_NE(entry.rfind("tmp/", 0), 0u) << c.what << ": " << entry;
        }
    }
    // A failure after gathering ends the log with what failed.
    const std::string log = readText(scratch_.file("logfile.txt"));
    EXPECT_NE(log.find("Writing to file...\r\nWriting: failed: no temporary file"),
              std::string::npos)
        << log;
}

TEST_F(ExportDriverTest, PathsAtTheHostLimitAreWrittenLongerOnesRefused) {
    // "logfile.txt" has 11 characters; a folder of 248 puts the log at 259.
    const auto folderOf = [this](std::size_t length, char fill) {
        const std::size_t pad = length - scratch_.path().size() - 2;
        const std::string folder = scratch_.path() + "/" + std::string(pad, fill) + "/";
        fs::create_directories(folder);
        EXPECT_EQ(folder.size(), length);
        return folder;
    };
    struct Case {
        std::size_t folder;
        char fill;
        const char* name;
        int code;
        const char* said;
    };
    const Case cases[] = {
        {248, 'f', "abcdefg.yfx", 0, ""}, // target 259, log 259
        {248, 'g', "abcdefgh.yfx", 98, "has 260 characters"},
        {249, 'h', "a.yfx", 98, "log file"}, // target 254, log 260
    };
    for (const Case& c : cases) {
        const std::string folder = folderOf(c.folder, c.fill);
        const std::string target = folder + c.name;
        const ExportResult result = exportTo(target);
        EXPECT_EQ(result.code, c.code) << target.size();
        EXPECT_NE(result.message.text.toStdString().find(c.said), std::string::npos)
            << result.message.text.toStdString();
        EXPECT_EQ(fs::exists(target), c.code == 0) << target.size();
        EXPECT_EQ(fs::exists(folder + "logfile.txt"), c.code == 0);
    }
}

TEST_F(ExportDriverTest, ProgressRunsThroughGatheringPassesAndWriting) {
    addLight();
    std::vector<QString> phases;
    int outerStep = -1;
    int passSteps = 0;
    DzProgress::setListener([&](const DzProgress::Report& report) {
        if (report.depth == 1) {
            EXPECT_EQ(report.totalSteps, 3);
            outerStep = report.currentStep;
            if (report.kind == DzProgress::Report::InfoChanged) {
                phases.push_back(report.info);
            }
        } else if (report.info == QStringLiteral("buildVertexPool")) {
            passSteps = report.currentStep;
        }
    });
    const ExportResult result = exportTo(scratch_.file("scene.yfx"));
    DzProgress::setListener(DzProgress::Listener());
    ASSERT_EQ(result.code, 0);
    EXPECT_EQ(phases, (std::vector<QString>{QStringLiteral("Gathering the scene"),
                                            QStringLiteral("Processing the scene"),
                                            QStringLiteral("Writing the file")}));
    EXPECT_EQ(outerStep, 3) << "the progress is not finished";
    EXPECT_GT(passSteps, 5) << "the passes do not step their progress";
}

} // namespace
