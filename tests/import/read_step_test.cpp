// The read step on files: what it does without an accepted dialog, with a
// path at or past the host's limit, without a scene and with a file the
// reader refuses; the option rules; the scale factor fallback; the figure of
// each read; the time line; the progress it reports.
#include "import_support.h"

#include "import/import_driver.h"
#include "import/import_option_keys.h"
#include "import/time_line.h"

#include <dzbone.h>
#include <dzfileiosettings.h>
#include <dzfloatproperty.h>
#include <dzprogress.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <cmath>
#include <limits>

using namespace importtest;
using yfx::importer::runImportRead;

namespace {

void writeFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

// Settings of an accepted dialog with every option at `value` (groups off)
// and the scale factor.
void accept(DzFileIOSettings& settings, int value, float scale = 1.0f) {
    settings.setIntValue(QString::fromLatin1(yfx::kImportDialogReturnedKey), 1);
    for (const char* key : yfx::kImportOptionKeys) {
        settings.setIntValue(QString::fromLatin1(key), value);
    }
    settings.setIntValue(QStringLiteral("import_groups_checkstate"), 0);
    settings.setFloatValue(QString::fromLatin1(yfx::kImportScaleFactorKey), double(scale));
}

// Extent along x of every vertex of every mesh in the scene.
float sceneWidth() {
    float low = std::numeric_limits<float>::max(), high = -low;
    for (int i = 0; i < dzScene->getNumNodes(); ++i) {
        const DzFacetMesh* mesh = facetMeshOf(dzScene->getNode(i));
        for (int v = 0; mesh != nullptr && v < mesh->getNumVertices(); ++v) {
            low = std::min(low, mesh->getVertex(v).m_x);
            high = std::max(high, mesh->getVertex(v).m_x);
        }
    }
    return high - low;
}

class ReadStepTest : public ImportTest {
protected:
    void SetUp() override {
        ImportTest::SetUp();
        ASSERT_TRUE(dir_.isValid());
        file_ = dir_.filePath(QStringLiteral("Robot.yfx"));
        writeFile(file_, writtenBytes(yfx_test::makeFullScene()));
    }

    int read(const QString& path, const DzFileIOSettings* settings) {
        return runImportRead(session_, path, settings);
    }

    QTemporaryDir dir_;
    QString file_;
};

} // namespace

TEST_F(ReadStepTest, RefusesOrSkipsWithoutTouchingTheScene) {
    // Paths of 259 and 260 characters to files that exist.
    QString folder = dir_.path() + QStringLiteral("/");
    const int filler = 259 - int(folder.size()) - int(QStringLiteral("/s.yfx").size());
    ASSERT_GT(filler, 0);
    const QString longest = folder + QString(filler, 'd') + QStringLiteral("/s.yfx");
    const QString tooLong = folder + QString(filler + 1, 'd') + QStringLiteral("/s.yfx");
    for (const QString& path : {longest, tooLong}) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        ASSERT_TRUE(QFile::copy(file_, path));
    }
    const QString garbage = dir_.filePath(QStringLiteral("garbage.yfx"));
    writeFile(garbage, {'Y', 'F', 'X', 'H', 1, 2, 3});

    DzFileIOSettings accepted, cancelled, never;
    accept(accepted, 1);
    cancelled.setIntValue(QString::fromLatin1(yfx::kImportDialogReturnedKey), 0);
    struct Case {
        const char* what;
        QString path;
        const DzFileIOSettings* settings;
        bool scene;
        int result;
        bool built;
    };
    const Case cases[] = {
        {"imported", file_, &accepted, true, 0, true},
        {"259 characters", longest, &accepted, true, 0, true},
        {"260 characters", tooLong, &accepted, true, 98, false},
        {"cancelled", file_, &cancelled, true, 0, false},
        {"no dialog", file_, &never, true, 0, false},
        {"no settings", file_, nullptr, true, 0, false},
        {"refused file", garbage, &accepted, true, 98, false},
        {"missing file", file_ + QStringLiteral(".gone"), &accepted, true, 98, false},
        {"no scene", file_, &accepted, false, 98, false},
    };
    for (const Case& c : cases) {
        freshScene();
        if (!c.scene) {
            DzScene::destroy();
        }
        EXPECT_EQ(c.result, read(c.path, c.settings)) << c.what;
        if (c.scene) {
            EXPECT_EQ(c.built, dzScene->getNumNodes() > 0) << c.what;
        }
        EXPECT_TRUE(doc_.meshes.empty() && doc_.lights.empty() && doc_.bones.empty()) << c.what;
    }
}

