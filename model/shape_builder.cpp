#include "model/shape_builder.h"

#include "model/material_builder.h"

#include <assimp/scene.h>

#include <dzdefaultmaterial.h>
#include <dzenumproperty.h>
#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzobject.h>

#include <algorithm>
#include <map>

namespace yfx {
namespace model {

DzObject* makeObject(const aiScene& scene, std::vector<MeshPart>& parts, const std::string& name,
                     TextureFiles& textures, ModelNotes& notes, BuiltGeometry& geometry) {
    std::map<unsigned, int> slotOf; // model material -> shape material
    std::vector<unsigned> materials;
    for (MeshPart& part : parts) {
        const unsigned index = part.mesh->mMaterialIndex;
        const auto found = slotOf.find(index);
        if (found != slotOf.end()) {
            part.materialSlot = found->second;
            continue;
        }
        part.materialSlot = int(materials.size());
        slotOf.emplace(index, part.materialSlot);
        materials.push_back(index);
    }
    geometry = buildFacetMesh(parts, name, notes);
    auto* shape = new DzFacetShape();
    shape->setName(QString::fromStdString(name));
    shape->setLabel(QString::fromStdString(name));
    shape->setFacetMesh(geometry.mesh.release());
    int selected = 0; // the largest UV set a material selects: the one a project file gets
    for (unsigned index : materials) {
        const aiMaterial* source = scene.mMaterials != nullptr && index < scene.mNumMaterials
                                       ? scene.mMaterials[index]
                                       : nullptr;
        const HostMaterial made = makeHostMaterial(source, index, textures, notes);
        shape->addMaterial(made.material);
        if (made.uvSet > 0 && made.uvSet < geometry.uvSets) {
            made.material->getUVSetControl()->setValue(made.uvSet);
            selected = std::max(selected, made.uvSet);
        } else if (made.uvSet > 0) {
            notes.drop(format("mesh '%s': material '%s' maps UV channel %d, which the mesh "
                              "does not have",
                              name.c_str(), made.material->getName().toUtf8().constData(),
                              made.uvSet));
        }
    }
    if (geometry.uvSets > 1) {
        notes.drop(format("mesh '%s': UV set %d stays in the host scene but not in a project "
                          "file, which takes one UV set per mesh: the one its materials "
                          "select (set %d)",
                          name.c_str(), selected == 0 ? 1 : 0, selected));
    }
    auto* object = new DzObject();
    object->addShape(shape);
    return object;
}

} // namespace model
} // namespace yfx
