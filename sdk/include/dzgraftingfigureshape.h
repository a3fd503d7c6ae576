// DzGraftingFigureShape: the shape of a figure that other figures are grafted onto
// (DzFigure::graftTo). Its assembly materials are its own materials followed by
// the materials of the current shape of each grafted figure, in graft order
// (DzFigure::getGraftFigureList of the figure whose object holds this shape); so
// a face's material index into the own list stays valid in the assembly list.
// Choices of the stand-in where the host's behaviour is not known:
// - The grafts' geometry is not merged: getGeometry is the figure's own mesh,
//   there is no assembly geometry, and each grafted figure keeps its own object
//   and cached geometry.
// - A material the figure and a graft share is listed once for each.
// - On a node that is not a figure, or a figure without grafts, the assembly
//   materials are the shape's own.
#pragma once

#include "dzfacetshape.h"

class DzFigure;

class DZ_EXPORT DzGraftingFigureShape : public DzFacetShape {
    Q_OBJECT
public:
    DzGraftingFigureShape();
    ~DzGraftingFigureShape() override;

public slots:
    int getNumAssemblyMaterials() const override;
    // NULL for an index out of range.
    DzMaterial* getAssemblyMaterial(int index) const override;
    // The first position of the material in the assembly list, or -1.
    int findAssemblyMaterialIndex(const DzMaterial* mat) const override;

private:
    // The current shapes of the grafted figures, in graft order.
    std::vector<const DzShape*> graftShapes() const;
};
