// DzMaterial: the surface description of a group of faces. Abstract.
// Every material has a UV-set control: an enum property "UV Set" whose value is
// the index of the UV set it uses (equal to the index of DzFacetMesh::getUVSet);
// it starts with the single item "Default".
// Shared by reference count (shapes hold a reference to each of their materials).
#pragma once

#include "dzelement.h"
#include "dzrefcount.h"

#include <QtGui/QColor>

class DzEnumProperty;
class DzTexture;

class DZ_EXPORT DzMaterial : public DzElement, public DzRefCountedItem {
    Q_OBJECT
public:
    ~DzMaterial() override;

public slots:
    DzEnumProperty* getUVSetControl() const { return m_uvSet; }
    virtual QColor getDiffuseColor() const = 0;
    virtual double getBaseOpacity() const = 0;
    virtual DzTexture* getColorMap() const = 0;
    virtual DzTexture* getOpacityMap() const = 0;
    virtual void setDiffuseColor(const QColor& color) = 0;
    virtual void setBaseOpacity(float val) = 0;
    virtual void setColorMap(const DzTexture* img) = 0;
    virtual void setOpacityMap(const DzTexture* img) = 0;
    // The shader type's name (the surface's name is getName()).
    virtual QString getMaterialName() const = 0;

protected:
    DzMaterial();

private:
    DzEnumProperty* m_uvSet;
};
