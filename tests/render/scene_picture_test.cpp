// Scene pictures drawn from documents: what is covered, in which colour,
// which surface wins where two overlap, and documents with broken or extreme
// values drawn without harm.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/scene_picture.h"
#include "render_docs.h"

namespace {

using namespace rendertest;
using yfx::render::View;

struct Pixel {
    int r, g, b, a;
};

Pixel pixelAt(const yfx::RgbaImage& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return {p[0], p[1], p[2], p[3]};
}

// Signed distance of (x, y) from the triangle's border: positive inside.
double insideBy(const double t[3][2], double x, double y) {
    const double area =
        (t[1][0] - t[0][0]) * (t[2][1] - t[0][1]) - (t[2][0] - t[0][0]) * (t[1][1] - t[0][1]);
    double distance = std::numeric_limits<double>::infinity();
    for (int e = 0; e < 3; ++e) {
        const double* a = t[e];
        const double* b = t[(e + 1) % 3];
        const double ex = b[0] - a[0], ey = b[1] - a[1];
        const double cross = ex * (y - a[1]) - ey * (x - a[0]);
        distance = std::min(distance, (area > 0 ? cross : -cross) / std::hypot(ex, ey));
    }
    return distance;
}

struct TriangleCase {
    const char* name;
    View view;
    int width, height;
    Point corners[3];
    // The corners' picture-plane coordinates (right, up) in this view.
    double plane[3][2];
};

// The camera's documented fit: the drawn extent centred in the frame, with a
// margin of a twentieth of the smaller side, at one scale for both axes.
void expectedPixels(const TriangleCase& c, double out[3][2]) {
    double low[2] = {1e300, 1e300}, high[2] = {-1e300, -1e300};
    for (const auto& p : c.plane) {
        for (int k = 0; k < 2; ++k) {
            low[k] = std::min(low[k], p[k]), high[k] = std::max(high[k], p[k]);
        }
    }
    const double margin = std::min(c.width, c.height) / 20.0;
    const double scale = std::min((c.width - 2 * margin) / (high[0] - low[0]),
                                  (c.height - 2 * margin) / (high[1] - low[1]));
    for (int i = 0; i < 3; ++i) {
        out[i][0] = c.width / 2.0 + (c.plane[i][0] - (low[0] + high[0]) / 2) * scale;
        out[i][1] = c.height / 2.0 - (c.plane[i][1] - (low[1] + high[1]) / 2) * scale;
    }
}

TEST(ScenePicture, OneTriangleFillsTheCoveredPixelsInItsColourAndNothingElse) {
    const TriangleCase cases[] = {
        {"front", View::Front, 64, 48, {{0, 0, 0}, {2, 0, 0}, {0, 1, 0}}, {{0, 0}, {2, 0}, {0, 1}}},
        {"front, tall frame",
         View::Front,
         40,
         90,
         {{-1, -3, 5}, {1, -3, 5}, {0, 3, 5}},
         {{-1, -3}, {1, -3}, {0, 3}}},
        // Side: picture x is -z; top: picture y is -z.
        {"side", View::Side, 50, 50, {{4, 0, 0}, {4, 0, -2}, {4, 2, -1}}, {{0, 0}, {2, 0}, {1, 2}}},
        {"top", View::Top, 70, 30, {{0, 7, 0}, {3, 7, 0}, {0, 7, -1}}, {{0, 0}, {3, 0}, {0, 1}}},
    };
    for (const TriangleCase& c : cases) {
        SCOPED_TRACE(c.name);
        yfx::SceneDoc doc;
        addTriangle(doc, c.corners[0], c.corners[1], c.corners[2], addMaterial(doc, 0.2f, 0.6f, 1));
        yfx::render::ScenePictureSettings settings;
        settings.width = c.width, settings.height = c.height, settings.view = c.view;
        yfx::RgbaImage image;
        ASSERT_TRUE(yfx::render::drawScenePicture(doc, settings, image));
        ASSERT_EQ(image.width, c.width);
        ASSERT_EQ(image.height, c.height);
        double screen[3][2];
        expectedPixels(c, screen);
        int inside = 0;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const double d = insideBy(screen, x + 0.5, y + 0.5);
                const Pixel p = pixelAt(image, x, y);
                if (d > 1.0) {
                    ++inside;
                    // Facing the light at the camera: the colour unchanged.
                    ASSERT_TRUE(p.r == 51 && p.g == 153 && p.b == 255 && p.a == 255)
                        << x << "," << y << ": " << p.r << " " << p.g << " " << p.b << " " << p.a;
                } else if (d < -1.0) {
                    ASSERT_EQ(p.a, 0) << x << "," << y;
                }
            }
        }
        EXPECT_GT(inside, c.width * c.height / 10);
    }
}

