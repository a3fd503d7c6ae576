// DzPropertyDrivenMaterial (stand-in only): the common part of the shader
// materials that keep every value in named properties (DzBrickMaterial,
// DzShaderMaterial, DzUberIrayMaterial). It has no Q_OBJECT, so it does not show
// in className() or inherits(): to the meta-object system each of those classes
// derives from DzMaterial, as in the host. Plug-in code must not name it.
//
// Each such material is created with this property set, every one mappable
// (DzNumericProperty::isMappable), so that a texture is reached through the
// property's map (isMapped, getMapValue):
//   "Diffuse Color" (colour, white)        the colour map and diffuse colour
//   "Cutout Opacity" (float, 1)            the opacity map and base opacity
//   "Bump Strength" (float, 1)
//   "Normal Map" (float, 1)
//   "Specular Color" (colour, white)
//   "Glossy Layered Weight" (float, 0)
//   "Dual Lobe Specular Reflectivity" (float, 0.5)
//   "Translucency Color" (colour, white)
// Further properties can be added with DzElement::addProperty.
#pragma once

#include "dzmaterial.h"

class DzColorProperty;
class DzFloatProperty;

class DZ_EXPORT DzPropertyDrivenMaterial : public DzMaterial {
public:
    ~DzPropertyDrivenMaterial() override;

    QColor getDiffuseColor() const override;
    double getBaseOpacity() const override;
    DzTexture* getColorMap() const override;
    DzTexture* getOpacityMap() const override;
    void setDiffuseColor(const QColor& color) override;
    void setBaseOpacity(float val) override;
    void setColorMap(const DzTexture* img) override;
    void setOpacityMap(const DzTexture* img) override;
    QString getMaterialName() const override { return m_shaderName; }

protected:
    // shaderName is what getMaterialName answers, e.g. "Iray Uber".
    explicit DzPropertyDrivenMaterial(const QString& shaderName);

private:
    QString m_shaderName;
    DzColorProperty* m_diffuse;
    DzFloatProperty* m_opacity;
};
