// DzObject: the geometry holder of a node: a list of shapes (the first is the
// current one), a list of modifiers and an optional cached geometry.
//
// Ownership: the object owns its shapes and the modifiers it was given without
// a QObject parent; a modifier that already has a parent (a figure's skin binding)
// stays with that parent. The object owns its cached geometry.
//
// Cached geometry: in the real host this is the final, world-space mesh after
// the modifiers. The stand-in does not deform geometry: a harness supplies the
// cached (for example high-resolution) mesh with setCachedGeom, and getCachedGeom
// is NULL until then.
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

    // Hook for the node's refresh and finalisation. The stand-in evaluates
    // everything on demand, so there is nothing to recompute.
    virtual void update(DzNode& node, bool isRender);
    virtual void finalize(DzNode& node, bool isRender, bool allowResChange = true);

    // Stand-in only: gives the object its cached geometry (owned; the previous one
    // is deleted; NULL removes it).
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
};
