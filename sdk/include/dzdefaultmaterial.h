// DzDefaultMaterial: the host's default surface shader, "DAZ Studio Default".
// Its values live in properties, and its maps are those properties' maps:
//   "Diffuse Color"      colour (default white)  colour map
//   "Opacity Strength"   float  (default 1)      opacity map
//   "Bump Strength"      float  (default 1)      bump map
//   "Normal Map"         image                   normal value map
//   "Specular Color"     colour (default white)  specular colour map
//   "Specular Strength"  float  (default 1)      specular value map
//   "Diffuse Strength"   float  (default 1)      diffuse value map
//
// What still differs from the host: the base-class setters and getters are slots
// here (plain virtuals in the host), and the ambient, reflection, refraction,
// displacement, glossiness and tiling channels are left out. getMaterialName
// answers "DAZ Studio Default" as in the host.
#pragma once

#include "dzmaterial.h"

class DzColorProperty;
class DzFloatProperty;
class DzImageProperty;

class DZ_EXPORT DzDefaultMaterial : public DzMaterial {
    Q_OBJECT
public:
    DzDefaultMaterial();
    ~DzDefaultMaterial() override;

public slots:
    QColor getDiffuseColor() const override;
    double getBaseOpacity() const override;
    DzTexture* getColorMap() const override;
    DzTexture* getOpacityMap() const override;
    void setDiffuseColor(const QColor& color) override;
    void setBaseOpacity(float val) override;
    void setColorMap(const DzTexture* img) override;
    void setOpacityMap(const DzTexture* img) override;
    QString getMaterialName() const override;

    void setBumpMap(const DzTexture* img);
    void setNormalValueMap(const DzTexture* img);
    void setSpecularColorMap(const DzTexture* img);
    void setSpecularValueMap(const DzTexture* img);
    void setDiffuseValueMap(const DzTexture* img);
    void setSpecularColor(const QColor& color);
    void setBumpStrength(float val);
    DzTexture* getBumpMap() const;
    DzTexture* getNormalValueMap() const;
    DzTexture* getSpecularColorMap() const;
    DzTexture* getSpecularValueMap() const;
    DzTexture* getDiffuseValueMap() const;
    QColor getSpecularColor() const;
    double getBumpStrength() const;

    DzColorProperty* getDiffuseColorControl() const { return m_diffuse; }
    DzFloatProperty* getOpacityControl() const { return m_opacity; }
    DzFloatProperty* getBumpControl() const { return m_bump; }
    DzImageProperty* getNormalValueMapControl() const { return m_normal; }
    DzColorProperty* getSpecularColorControl() const { return m_specularColor; }
    DzFloatProperty* getSpecularStrengthControl() const { return m_specularStrength; }
    DzFloatProperty* getDiffuseStrengthControl() const { return m_diffuseStrength; }

private:
    DzColorProperty* m_diffuse;
    DzFloatProperty* m_opacity;
    DzFloatProperty* m_bump;
    DzImageProperty* m_normal;
    DzColorProperty* m_specularColor;
    DzFloatProperty* m_specularStrength;
    DzFloatProperty* m_diffuseStrength;
};
