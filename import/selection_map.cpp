#include "import/selection_map.h"

#include "compat/qt_compat.h"

#include <dzbone.h>
#include <dzfigure.h>
#include <dzselectionmap.h>

#include <QtCore/QHash>
#include <QtCore/QString>

namespace yfx {
namespace importer {

void addSelectionMap(const SceneDoc& doc, const BoneFrames& bones, DzFigure& figure) {
    QHash<QString, DzBone*> boneByName;
    for (const BoneFrame& frame : bones.frames) {
        const QString name = QString::fromWCharArray(frame.name.wide);
        if (frame.host_bone != nullptr && !boneByName.contains(name)) {
            boneByName.insert(name, frame.host_bone);
        }
    }
    auto* map = new DzSelectionMap();
    figure.setSelectionMap(map); // the figure owns it now
    map->setName(QStringLiteral("MyFigure_selMap"));
    for (const DocGroupBuild& build : doc.group_builds) {
        if (build.bone_name.empty()) {
            continue;
        }
        if (DzBone* bone = boneByName.value(QString::fromWCharArray(build.bone_name.wide))) {
            map->addPair(QString::fromWCharArray(build.name.wide), bone, false);
        }
    }
}

} // namespace importer
} // namespace yfx
