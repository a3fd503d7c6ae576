// yfx render and yfx uvs run as a child process on the exported demo scene
// and on crafted files; the PNGs they write are decoded and looked at as a
// person would: where the figure is, what a frame of the animation moves,
// which tiles a layout fills, and what a missing texture does.
#include <gtest/gtest.h>

#include <QtGui/QImage>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <sstream>

#include "document/document.h"
#include "tool_runner.h"

namespace yfx_test {
namespace {

QImage readPng(const std::string& path) {
    QImage image(QString::fromStdString(path), "PNG");
    return image.convertToFormat(QImage::Format_RGBA8888);
}

bool covered(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) != 0;
}

// The demo scene exported once for every test of the suite.
class PictureCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<ScratchDir>();
        const ToolRun run = runTool({"export", "--demo", demoFile()});
        ASSERT_EQ(run.status, 0) << run.err;
    }
    static void TearDownTestSuite() { folder_.reset(); }
    static std::string demoFile() { return folder_->file("demo.yfx"); }

    ScratchDir dir_;

private:
    static std::unique_ptr<ScratchDir> folder_;
};

std::unique_ptr<ScratchDir> PictureCommands::folder_;

TEST_F(PictureCommands, TheDemoFigureFillsTheMiddleOfEveryViewAndNotItsCorners) {
    for (const char* view : {"front", "side", "top"}) {
        SCOPED_TRACE(view);
        const std::string out = dir_.file(std::string(view) + ".png");
        const ToolRun run =
            runTool({"render", demoFile(), out, "--size", "120x160", "--view", view});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "picture: " + out + " (120x160)\n");
        const QImage image = readPng(out);
        ASSERT_EQ(image.width(), 120);
        ASSERT_EQ(image.height(), 160);
        EXPECT_TRUE(covered(image, 60, 80));
        for (const auto& corner : {std::make_pair(0, 0), std::make_pair(110, 0),
                                   std::make_pair(0, 150), std::make_pair(110, 150)}) {
            for (int y = corner.second; y < corner.second + 10; ++y) {
                for (int x = corner.first; x < corner.first + 10; ++x) {
                    ASSERT_FALSE(covered(image, x, y)) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(PictureCommands, AFrameOfTheAnimationPosesTheFigureAndFrameZeroIsTheRestPose) {
    // The figure's keys swing every limb; frame 0 holds the pose the file's
    // mesh was stored in.
    const auto render = [&](const std::vector<std::string>& extra) {
        const std::string out = dir_.file("frame.png");
        std::vector<std::string> args = {"render", demoFile(),     out, "--size", "200x200",
                                         "--view", "three-quarter"};
        args.insert(args.end(), extra.begin(), extra.end());
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 0) << run.err;
        return readPng(out);
    };
    const QImage rest = render({});
    const QImage first = render({"--frame", "0"});
    const QImage later = render({"--frame", "8"});
    ASSERT_EQ(rest.size(), later.size());
    int figure = 0, restToFirst = 0, firstToLater = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            figure += covered(rest, x, y) ? 1 : 0;
            restToFirst += covered(rest, x, y) != covered(first, x, y) ? 1 : 0;
            firstToLater += covered(first, x, y) != covered(later, x, y) ? 1 : 0;
        }
    }
    EXPECT_LT(restToFirst, figure / 200);
    EXPECT_GT(firstToLater, figure / 10);
}

TEST_F(PictureCommands, AMissingTextureIsNamedAndItsDiffuseColourDrawn) {
    const ToolRun withAll =
        runTool({"render", demoFile(), dir_.file("all.png"), "--textures", "--size", "64x64"});
    ASSERT_EQ(withAll.status, 0) << withAll.err;
    EXPECT_EQ(withAll.err, "");
    // The export wrote the textures beside the file; this test's process
    // has that folder to itself.
    const std::string texture =
        demoFile().substr(0, demoFile().size() - std::string("demo.yfx").size()) + "skin_color.tga";
    const std::string hidden = texture + ".hidden";
    ASSERT_EQ(std::rename(texture.c_str(), hidden.c_str()), 0) << texture;
    const ToolRun run =
        runTool({"render", demoFile(), dir_.file("missing.png"), "--textures", "--size", "64x64"});
    std::rename(hidden.c_str(), texture.c_str());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("skin_color.tga"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("not found"), std::string::npos) << run.err;
    EXPECT_TRUE(covered(readPng(dir_.file("missing.png")), 32, 32));
}

TEST_F(PictureCommands, UvPicturesOfEveryMaterialOrOfTheOneAskedFor) {
    const ToolRun all = runTool({"uvs", demoFile(), dir_.file("uv.png"), "--size", "128"});
    ASSERT_EQ(all.status, 0) << all.err;
    std::istringstream lines(all.out);
    int pictures = 0;
    for (std::string line; std::getline(lines, line); ++pictures) {
        const std::string path = line.substr(9, line.find(" (") - 9);
        SCOPED_TRACE(path);
        EXPECT_EQ(path.rfind(dir_.file("uv_"), 0), 0u);
        EXPECT_FALSE(readPng(path).isNull());
    }
    EXPECT_GE(pictures, 6);
    const ToolRun one = runTool({"uvs", demoFile(), dir_.file("one.png"), "--material", "0",
                                 "--tile", "1002", "--size", "64"});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, "picture: " + dir_.file("one.png") + " (64x64)\n");
}