TEST(ScenePicture, TheNearerSurfaceCoversTheFartherWhateverTheOrder) {
    for (const bool nearFirst : {true, false}) {
        SCOPED_TRACE(nearFirst ? "near first" : "far first");
        yfx::SceneDoc doc;
        const std::int32_t red = addMaterial(doc, 1, 0, 0);
        const std::int32_t green = addMaterial(doc, 0, 1, 0);
        const auto addNear = [&] { addTriangle(doc, {-1, -1, 1}, {1, -1, 1}, {0, 1, 1}, red); };
        const auto addFar = [&] { addTriangle(doc, {-2, -2, -1}, {2, -2, -1}, {0, 2, -1}, green); };
        if (nearFirst) {
            addNear(), addFar();
        } else {
            addFar(), addNear();
        }
        yfx::render::ScenePictureSettings settings;
        settings.width = settings.height = 40;
        yfx::RgbaImage image;
        ASSERT_TRUE(yfx::render::drawScenePicture(doc, settings, image));
        const Pixel middle = pixelAt(image, 20, 20);
        EXPECT_TRUE(middle.r == 255 && middle.g == 0) << middle.r << " " << middle.g;
        const Pixel lowerLeft = pixelAt(image, 8, 33); // inside the far triangle only
        EXPECT_TRUE(lowerLeft.r == 0 && lowerLeft.g == 255) << lowerLeft.r << " " << lowerLeft.g;
    }
}

TEST(ScenePicture, FacesTurnedToTheCameraShowTheirColourEitherWayRoundAndSlantedOnesAreDarker) {
    yfx::SceneDoc doc;
    const std::int32_t white = addMaterial(doc, 1, 1, 1);
    addTriangle(doc, {-2, 0, 0}, {-1, 0, 0}, {-2, 1, 0}, white);  // facing the camera
    addTriangle(doc, {1, 0, 0}, {2, 0, -1.7f}, {1, 1, 0}, white); // turned about 60 degrees
    addTriangle(doc, {-0.5f, 0, 0}, {0.5f, 1, 0}, {0.5f, 0, 0},
                white); // facing, wound the other way
    yfx::render::ScenePictureSettings settings;
    settings.width = 80, settings.height = 40;
    yfx::RgbaImage image;
    ASSERT_TRUE(yfx::render::drawScenePicture(doc, settings, image));
    EXPECT_EQ(pixelAt(image, 8, 24).r, 255);
    EXPECT_EQ(pixelAt(image, 44, 24).r, 255);
    const int slanted = pixelAt(image, 60, 24).r;
    EXPECT_GT(slanted, 100);
    EXPECT_LT(slanted, 200);
}

