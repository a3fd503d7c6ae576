#include "export/light_gathering.h"

#include <cmath>

#include <QtGui/QColor>

#include <dzdistantlight.h>
#include <dzfloatproperty.h>
#include <dzlight.h>
#include <dzmatrix3.h>
#include <dzpointlight.h>
#include <dzspotlight.h>

#include "document/doc_append.h"
#include "document/doc_host_transform.h"
#include "export/host_values.h"
#include "util/matrix_math.h"

namespace yfx {
namespace exporter {

namespace {

// The light's placement: position and scale from the decomposed transform, and
// a matrix whose Z column points against the light's rotated Z axis with its X
// and Y columns rebuilt from it. The quaternion and the axes are left zero.
void fillLightTransform(DocTransform& transform, const DzNode& node) {
    float host[12];
    hostMatrixValues(nodeTransformAt(node, 0), host);
    transformFromHostMatrix(transform, host);
    float rotation[16];
    quatToMatrix(transform.quaternion, rotation);
    float z[3] = {rotation[2], rotation[6], rotation[10]};
    const float length = std::sqrt(z[0] * z[0] + z[1] * z[1] + z[2] * z[2]);
    for (float& component : z) {
        component = length > 0.0001f ? component / length : 0.0f;
    }
    rotation[2] = -z[0];
    rotation[6] = -z[1];
    rotation[10] = -z[2];
    orientFromZAxis(rotation, transform.matrix);
    for (float& value : transform.quaternion) {
        value = 0.0f;
    }
    for (float& value : transform.axes) {
        value = 0.0f;
    }
}

} // namespace

int gatherLight(ExportSession& session, DzNode& node) {
    const auto* light = qobject_cast<const DzLight*>(&node);
    if (light == nullptr) {
        return 1;
    }
    const std::wstring label = wideText(node.getLabel());
    const QColor colour = light->getDiffuseColor();
    DocLight* record = addLight(session.document);
    if (record == nullptr) {
        return 0;
    }
    record->name.setWide(label.c_str());
    record->colour[0] = static_cast<float>(colour.red() / 255.0);
    record->colour[1] = static_cast<float>(colour.green() / 255.0);
    record->colour[2] = static_cast<float>(colour.blue() / 255.0);
    record->colour[3] = 1.0f;

    const auto* spot = qobject_cast<const DzSpotLight*>(light);
    if (spot != nullptr) {
        record->kind = kLightSpot;
    } else if (qobject_cast<const DzPointLight*>(light) != nullptr) {
        record->kind = kLightPoint;
    } else if (qobject_cast<const DzDistantLight*>(light) != nullptr) {
        record->kind = kLightDistant;
    }
    if (const auto* distant = qobject_cast<const DzDistantLight*>(light)) {
        const auto intensity = static_cast<float>(distant->getIntensity());
        record->intensity = intensity < 0.0f ? 1.0f : intensity;
    }
    if (spot != nullptr && spot->getSpreadAngleControl() != nullptr) {
        const auto spread = static_cast<float>(spot->getSpreadAngleControl()->getValue());
        const float inner = spread - 10.0f;
        record->inner_angle = inner < 0.0f ? 0.0f : inner;
        record->spread_angle = spread < 0.0f ? 1.0f : spread;
    }
    fillLightTransform(record->transform, node);
    return 1;
}

} // namespace exporter
} // namespace yfx
