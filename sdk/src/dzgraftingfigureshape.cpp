#include "dzgraftingfigureshape.h"

#include "dzfigure.h"
#include "dzobject.h"

DzGraftingFigureShape::DzGraftingFigureShape() = default;

DzGraftingFigureShape::~DzGraftingFigureShape() = default;

std::vector<const DzShape*> DzGraftingFigureShape::graftShapes() const {
    std::vector<const DzShape*> shapes;
    // getNode only reads the QObject parents.
    const auto* figure =
        qobject_cast<const DzFigure*>(const_cast<DzGraftingFigureShape*>(this)->getNode());
    if (!figure) {
        return shapes;
    }
    DzWeakFigureListIterator it = figure->graftFigureIterator();
    while (it.hasNext()) {
        const DzFigure* graft = it.next().data();
        const DzObject* obj = graft ? graft->getObject() : nullptr;
        if (const DzShape* shape = obj ? obj->getCurrentShape() : nullptr) {
            shapes.push_back(shape);
        }
    }
    return shapes;
}

int DzGraftingFigureShape::getNumAssemblyMaterials() const {
    int n = getNumMaterials();
    for (const DzShape* shape : graftShapes()) {
        n += shape->getNumMaterials();
    }
    return n;
}

DzMaterial* DzGraftingFigureShape::getAssemblyMaterial(int index) const {
    if (index < 0) {
        return nullptr;
    }
    if (index < getNumMaterials()) {
        return getMaterial(index);
    }
    index -= getNumMaterials();
    for (const DzShape* shape : graftShapes()) {
        if (index < shape->getNumMaterials()) {
            return shape->getMaterial(index);
        }
        index -= shape->getNumMaterials();
    }
    return nullptr;
}

int DzGraftingFigureShape::findAssemblyMaterialIndex(const DzMaterial* mat) const {
    const int own = findMaterialIndex(mat);
    if (own >= 0 || !mat) {
        return own;
    }
    int offset = getNumMaterials();
    for (const DzShape* shape : graftShapes()) {
        const int at = shape->findMaterialIndex(mat);
        if (at >= 0) {
            return offset + at;
        }
        offset += shape->getNumMaterials();
    }
    return -1;
}
