// DzShape: what an object shows: geometry plus the list of materials its faces
// use (a face's material index is an index into this list). Abstract.
// Materials are shared by reference count: the shape holds a reference to each.
// The assembly materials are those of the assembled (for example graft-merged)
// geometry; for a plain shape they are the shape's own materials.
//
// What still differs from the host: the host's header includes dzmaterial.h
// (DzMaterial is only declared here) and its constructor is public (the class is
// abstract through pure virtuals); material editing beyond adding, geometry
// regions, rigidity and shape instances are left out.
#pragma once

#include "dzelement.h"

#include <QtCore/QHash>

#include <vector>

class DzGeometry;
class DzMaterial;
class DzNode;

class DZ_EXPORT DzShape : public DzElement {
    Q_OBJECT
public:
    ~DzShape() override;

public slots:
    int getNumMaterials() const { return int(m_materials.size()); }
    // NULL for an index out of range.
    DzMaterial* getMaterial(int index) const;
    // Appends the material. DZ_ILLEGAL_ARGUMENT_ERROR for NULL,
    // DZ_ILLEGAL_OPERATION_ERROR when the shape already has it.
    DzError addMaterial(DzMaterial* mat);
    // Index of the first material with that name, or -1.
    int findMaterialIndex(const QString& name) const;
    int findMaterialIndex(const DzMaterial* mat) const;
    DzMaterial* findMaterial(const QString& name) const;

    virtual int getNumAssemblyMaterials() const { return getNumMaterials(); }
    virtual DzMaterial* getAssemblyMaterial(int index) const { return getMaterial(index); }
    virtual int findAssemblyMaterialIndex(const DzMaterial* mat) const {
        return findMaterialIndex(mat);
    }

    virtual DzGeometry* getGeometry() const = 0;
    // The node whose object holds this shape, or NULL.
    DzNode* getNode();

protected:
    DzShape();

private:
    std::vector<DzMaterial*> m_materials;
    QHash<const DzMaterial*, int> m_materialIndex;
};
