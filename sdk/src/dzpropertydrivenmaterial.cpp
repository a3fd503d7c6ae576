#include "dzpropertydrivenmaterial.h"

#include "dzcolorproperty.h"
#include "dzfloatproperty.h"

#include <QtGui/QColor>

namespace {

template <class P> P* addMappable(DzMaterial* mat, P* prop) {
    prop->setIsMappable(true);
    prop->setPath(QStringLiteral("Surface"));
    mat->addProperty(prop);
    return prop;
}

DzFloatProperty* floatProp(DzMaterial* mat, const char* name, float init) {
    return addMappable(mat, new DzFloatProperty(QString::fromLatin1(name), true, false, init));
}

DzColorProperty* colorProp(DzMaterial* mat, const char* name) {
    return addMappable(
        mat, new DzColorProperty(QString::fromLatin1(name), true, false, QColor(255, 255, 255)));
}

} // namespace

DzPropertyDrivenMaterial::DzPropertyDrivenMaterial(const QString& shaderName)
    : m_shaderName(shaderName), m_diffuse(colorProp(this, "Diffuse Color")),
      m_opacity(floatProp(this, "Cutout Opacity", 1.0f)) {
    floatProp(this, "Bump Strength", 1.0f);
    floatProp(this, "Normal Map", 1.0f);
    colorProp(this, "Specular Color");
    floatProp(this, "Glossy Layered Weight", 0.0f);
    floatProp(this, "Dual Lobe Specular Reflectivity", 0.5f);
    colorProp(this, "Translucency Color");
}

DzPropertyDrivenMaterial::~DzPropertyDrivenMaterial() = default;

QColor DzPropertyDrivenMaterial::getDiffuseColor() const {
    return m_diffuse->getColorValue();
}

double DzPropertyDrivenMaterial::getBaseOpacity() const {
    return m_opacity->getValue();
}

DzTexture* DzPropertyDrivenMaterial::getColorMap() const {
    return m_diffuse->getMapValue();
}

DzTexture* DzPropertyDrivenMaterial::getOpacityMap() const {
    return m_opacity->getMapValue();
}

void DzPropertyDrivenMaterial::setDiffuseColor(const QColor& color) {
    m_diffuse->setColorValue(color);
}

void DzPropertyDrivenMaterial::setBaseOpacity(float val) {
    m_opacity->setValue(val);
}

void DzPropertyDrivenMaterial::setColorMap(const DzTexture* img) {
    m_diffuse->setMap(img);
}

void DzPropertyDrivenMaterial::setOpacityMap(const DzTexture* img) {
    m_opacity->setMap(img);
}
