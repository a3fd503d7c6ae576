// DzObject: the geometry holder of a node: a list of shapes (the first is the
// current one), a list of modifiers and an optional cached geometry.
//
// Ownership: the object owns its shapes and the modifiers it was given without
// a QObject parent; a modifier that already has a parent (a figure's skin binding)
// stays with that parent. The object owns its cached geometry.
//
// Cached geometry: the final, world-space mesh of the current shape at the
// scene's current time, as the host draws it. finalize (DzNode::finalize) builds
// it, in this order:
//   1. a copy of the current shape's geometry (DzGeometry::makeCopy), vertices at rest;
//   2. every modifier applied to the copy in list order (DzModifier::apply; a
//      figure's skin binding blends its bones' moves, see DzSkinBinding);
//   3. every vertex moved by the node's placement, getRestWSTransform()^-1 *
//      getWSTransform() (see DzNode): for a node whose pivot and rest pose are
//      zero that is just its world-space transform;
//   4. for a facet mesh, its UV map (getUVs) made the UV set selected by the
//      largest "UV Set" value among the shape's assembly materials; the mesh's
//      active UV map when no UV set has that index.
// The cost is linear in vertices, faces and skin weights.
// Choices of the stand-in where the host's behaviour is not known:
// - The cache is rebuilt only by finalize: getCachedGeom does not re-evaluate, so
//   after a change of time or pose it is stale until the next finalize. Before the
//   first finalize, and for an object whose current shape has no geometry, it is
//   NULL.
// - A harness may supply the cache itself with setCachedGeom (for example a
//   subdivided, high-resolution mesh, already final and in world space). A
//   supplied cache is kept as it is: finalize neither rebuilds nor moves it, until
//   setCachedGeom(NULL) hands the cache back to finalize.
//
// What still differs from the host: setCachedGeom is the stand-in's own (above);
// bounding boxes, geometry filters, moving shapes and modifiers and the clipboard
// class of the host's header are left out.
#pragma once

#include "dzelement.h"
#include "dztypes.h"

#include <vector>

class DzModifier;
class DzNode;
class DzShape;
class DzVertexMesh;

class DZ_EXPORT DzObject : public DzElement {
    Q_OBJECT
public:
    DzObject();
    ~DzObject() override;

    DzModifierIterator modifierIterator() const;

    // Hook for the node's refresh. The stand-in evaluates transforms on demand,
    // so there is nothing to recompute.
    virtual void update(DzNode& node, bool isRender);
    // Builds the cached geometry for node (see above). isRender and
    // allowResChange change nothing in the stand-in.
    virtual void finalize(DzNode& node, bool isRender, bool allowResChange = true);

    // Stand-in only: supplies the cached geometry (owned; the previous one is
    // deleted). NULL removes it and lets finalize build the cache again.
    void setCachedGeom(DzVertexMesh* mesh);

public slots:
    virtual DzShape* getCurrentShape() const;
    virtual int getNumShapes() const { return int(m_shapes.size()); }
    virtual DzShape* getShape(int index) const;
    // Inserts at index (appends for -1 or past the end) and takes ownership.
    // DZ_ILLEGAL_ARGUMENT_ERROR for NULL, DZ_ILLEGAL_OPERATION_ERROR when the shape
    // already belongs to an object.
    virtual DzError addShape(DzShape* shape, int index = -1);
    // Deletes the shape; DZ_ILLEGAL_ARGUMENT_ERROR for an index out of range.
    virtual DzError removeShape(int index);

    virtual DzVertexMesh* getCachedGeom() const { return m_cache; }

    virtual int getNumModifiers() const { return int(m_modifiers.size()); }
    virtual DzModifier* getModifier(int index) const;
    virtual int findModifierIndex(DzModifier* mod) const;
    // Inserts at index (appends for -1 or past the end).
    // DZ_ILLEGAL_ARGUMENT_ERROR for NULL, DZ_ILLEGAL_OPERATION_ERROR when present.
    virtual DzError addModifier(DzModifier* mod, int index = -1);
    // Takes the modifier out of the list (deleting it when the object owns it).
    virtual DzError removeModifier(DzModifier* mod);

private:
    std::vector<DzShape*> m_shapes;
    std::vector<DzModifier*> m_modifiers;
    DzVertexMesh* m_cache = nullptr;
    bool m_cacheSupplied = false;
};
