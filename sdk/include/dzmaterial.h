// DzMaterial: the surface description of a group of faces. Abstract.
// Every material has a UV-set control: an enum property "UV Set" whose value is
// the index of the UV set it uses (equal to the index of DzFacetMesh::getUVSet).
// Its items are the labels of the UV sets of the geometry the material is on,
// kept up to date as sets are added, so any existing set can be selected by index.
// Choices of the stand-in where the host's behaviour is not known:
// - A material shared by several shapes lists the UV sets of the first shape that
//   took it and has geometry; a material on no such shape, or on geometry without
//   UV sets, lists the single item "Default". A UV set without a label is listed
//   as "UV Set <index>".
// - addItem on the control is ignored (returns -1): the items follow the geometry.
// - A value selected before the geometry lost UV sets stays as it was.
// Shared by reference count (shapes hold a reference to each of their materials).
//
// What still differs from the host: the material is not a scene asset; its
// header does not include dztexture.h (DzTexture is only declared, so include it
// to use a texture) nor the box and render headers. Rendering, selection,
// smoothing, baking and the mappability queries are left out, and the host's
// constructor is public (the class is abstract through pure virtuals). As in the
// host, QColor is only declared here.
#pragma once

#include "dzelement.h"
#include "dzrefcounteditem.h"

#include <vector>

class QColor;
class DzEnumProperty;
class DzShape;
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
    friend class DzShape;
    class UVSetControl;
    void attachShape(DzShape* shape) { m_shapes.push_back(shape); }
    void detachShape(DzShape* shape);

    DzEnumProperty* m_uvSet;
    // The shapes holding this material, in the order they took it.
    std::vector<DzShape*> m_shapes;
};
