#include "import/figure_shape.h"

#include "import/import_shape.h"
#include "import/skin_binding.h"

#include <dzfigure.h>
#include <dzobject.h>

namespace yfx {
namespace importer {

int buildFigureShape(const ImportSession& session, MeshBuild& build, const ImportMesh& m) {
    DzFigure* figure = session.current_figure.data();
    if (figure == nullptr) {
        return 0;
    }
    if (m.vertices.empty() || m.faces.empty()) {
        return 1;
    }
    const QString name = QString::fromWCharArray(m.name.wide);
    auto* object = new DzObject();
    object->setName(name);
    object->setLabel(name);
    figure->setObject(object); // the figure owns it now
    if (addImportShape(session, build, m, *object) == nullptr) {
        return 0;
    }
    if (isOn(session.options.import_joints)) {
        bindSkin(session, build, m, object);
    }
    figure->update(false);
    return 1;
}

} // namespace importer
} // namespace yfx
