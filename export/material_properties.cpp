#include "export/material_properties.h"

#include <QtCore/QString>

#include <dzmaterial.h>
#include <dznumericproperty.h>
#include <dztexture.h>

#include "export/host_values.h"
#include "platform/path.h"

namespace yfx {
namespace exporter {

DzTexture* findPropertyTexture(const DzElement& element, const wchar_t* name) {
    const int count = element.getNumProperties();
    for (int i = 0; i < count; ++i) {
        DzProperty* property = element.getProperty(i);
        if (property == nullptr ||
            compareNoCase(wideText(property->getName()).c_str(), name) != 0 ||
            !property->isNumeric()) {
            continue;
        }
        const auto* numeric = qobject_cast<const DzNumericProperty*>(property);
        if (numeric == nullptr || !numeric->isMapped()) {
            continue;
        }
        DzTexture* texture = numeric->getMapValue();
        if (texture != nullptr && texture->inherits("DzTexture")) {
            return texture;
        }
    }
    return nullptr;
}

std::wstring materialClassName(const DzMaterial& material) {
    static const char* const known[] = {"DzBrickMaterial", "DzDefaultMaterial", "DzShaderMaterial",
                                        "DzUberIrayMaterial"};
    for (const char* name : known) {
        if (material.inherits(QString::fromLatin1(name))) {
            return wideText(QString::fromLatin1(name));
        }
    }
    return L"UNKNOWN: " + wideText(material.className());
}

} // namespace exporter
} // namespace yfx
