#include "import/host_lights.h"

#include "compat/qt_compat.h"
#include "import/host_numbers.h"
#include "util/matrix_math.h"

#include <dzcolorproperty.h>
#include <dzdistantlight.h>
#include <dzfloatproperty.h>
#include <dzmatrix3.h>
#include <dzpointlight.h>
#include <dzprogress.h>
#include <dzquat.h>
#include <dzscene.h>
#include <dzspotlight.h>
#include <dzvec3.h>

#include <QtGui/QColor>

#include <algorithm>
#include <cmath>
#include <memory>

namespace yfx {
namespace importer {

namespace {

constexpr float kShortestAxis = 0.0001f;

std::unique_ptr<DzDistantLight> makeLight(std::int32_t kind) {
    switch (kind) {
    case kLightDistant:
        return std::make_unique<DzDistantLight>();
    case kLightSpot:
        return std::make_unique<DzSpotLight>();
    default:
        return std::make_unique<DzPointLight>();
    }
}

} // namespace

void lightPlacement(DocTransform& transform) {
    float m[16];
    std::copy(transform.matrix, transform.matrix + 12, m);
    m[12] = m[13] = m[14] = 0.0f;
    m[15] = 1.0f;
    AffineDecomposition parts;
    decomposeAffine(m, parts);
    for (int k = 0; k < 3; ++k) {
        transform.scale[k] = parts.f < 0.0f ? parts.k[k] * parts.f : parts.k[k];
    }
    std::copy(parts.q, parts.q + 4, transform.quaternion);
    quatToMatrix(parts.q, transform.matrix);
    for (int axis = 0; axis < 3; ++axis) {
        float* out = transform.axes + 3 * axis;
        for (int k = 0; k < 3; ++k) {
            out[k] = transform.matrix[4 * k + axis];
        }
        const float length = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
        for (int k = 0; k < 3; ++k) {
            out[k] = length > kShortestAxis ? out[k] / length : 0.0f;
        }
    }
    transform.matrix[2] = -transform.axes[6];
    transform.matrix[6] = -transform.axes[7];
    transform.matrix[10] = -transform.axes[8];
    float oriented[16];
    orientFromZAxis(transform.matrix, oriented);
    std::copy(oriented, oriented + 16, transform.matrix);
    std::fill(transform.axes, transform.axes + 9, 0.0f);
    matrixToQuat(transform.matrix, transform.quaternion);
}

DzQuat hostLightRotation(const float q[4]) {
    const double length = std::sqrt(double(q[0]) * q[0] + double(q[1]) * q[1] +
                                    double(q[2]) * q[2] + double(q[3]) * q[3]);
    if (!(length > 0.0)) {
        return DzQuat(0.0, 0.0, 0.0, 1.0, true);
    }
    return DzQuat(-q[0] / length, -q[1] / length, -q[2] / length, q[3] / length, true);
}

int createLights(const SceneDoc& doc) {
    if (dzScene == nullptr) {
        return 1;
    }
    DzProgress progress(QStringLiteral("Creating the lights"), int(doc.lights.size()));
    for (const DocLight& record : doc.lights) {
        DocTransform placement = record.transform;
        lightPlacement(placement);
        const DzVec3 position(placement.position[0], placement.position[1], placement.position[2]);
        const DzQuat rotation = hostLightRotation(placement.quaternion);
        const float scaleValues[16] = {placement.scale[0],
                                       0,
                                       0,
                                       0,
                                       0,
                                       placement.scale[1],
                                       0,
                                       0,
                                       0,
                                       0,
                                       placement.scale[2],
                                       0,
                                       0,
                                       0,
                                       0,
                                       0};
        DzMatrix3 scale(false);
        scale.setValue(scaleValues);

        std::unique_ptr<DzDistantLight> light = makeLight(record.kind);
        const QString name = QString::fromWCharArray(record.name.wide);
        light->setName(name);
        light->setLabel(name);
        light->setLocalTransform(0, position, rotation, scale);
        if (DzFloatProperty* intensity = light->getIntensityControl()) {
            intensity->setValue(record.intensity);
        }
        if (auto* spot = qobject_cast<DzSpotLight*>(light.get())) {
            if (DzFloatProperty* spread = spot->getSpreadAngleControl()) {
                spread->setValue(record.spread_angle);
            }
        }
        if (DzColorProperty* colour = light->getDiffuseColorControl()) {
            colour->setColorValue(QColor(colourByte(record.colour[0]), colourByte(record.colour[1]),
                                         colourByte(record.colour[2]), 255));
        }
        if (dzScene->addNode(light.get())) {
            light.release(); // the scene owns it now
        }
        progress.step();
    }
    return 1;
}

} // namespace importer
} // namespace yfx
