#include "model/writer_lights.h"

#include <assimp/light.h>

#include <dzcamera.h>
#include <dzdistantlight.h>
#include <dzfloatproperty.h>
#include <dzpointlight.h>
#include <dzspotlight.h>

#include <algorithm>
#include <cmath>

namespace yfx {
namespace model {

namespace {

constexpr float kRadiansPerDegree = 0.017453292519943295f;
constexpr float kSpotPenumbra = 10.0f; // degrees between the inner and the outer cone

} // namespace

std::vector<aiLight*> writeLights(const WriterTree& tree, ModelNotes& notes) {
    std::vector<aiLight*> lights;
    for (const WriterNode& node : tree.nodes) {
        const auto* light = qobject_cast<const DzDistantLight*>(node.host);
        if (light == nullptr) {
            if (qobject_cast<const DzCamera*>(node.host) != nullptr) {
                notes.drop(
                    format("camera '%s': the writer keeps its node only", node.name.c_str()));
            }
            continue;
        }
        auto* out = new aiLight();
        out->mName = aiString(node.name);
        const QColor c = light->getDiffuseColor();
        const float intensity = float(light->getIntensity());
        out->mColorDiffuse = aiColor3D(float(c.redF()) * intensity, float(c.greenF()) * intensity,
                                       float(c.blueF()) * intensity);
        out->mColorSpecular = out->mColorDiffuse;
        out->mDirection = aiVector3D(0, 0, -1);
        out->mUp = aiVector3D(0, 1, 0);
        out->mAttenuationConstant = 1.0f;
        out->mAttenuationLinear = 0.0f;
        if (const auto* spot = qobject_cast<const DzSpotLight*>(light)) {
            out->mType = aiLightSource_SPOT;
            const float spread = float(spot->getSpreadAngleControl()->getValue());
            out->mAngleOuterCone = spread * kRadiansPerDegree;
            out->mAngleInnerCone = std::max(spread - kSpotPenumbra, 0.0f) * kRadiansPerDegree;
        } else if (qobject_cast<const DzPointLight*>(light) != nullptr) {
            out->mType = aiLightSource_POINT;
        } else {
            out->mType = aiLightSource_DIRECTIONAL;
        }
        lights.push_back(out);
    }
    return lights;
}

} // namespace model
} // namespace yfx