TEST_F(ReadStepTest, AnimationNeedsJointsAndGroupsExcludeBoth) {
    struct Case {
        int groups, joints, animation;
        int expectJoints, expectAnimation;
    };
    const Case cases[] = {
        {0, 1, 1, 1, 1},
        {0, 0, 1, 0, 0},
        {1, 1, 1, 0, 0},
        {0, 1, 0, 1, 0},
    };
    for (const Case& c : cases) {
        freshScene();
        DzFileIOSettings settings;
        accept(settings, 1);
        settings.setIntValue(QStringLiteral("import_groups_checkstate"), c.groups);
        settings.setIntValue(QStringLiteral("import_joints_checkstate"), c.joints);
        settings.setIntValue(QStringLiteral("import_animation_checkstate"), c.animation);
        ASSERT_EQ(0, read(file_, &settings));
        EXPECT_EQ(c.expectJoints, session_.options.import_joints);
        EXPECT_EQ(c.expectAnimation, session_.options.import_animation);
        const DzNode* hip = node("Hip");
        EXPECT_EQ(c.expectJoints == 1, hip != nullptr && hip->inherits("DzBone"));
        EXPECT_EQ(c.expectAnimation == 1, hip != nullptr && hip->getXRotControl()->getNumKeys() > 0)
            << c.groups << c.joints << c.animation;
    }
}

TEST_F(ReadStepTest, ScaleFactorOfZeroOrNotFiniteImportsAtOne) {
    DzFileIOSettings settings;
    accept(settings, 0, 1.0f);
    ASSERT_EQ(0, read(file_, &settings));
    const float unscaled = sceneWidth();
    ASSERT_GT(unscaled, 0.0f);
    struct Case {
        double factor;
        float width;
    };
    const Case cases[] = {{0.0, unscaled},
                          {std::nan(""), unscaled},
                          {1e300, unscaled},
                          {2.0, 2 * unscaled},
                          {-1.0, unscaled}};
    for (const Case& c : cases) {
        freshScene();
        settings.setFloatValue(QString::fromLatin1(yfx::kImportScaleFactorKey), c.factor);
        ASSERT_EQ(0, read(file_, &settings));
        EXPECT_FLOAT_EQ(c.width, sceneWidth()) << c.factor;
    }
}

TEST_F(ReadStepTest, EachReadMakesItsOwnFigureAndReportsProgress) {
    std::vector<QString> started;
    DzProgress::setListener([&](const DzProgress::Report& report) {
        if (report.kind == DzProgress::Report::Started && report.depth == 1) {
            started.push_back(report.info);
        }
    });
    DzFileIOSettings settings;
    accept(settings, 1);
    EXPECT_EQ(0, read(file_, &settings));
    EXPECT_EQ(0, read(file_, &settings));
    DzProgress::setListener(DzProgress::Listener());
    EXPECT_EQ(std::vector<QString>(2, QStringLiteral("Importing the scene")), started);
    const std::vector<DzNode*> figures = nodesOf("DzFigure");
    ASSERT_EQ(2u, figures.size());
    for (const DzNode* figure : figures) {
        ASSERT_EQ(1, figure->getNumNodeChildren());
        EXPECT_TRUE(figure->getNodeChild(0)->inherits("DzBone"));
        EXPECT_NE(nullptr, figure->getObject());
    }
}

TEST_F(ImportTest, TimeLineFollowsTheFirstAnimation) {
    struct Case {
        float fps, start, end;
        int step, rangeEnd;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {0.0f, 0, 30, 160, 4800},     {24.0f, 0, 48, 200, 9600},
        {7.0f, 1, 6, 686, 4802},      {nan, 0, 10, 160, 1600},
        {-5.0f, 0, 10, 160, 1600},    {1e-30f, 0, 10, 160, 1600},
        {24.0f, 1e30f, 5, 200, 1000}, {24.0f, 0, 2e9f, 200, std::numeric_limits<int>::max()},
    };
    for (const Case& c : cases) {
        yfx::SceneDoc doc;
        addBone(doc, "Root", -1, 0, 0, 0);
        doc.animations.resize(1);
        doc.animations[0].frames_per_second = c.fps;
        doc.animations[0].start_frame = c.start;
        doc.animations[0].end_frame = c.end;
        yfx::importer::setUpTimeLine(doc);
        EXPECT_EQ(c.step, dzScene->getTimeStep()) << "fps " << c.fps;
        EXPECT_EQ(0, dzScene->getAnimRange().getStart());
        EXPECT_EQ(c.rangeEnd, dzScene->getAnimRange().getEnd()) << "fps " << c.fps;
        EXPECT_EQ(c.rangeEnd, dzScene->getPlayRange().getEnd()) << "fps " << c.fps;
    }
}
