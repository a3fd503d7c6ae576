#include "dzdefaultmaterial.h"

#include "dzcolorproperty.h"
#include "dzfloatproperty.h"
#include "dzimageproperty.h"

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

DzDefaultMaterial::DzDefaultMaterial()
    : m_diffuse(colorProp(this, "Diffuse Color")),
      m_opacity(floatProp(this, "Opacity Strength", 1.0f)),
      m_bump(floatProp(this, "Bump Strength", 1.0f)),
      m_normal(new DzImageProperty(QStringLiteral("Normal Map"), false, false)),
      m_specularColor(colorProp(this, "Specular Color")),
      m_specularStrength(floatProp(this, "Specular Strength", 1.0f)),
      m_diffuseStrength(floatProp(this, "Diffuse Strength", 1.0f)) {
    m_normal->setPath(QStringLiteral("Surface"));
    addProperty(m_normal);
}

DzDefaultMaterial::~DzDefaultMaterial() = default;

QColor DzDefaultMaterial::getDiffuseColor() const {
    return m_diffuse->getColorValue();
}

double DzDefaultMaterial::getBaseOpacity() const {
    return m_opacity->getValue();
}

DzTexture* DzDefaultMaterial::getColorMap() const {
    return m_diffuse->getMapValue();
}

DzTexture* DzDefaultMaterial::getOpacityMap() const {
    return m_opacity->getMapValue();
}

void DzDefaultMaterial::setDiffuseColor(const QColor& color) {
    m_diffuse->setColorValue(color);
}

void DzDefaultMaterial::setBaseOpacity(float val) {
    m_opacity->setValue(val);
}

void DzDefaultMaterial::setColorMap(const DzTexture* img) {
    m_diffuse->setMap(img);
}

void DzDefaultMaterial::setOpacityMap(const DzTexture* img) {
    m_opacity->setMap(img);
}

QString DzDefaultMaterial::getMaterialName() const {
    return QStringLiteral("DAZ Studio Default");
}

void DzDefaultMaterial::setBumpMap(const DzTexture* img) {
    m_bump->setMap(img);
}

void DzDefaultMaterial::setNormalValueMap(const DzTexture* img) {
    m_normal->setValue(img);
}

void DzDefaultMaterial::setSpecularColorMap(const DzTexture* img) {
    m_specularColor->setMap(img);
}

void DzDefaultMaterial::setSpecularValueMap(const DzTexture* img) {
    m_specularStrength->setMap(img);
}

void DzDefaultMaterial::setDiffuseValueMap(const DzTexture* img) {
    m_diffuseStrength->setMap(img);
}

void DzDefaultMaterial::setSpecularColor(const QColor& color) {
    m_specularColor->setColorValue(color);
}

void DzDefaultMaterial::setBumpStrength(float val) {
    m_bump->setValue(val);
}

DzTexture* DzDefaultMaterial::getBumpMap() const {
    return m_bump->getMapValue();
}

DzTexture* DzDefaultMaterial::getNormalValueMap() const {
    return m_normal->getValue();
}

DzTexture* DzDefaultMaterial::getSpecularColorMap() const {
    return m_specularColor->getMapValue();
}

DzTexture* DzDefaultMaterial::getSpecularValueMap() const {
    return m_specularStrength->getMapValue();
}

DzTexture* DzDefaultMaterial::getDiffuseValueMap() const {
    return m_diffuseStrength->getMapValue();
}

QColor DzDefaultMaterial::getSpecularColor() const {
    return m_specularColor->getColorValue();
}

double DzDefaultMaterial::getBumpStrength() const {
    return m_bump->getValue();
}

// The meta-object code is compiled here, where the Qt value types the slots
// pass are complete (the header only declares them, as the host's does).
#include "moc_dzdefaultmaterial.cpp"