TEST(ScenePicture, ColourMapsLieOverTheUvsWithTheirTopRowAtTheTopAndTheDiffuseColourWithout) {
    // A unit square whose UVs equal its x and y, in a material of diffuse
    // (1, 0.5, 1), and a map whose top row is red and bottom row blue.
    yfx::SceneDoc doc;
    const std::int32_t material = addMaterial(doc, 1, 0.5f, 1);
    const Point corners[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    std::vector<std::int32_t> vertices, uvs;
    for (const Point& p : corners) {
        vertices.push_back(addVertex(doc, p));
        uvs.push_back(addUv(doc, p[0], p[1]));
    }
    addPolygon(doc, vertices, material, uvs);
    yfx::RgbaImage map;
    map.width = 1, map.height = 2;
    map.pixels = {200, 0, 0, 255, 0, 0, 200, 255};
    struct Case {
        const char* name;
        const yfx::RgbaImage* map;
        Pixel top, bottom;
    };
    const Case cases[] = {
        {"with the map: texel times diffuse", &map, {200, 0, 0, 255}, {0, 0, 200, 255}},
        {"without", nullptr, {255, 128, 255, 255}, {255, 128, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        yfx::render::ScenePictureSettings settings;
        settings.width = settings.height = 40;
        settings.colour_maps = {c.map};
        yfx::RgbaImage image;
        ASSERT_TRUE(yfx::render::drawScenePicture(doc, settings, image));
        for (const auto& at : {std::make_pair(10, 10), std::make_pair(29, 18)}) {
            const Pixel p = pixelAt(image, at.first, at.second);
            EXPECT_TRUE(p.r == c.top.r && p.g == c.top.g && p.b == c.top.b && p.a == c.top.a)
                << p.r << " " << p.g << " " << p.b << " " << p.a;
        }
        for (const auto& at : {std::make_pair(10, 29), std::make_pair(29, 22)}) {
            const Pixel p = pixelAt(image, at.first, at.second);
            EXPECT_TRUE(p.r == c.bottom.r && p.g == c.bottom.g && p.b == c.bottom.b)
                << p.r << " " << p.g << " " << p.b << " " << p.a;
        }
    }
}

TEST(ScenePicture, SliversAcrossTheWholeFrameCostTheirRowsNotTheirBoundingBoxes) {
    // 20,000 slivers along the diagonal, each with the whole 1000 x 1000
    // frame as its bounding box: testing every pixel of those boxes would be
    // 2 x 10^10 steps, walking their rows 2 x 10^7.
    yfx::SceneDoc doc;
    for (int i = 0; i < 20000; ++i) {
        const float d = 1e-5f * float(i % 7);
        addTriangle(doc, {-1, -1, d}, {1, 1, d}, {1, 1.0001f, d}, -1);
    }
    yfx::render::ScenePictureSettings settings;
    settings.width = settings.height = 1000;
    yfx::RgbaImage image;
    yfx::render::ScenePictureCounts counts;
    ASSERT_TRUE(yfx::render::drawScenePicture(doc, settings, image, &counts));
    // Each sliver costs its rows (at most the frame's 1000) and the few
    // pixels of each row it covers.
    EXPECT_EQ(counts.triangles, 20000u);
    EXPECT_LT(counts.steps, 20000u * 1000u * 4u);
    EXPECT_NE(image.at(500, 499)[3] | image.at(499, 500)[3] | image.at(500, 500)[3], 0);
    EXPECT_EQ(image.at(100, 900)[3], 0);
}

TEST(ScenePicture, BrokenAndExtremeDocumentsDrawWithoutHarm) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float huge = std::numeric_limits<float>::max();
    struct Case {
        const char* name;
        void (*build)(yfx::SceneDoc&, float, float, float);
        std::size_t skipped; // triangles left out
        bool somethingDrawn;
    };
    const Case cases[] = {
        {"empty scene", [](yfx::SceneDoc&, float, float, float) {}, 0, false},
        {"not-a-number and infinite positions",
         [](yfx::SceneDoc& doc, float nan, float inf, float) {
             addTriangle(doc, {nan, 0, 0}, {1, 0, 0}, {0, 1, 0}, -1);
             addTriangle(doc, {0, 0, 0}, {inf, 0, 0}, {0, 1, -inf}, -1);
             addTriangle(doc, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, -1);
         },
         2, true},
        {"vertex indices -1 and past the pool, materials past the list",
         [](yfx::SceneDoc& doc, float, float, float) {
             addTriangle(doc, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 7);
             addPolygon(doc, {0, -1, 2, 1}, -5);
             addPolygon(doc, {0, 2, 1 << 30}, 0);
             addPolygon(doc, {0, 1}, 0); // the third corner stays at -1
         },
         3, true},
        {"huge coordinates and a sliver across the frame",
         [](yfx::SceneDoc& doc, float, float, float huge) {
             addTriangle(doc, {-huge, -huge, 0}, {huge, huge, huge}, {huge, huge * 0.999f, 0}, -1);
             addTriangle(doc, {-huge, huge, -huge}, {huge, -huge, huge}, {0, 0, 0}, -1);
             addTriangle(doc, {0, 0, 0}, {1e-30f, 0, 0}, {0, 1e-30f, 0}, -1);
         },
         0, true},
        {"every vertex at one point",
         [](yfx::SceneDoc& doc, float, float, float) {
             addTriangle(doc, {3, 3, 3}, {3, 3, 3}, {3, 3, 3}, -1);
         },
         0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        yfx::SceneDoc doc;
        c.build(doc, nan, inf, huge);
        for (const View view : {View::Front, View::ThreeQuarter}) {
            for (const bool wire : {false, true}) {
                yfx::render::ScenePictureSettings settings;
                settings.width = 300, settings.height = 200, settings.view = view;
                settings.wire = wire;
                settings.posed = true;
                settings.frame = 1e9;
                yfx::RgbaImage image;
                yfx::render::ScenePictureCounts counts;
                ASSERT_TRUE(yfx::render::drawScenePicture(doc, settings, image, &counts));
                // Bounded work: at most every pixel once per triangle.
                EXPECT_LE(counts.steps, (counts.triangles + 1) * 300u * 201u);
                EXPECT_EQ(counts.skipped, c.skipped);
                bool drawn = false;
                for (std::size_t i = 3; i < image.pixels.size(); i += 4) {
                    drawn = drawn || image.pixels[i] != 0;
                }
                if (!wire) { // a wire edge of no length is still a dot
                    EXPECT_EQ(drawn, c.somethingDrawn);
                }
            }
        }
    }
    yfx::SceneDoc doc;
    yfx::RgbaImage image;
    yfx::render::ScenePictureSettings settings;
    for (const int side : {0, -4, yfx::render::kMaxPictureSide + 1}) {
        settings.width = side;
        EXPECT_FALSE(yfx::render::drawScenePicture(doc, settings, image));
    }
}

} // namespace
