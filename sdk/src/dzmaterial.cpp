#include "dzmaterial.h"

#include "dzenumproperty.h"

DzMaterial::DzMaterial() : m_uvSet(new DzEnumProperty(QStringLiteral("UV Set"), false, false)) {
    m_uvSet->addItem(QStringLiteral("Default"));
    m_uvSet->setPath(QStringLiteral("Surface"));
    addProperty(m_uvSet);
}

DzMaterial::~DzMaterial() = default;
