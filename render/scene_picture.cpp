#include "render/scene_picture.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "render/corner_uv.h"
#include "render/depth_canvas.h"
#include "render/skin_pose.h"

namespace yfx {
namespace render {

namespace {

constexpr float kAmbient = 0.25f;
constexpr std::uint8_t kWireColour[4] = {24, 24, 24, 255};

struct MeshView {
    const SceneDoc& doc;
    const std::vector<float>& positions;
    const ViewCamera& camera;
};

float unitColour(float value) {
    return std::isfinite(value) ? std::min(1.0f, std::max(0.0f, value)) : 0.0f;
}

TrianglePaint paintOf(const SceneDoc& doc, const ScenePictureSettings& settings,
                      std::int32_t material) {
    TrianglePaint paint;
    if (material < 0 || std::size_t(material) >= doc.materials.size()) {
        std::fill(paint.colour, paint.colour + 3, kNoMaterialGrey);
        return paint;
    }
    const DocMaterial& record = doc.materials[std::size_t(material)];
    for (int k = 0; k < 3; ++k) {
        paint.colour[k] = unitColour(record.diffuse[k]);
    }
    if (std::size_t(material) < settings.colour_maps.size()) {
        paint.texture = settings.colour_maps[std::size_t(material)];
    }
    return paint;
}

// Marks the pool vertices that some polygon corner names.
std::vector<std::uint8_t> usedVertices(const SceneDoc& doc) {
    std::vector<std::uint8_t> used(doc.vertices.size(), 0);
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            for (const DocCorner& corner : polygon.corners) {
                if (corner.vertex >= 0 && std::size_t(corner.vertex) < used.size()) {
                    used[std::size_t(corner.vertex)] = 1;
                }
            }
        }
    }
    return used;
}

// The corner's screen position and UV; false when it has no usable vertex.
bool screenCorner(const MeshView& view, const DocCorner& corner, ScreenCorner& out,
                  double scene[3]) {
    if (corner.vertex < 0 || std::size_t(corner.vertex) >= view.doc.vertices.size()) {
        return false;
    }
    const float* p = &view.positions[3 * std::size_t(corner.vertex)];
    if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
        return false;
    }
    double projected[3];
    view.camera.project(p, projected);
    out.x = projected[0], out.y = projected[1], out.z = projected[2];
    for (int k = 0; k < 3; ++k) {
        scene[k] = double(p[k]);
    }
    if (!cornerUv(view.doc, corner, out.u, out.v)) {
        out.u = out.v = 0.0;
    }
    return true;
}

// Lambert term of a light at the camera, two-sided, over the ambient floor.
float shadeOf(const ViewCamera& camera, const double a[3], const double b[3], const double c[3]) {
    const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const double e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                         e1[0] * e2[1] - e1[1] * e2[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    const double facing =
        std::fabs(n[0] * camera.back[0] + n[1] * camera.back[1] + n[2] * camera.back[2]);
    const double lambert = length > 0.0 && std::isfinite(length) ? facing / length : 1.0;
    return kAmbient + (1.0f - kAmbient) * float(std::min(1.0, lambert));
}

void drawPolygons(DepthCanvas& canvas, const MeshView& view, const ScenePictureSettings& settings,
                  ScenePictureCounts& counts) {
    for (const DocMesh& mesh : view.doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            const std::size_t n = polygon.corners.size();
            if (n < 3) {
                continue;
            }
            const TrianglePaint base = paintOf(view.doc, settings, polygon.material);
            ScreenCorner first;
            double firstScene[3];
            if (!screenCorner(view, polygon.corners[0], first, firstScene)) {
                counts.skipped += n - 2;
                continue;
            }
            ScreenCorner previous;
            double previousScene[3];
            bool previousOk = screenCorner(view, polygon.corners[1], previous, previousScene);
            for (std::size_t k = 2; k < n; ++k) {
                ScreenCorner next;
                double nextScene[3];
                const bool nextOk = screenCorner(view, polygon.corners[k], next, nextScene);
                if (previousOk && nextOk) {
                    TrianglePaint paint = base;
                    paint.shade = shadeOf(view.camera, firstScene, previousScene, nextScene);
                    const ScreenCorner triangle[3] = {first, previous, next};
                    fillTriangle(canvas, triangle, paint);
                    ++counts.triangles;
                } else {
                    ++counts.skipped;
                }
                previous = next;
                std::copy(nextScene, nextScene + 3, previousScene);
                previousOk = nextOk;
            }
        }
    }
}

// Every polygon edge, where it is not hidden behind a surface by more than
// a small part of the scene's depth.
void drawEdges(DepthCanvas& canvas, const MeshView& view, float tolerance) {
    for (const DocMesh& mesh : view.doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            const std::size_t n = polygon.corners.size();
            for (std::size_t k = 0; k < n && n >= 2; ++k) {
                ScreenCorner a, b;
                double scene[3];
                if (screenCorner(view, polygon.corners[k], a, scene) &&
                    screenCorner(view, polygon.corners[(k + 1) % n], b, scene)) {
                    drawDepthLine(canvas, a, b, tolerance, kWireColour);
                }
            }
        }
    }
}

// A small part of the depth range of the used vertices, for the wire's test.
float depthTolerance(const ViewCamera& camera, const std::vector<float>& positions,
                     const std::vector<std::uint8_t>& used) {
    double low = 0.0, high = 0.0;
    bool any = false;
    for (std::size_t i = 0; i < used.size(); ++i) {
        const float* p = &positions[3 * i];
        if (used[i] == 0 || !std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
            continue;
        }
        const double z = camera.back[0] * p[0] + camera.back[1] * p[1] + camera.back[2] * p[2];
        low = any ? std::min(low, z) : z;
        high = any ? std::max(high, z) : z;
        any = true;
    }
    const double range = high - low;
    return std::isfinite(range) ? float(range * 0.01) : 0.0f;
}

} // namespace

bool drawScenePicture(const SceneDoc& doc, const ScenePictureSettings& settings, RgbaImage& out,
                      ScenePictureCounts* counts) {
    out = RgbaImage();
    if (settings.width < 1 || settings.height < 1 || settings.width > kMaxPictureSide ||
        settings.height > kMaxPictureSide) {
        return false;
    }
    try {
        std::vector<float> positions;
        if (settings.posed) {
            posedPositions(doc, settings.frame, positions);
        } else {
            restPositions(doc, positions);
        }
        const std::vector<std::uint8_t> used = usedVertices(doc);
        const ViewCamera camera =
            fitCamera(settings.view, positions, used, settings.width, settings.height);
        DepthCanvas canvas;
        if (!canvas.reset(settings.width, settings.height, kSceneBackground)) {
            return false;
        }
        const MeshView view{doc, positions, camera};
        ScenePictureCounts drawn;
        drawPolygons(canvas, view, settings, drawn);
        drawn.steps = canvas.steps;
        if (settings.wire) {
            drawEdges(canvas, view, depthTolerance(camera, positions, used));
        }
        out = std::move(canvas.image);
        if (counts != nullptr) {
            *counts = drawn;
        }
        return true;
    } catch (const std::bad_alloc&) {
        out = RgbaImage();
        return false;
    }
}

} // namespace render
} // namespace yfx
