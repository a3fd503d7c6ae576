// DzBrickMaterial: a shader material driven entirely by named properties (the
// kind the physically based shaders use). It is created with this property set,
// every numeric one mappable:
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

class DZ_EXPORT DzBrickMaterial : public DzMaterial {
    Q_OBJECT
public:
    // shaderName is what getMaterialName answers, e.g. "Iray Uber".
    explicit DzBrickMaterial(const QString& shaderName = QStringLiteral("Iray Uber"));
    ~DzBrickMaterial() override;

public slots:
    QColor getDiffuseColor() const override;
    double getBaseOpacity() const override;
    DzTexture* getColorMap() const override;
    DzTexture* getOpacityMap() const override;
    void setDiffuseColor(const QColor& color) override;
    void setBaseOpacity(float val) override;
    void setColorMap(const DzTexture* img) override;
    void setOpacityMap(const DzTexture* img) override;
    QString getMaterialName() const override { return m_shaderName; }

private:
    QString m_shaderName;
    DzColorProperty* m_diffuse;
    DzFloatProperty* m_opacity;
};
