#include "import/mesh_node.h"

#include "import/import_shape.h"
#include "import/skin_binding.h"

#include <dznode.h>
#include <dzobject.h>
#include <dzscene.h>

#include <memory>

namespace yfx {
namespace importer {

int buildMeshNode(const ImportSession& session, MeshBuild& build, const ImportMesh& m) {
    if (m.vertices.empty() || m.faces.empty()) {
        return 1;
    }
    if (dzScene == nullptr) {
        return 0;
    }
    const QString name = QString::fromWCharArray(m.name.wide);
    auto node = std::make_unique<DzNode>();
    node->setName(name);
    node->setLabel(name);
    auto object = std::make_unique<DzObject>();
    object->setName(name);
    object->setLabel(name);
    if (addImportShape(session, build, m, *object) == nullptr) {
        return 0;
    }
    if (isOn(session.options.import_joints)) {
        bindSkin(session, build, m, object.get());
    }
    node->setObject(object.release()); // the node owns it now
    if (!dzScene->addNode(node.get())) {
        return 0;
    }
    node.release()->update(false); // the scene owns it now
    return 1;
}

} // namespace importer
} // namespace yfx
