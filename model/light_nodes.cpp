#include "model/light_nodes.h"

#include <assimp/camera.h>
#include <assimp/light.h>

#include <dzbasiccamera.h>
#include <dzcolorproperty.h>
#include <dzdistantlight.h>
#include <dzfloatproperty.h>
#include <dzpointlight.h>
#include <dzspotlight.h>

#include <algorithm>
#include <cmath>

namespace yfx {
namespace model {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

Vec3 unitOr(const Vec3& v, const Vec3& fallback) {
    const double l = v.Length();
    return l > 1e-12 && std::isfinite(l) ? v / l : fallback;
}

void setLightValues(DzDistantLight& light, const aiColor3D& c) {
    const float brightest = std::max({c.r, c.g, c.b});
    float intensity = 1.0f;
    QColor colour(255, 255, 255);
    if (std::isfinite(brightest) && brightest > 0) {
        const float scale = brightest > 1.0f ? 1.0f / brightest : 1.0f;
        intensity = brightest > 1.0f ? brightest : 1.0f;
        colour = QColor(int(std::lround(std::clamp(c.r * scale, 0.0f, 1.0f) * 255)),
                        int(std::lround(std::clamp(c.g * scale, 0.0f, 1.0f) * 255)),
                        int(std::lround(std::clamp(c.b * scale, 0.0f, 1.0f) * 255)));
    } else if (brightest == 0) {
        intensity = 0.0f;
    }
    light.getIntensityControl()->setValue(intensity);
    light.getDiffuseColorControl()->setColorValue(colour);
}

} // namespace

Mat4 lookFrame(const Vec3& position, const Vec3& forward, const Vec3& up) {
    const Vec3 z = unitOr(-forward, Vec3(0, 0, 1));
    Vec3 y = up - z * (z * up);
    if (!(y.Length() > 1e-9)) {
        y = std::fabs(z.y) < 0.9 ? Vec3(0, 1, 0) - z * z.y : Vec3(1, 0, 0) - z * z.x;
    }
    y = unitOr(y, Vec3(0, 1, 0));
    const Vec3 x = y ^ z;
    Mat4 frame;
    for (unsigned i = 0; i < 3; ++i) {
        frame[i][0] = x[i];
        frame[i][1] = y[i];
        frame[i][2] = z[i];
        frame[i][3] = position[i];
    }
    return frame;
}

DzNode* makeLightNode(const aiLight& light, const SpaceConversion& space, Mat4& frame,
                      ModelNotes& notes) {
    const Vec3 position = space.point(toDouble(light.mPosition));
    frame = lookFrame(position, space.direction(toDouble(light.mDirection)),
                      space.direction(toDouble(light.mUp)));
    switch (light.mType) {
    case aiLightSource_DIRECTIONAL: {
        auto* node = new DzDistantLight();
        setLightValues(*node, light.mColorDiffuse);
        return node;
    }
    case aiLightSource_POINT: {
        auto* node = new DzPointLight();
        setLightValues(*node, light.mColorDiffuse);
        frame = translation(position);
        return node;
    }
    case aiLightSource_SPOT: {
        auto* node = new DzSpotLight();
        setLightValues(*node, light.mColorDiffuse);
        const double spread = double(light.mAngleOuterCone) * kDegreesPerRadian;
        if (std::isfinite(spread) && spread > 0 && spread <= 180) {
            node->getSpreadAngleControl()->setValue(float(spread));
        }
        return node;
    }
    default:
        notes.drop(format("light '%s': an ambient or area light (the host has point, spot "
                          "and distant lights): a plain node keeps its place",
                          light.mName.C_Str()));
        return new DzNode();
    }
}

DzNode* makeCameraNode(const aiCamera& camera, const SpaceConversion& space, Mat4& frame,
                       ModelNotes& notes) {
    frame =
        lookFrame(space.point(toDouble(camera.mPosition)),
                  space.direction(toDouble(camera.mLookAt)), space.direction(toDouble(camera.mUp)));
    notes.drop(format("camera '%s': field of view, clipping planes and aspect (the host camera "
                      "keeps its placement only)",
                      camera.mName.C_Str()));
    return new DzBasicCamera();
}

} // namespace model
} // namespace yfx