TEST_F(PictureCommands, UsageErrorsAndUnreadableFilesFailWithTheirStatus) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const std::string out = dir_.file("x.png");
    const Case cases[] = {
        {{"render", demoFile(), out, "--size", "0x10"}, 2, "--size needs WxH"},
        {{"render", demoFile(), out, "--size", "10x99999"}, 2, "--size needs WxH"},
        {{"render", demoFile(), out, "--frame", "nan"}, 2, "--frame needs a finite number"},
        {{"render", demoFile(), out, "--view", "back"}, 2, "--view needs front"},
        {{"render", demoFile(), out, "--frame"}, 2, "--frame needs a value"},
        {{"render", demoFile()}, 2, "expects FILE and OUT.png"},
        {{"uvs", demoFile(), out, "--tile", "1000"}, 2, "--tile needs a tile"},
        {{"uvs", demoFile(), out, "--size", "8"}, 2, "--size needs a whole number"},
        {{"uvs", demoFile(), out, "--material", "no such"}, 1, "no material named"},
        {{"render", dir_.file("none.yfx"), out}, 1, "cannot open the file"},
        {{"render", demoFile(), dir_.file("no/folder.png")}, 1, "folder.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST_F(PictureCommands, HostileFilesRenderWithoutHarm) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = std::numeric_limits<float>::max();
    yfx::SceneDoc doc;
    yfx::DocMesh* mesh = yfx::addMesh(doc);
    const float points[][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {nan, 0, 0}, {huge, -huge, huge}};
    for (const auto& p : points) {
        yfx::DocVertex vertex;
        std::copy(p, p + 3, vertex.position);
        doc.vertices.push_back(vertex);
    }
    for (const std::vector<std::int32_t>& corners :
         {std::vector<std::int32_t>{0, 1, 2}, {0, 3, 2}, {0, 1, 4}, {0, 2, 4}}) {
        yfx::DocPolygon polygon;
        yfx::preparePolygon(polygon, 3);
        for (std::size_t i = 0; i < 3; ++i) {
            polygon.corners[i].vertex = corners[i];
        }
        mesh->polygons.push_back(std::move(polygon));
    }
    const std::string file = dir_.file("hostile.yfx");
    writeBytes(file, containerOf(doc));
    for (const char* extra : {"--wire", "--textures"}) {
        SCOPED_TRACE(extra);
        const ToolRun run = runTool({"render", file, dir_.file("h.png"), extra, "--frame", "3"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_FALSE(readPng(dir_.file("h.png")).isNull());
    }
    const ToolRun uvs = runTool({"uvs", file, dir_.file("u.png")});
    EXPECT_EQ(uvs.status, 1); // no polygon has a material
    // A scene without geometry (a file of no records at all is refused by the load).
    yfx::SceneDoc lightOnly;
    yfx::addLight(lightOnly);
    writeBytes(file, containerOf(lightOnly));
    const ToolRun empty = runTool({"render", file, dir_.file("e.png")});
    EXPECT_EQ(empty.status, 0) << empty.err;
}

} // namespace
} // namespace yfx_test
