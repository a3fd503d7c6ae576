#include "tools/yfx/host_scene_report.h"

#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzcolorproperty.h>
#include <dzdefaultmaterial.h>
#include <dzdistantlight.h>
#include <dzfacegroup.h>
#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzfigure.h>
#include <dzfloatproperty.h>
#include <dzmap.h>
#include <dzmaterial.h>
#include <dznode.h>
#include <dzobject.h>
#include <dzpointlight.h>
#include <dzscene.h>
#include <dzselectionmap.h>
#include <dzskinbinding.h>
#include <dzspotlight.h>
#include <dztexture.h>
#include <dzweightmap.h>

#include <QtGui/QColor>

#include <utility>

namespace yfx {

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

void copyColour(const QColor& colour, int out[4]) {
    out[0] = colour.red();
    out[1] = colour.green();
    out[2] = colour.blue();
    out[3] = colour.alpha();
}

void copyVec(const DzVec3& v, float out[3]) {
    out[0] = v.m_x;
    out[1] = v.m_y;
    out[2] = v.m_z;
}

// Each root in scene order followed by its subtree, depth first in child
// order; the depths are filled in on the way. A stack of its own, so a deep
// chain of bones costs no recursion.
void orderTree(const DzScene& scene, HostSceneReport& report) {
    const int count = int(report.nodes.size());
    std::vector<bool> visited(std::size_t(count), false);
    std::vector<std::pair<int, int>> pending; // scene index, depth
    const auto walkFrom = [&](int root) {
        pending.emplace_back(root, 0);
        while (!pending.empty()) {
            const auto [index, depth] = pending.back();
            pending.pop_back();
            if (visited[std::size_t(index)]) {
                continue;
            }
            visited[std::size_t(index)] = true;
            report.nodes[std::size_t(index)].depth = depth;
            report.treeOrder.push_back(index);
            const DzNode* node = scene.getNode(index);
            for (int c = node->getNumNodeChildren() - 1; c >= 0; --c) {
                const int child = scene.findNodeIndex(node->getNodeChild(c));
                if (child >= 0 && !visited[std::size_t(child)]) {
                    pending.emplace_back(child, depth + 1);
                }
            }
        }
    };
    for (int i = 0; i < count; ++i) {
        if (report.nodes[std::size_t(i)].parent < 0) {
            walkFrom(i);
        }
    }
    // Every scene node hangs below a root; this only guards the order.
    for (int i = 0; i < count; ++i) {
        if (!visited[std::size_t(i)]) {
            walkFrom(i);
        }
    }
}

ReportMaterial describeMaterial(const DzMaterial& material) {
    ReportMaterial out;
    out.className = material.metaObject()->className();
    out.name = utf8(material.getName());
    copyColour(material.getDiffuseColor(), out.colour);
    out.opacity = material.getBaseOpacity();
    const auto addMap = [&out](const char* channel, const DzTexture* texture) {
        if (texture != nullptr) {
            out.maps.push_back({channel, utf8(texture->getFilename())});
        }
    };
    addMap("color", material.getColorMap());
    addMap("opacity", material.getOpacityMap());
    if (auto* plain = qobject_cast<const DzDefaultMaterial*>(&material)) {
        addMap("bump", plain->getBumpMap());
        addMap("normal", plain->getNormalValueMap());
        addMap("specular", plain->getSpecularValueMap());
    }
    return out;
}

ReportShape describeShape(int node, const DzShape& shape) {
    ReportShape out;
    out.node = node;
    out.className = shape.metaObject()->className();
    out.name = utf8(shape.getName());
    for (int m = 0; m < shape.getNumMaterials(); ++m) {
        if (const DzMaterial* material = shape.getMaterial(m)) {
            out.materials.push_back(describeMaterial(*material));
        } else {
            out.materials.emplace_back();
        }
    }
    const auto* facetShape = qobject_cast<const DzFacetShape*>(&shape);
    const DzFacetMesh* mesh = facetShape != nullptr ? facetShape->getFacetMesh() : nullptr;
    if (mesh == nullptr) {
        return out;
    }
    out.hasMesh = true;
    out.vertices = mesh->getNumVertices();
    out.facets = mesh->getNumFacets();
    for (int g = 0; g < mesh->getNumFaceGroups(); ++g) {
        const DzFaceGroup* group = mesh->getFaceGroup(g);
        out.faceGroups.push_back(group != nullptr ? utf8(group->getName()) : std::string());
    }
    out.uvs = mesh->getUVs() != nullptr ? mesh->getUVs()->getNumValues() : 0;
    out.uvSets = mesh->getNumUVSets();
    if (const DzFacet* facets = mesh->getFacetsPtr()) {
        for (int f = 0; f < out.facets; ++f) {
            const std::size_t material = facets[f].m_materialIdx;
            if (material < out.materials.size()) {
                ++out.materials[material].facets;
            }
        }
    }
    return out;
}

double valueOf(const DzFloatProperty* property) {
    return property != nullptr ? property->getValue() : 0.0;
}

ReportFigure describeFigure(const DzScene& scene, int node, const DzFigure& figure) {
    ReportFigure out;
    out.node = node;
    DzBoneList bones;
    figure.getAllBones(bones);
    for (const DzBone* bone : bones) {
        ReportBone b;
        b.node = scene.findNodeIndex(bone);
        copyVec(bone->getOrigin(), b.origin);
        copyVec(bone->getEndPoint(), b.endPoint);
        b.orientation[0] = valueOf(bone->getOrientXControl());
        b.orientation[1] = valueOf(bone->getOrientYControl());
        b.orientation[2] = valueOf(bone->getOrientZControl());
        b.rotationOrder = utf8(bone->getRotationOrder().toString());
        out.bones.push_back(std::move(b));
    }
    if (const DzSkinBinding* skin = figure.getSkinBinding()) {
        out.hasSkin = true;
        for (int i = 0; i < skin->getNumBoneBindings(); ++i) {
            const DzBoneBinding* binding = skin->getBoneBinding(i);
            if (binding == nullptr) {
                continue;
            }
            ReportBoneBinding b;
            b.name = utf8(binding->getName());
            b.bone = binding->getBone() != nullptr ? scene.findNodeIndex(binding->getBone()) : -1;
            if (const DzWeightMap* map = binding->getWeights()) {
                b.hasWeights = true;
                b.weights = map->getNumWeights();
                for (int w = 0; w < b.weights; ++w) {
                    b.sum += map->getFloatWeight(w);
                }
            }
            out.bindings.push_back(std::move(b));
        }
    }
    if (const DzSelectionMap* map = figure.getSelectionMap()) {
        out.hasSelectionMap = true;
        out.selectionMapName = utf8(map->getName());
        for (int i = 0; i < map->getNumPairs(); ++i) {
            const DzNode* paired = map->getPairNode(i);
            out.pairs.push_back(
                {utf8(map->getPairGroup(i)), paired != nullptr ? scene.findNodeIndex(paired) : -1});
        }
    }
    return out;
}

ReportLight describeLight(const DzScene& scene, int node, const DzDistantLight& light) {
    ReportLight out;
    out.node = node;
    // Spot and point lights are distant lights too: the subclasses first.
    const auto* spot = qobject_cast<const DzSpotLight*>(&light);
    out.kind = spot != nullptr                                        ? "spot"
               : qobject_cast<const DzPointLight*>(&light) != nullptr ? "point"
                                                                      : "distant";
    if (const DzFloatProperty* intensity = light.getIntensityControl()) {
        out.hasIntensity = true;
        out.intensity = intensity->getValue();
    }
    if (const DzColorProperty* colour = light.getDiffuseColorControl()) {
        out.hasColour = true;
        copyColour(colour->getColorValue(), out.colour);
    }
    if (spot != nullptr && spot->getSpreadAngleControl() != nullptr) {
        out.hasSpread = true;
        out.spread = spot->getSpreadAngleControl()->getValue();
    }
    DzVec3 position;
    DzQuat rotation;
    DzMatrix3 scale;
    light.getLocalTransform(scene.getTime(), position, rotation, scale);
    copyVec(position, out.position);
    out.rotation[0] = rotation.m_x;
    out.rotation[1] = rotation.m_y;
    out.rotation[2] = rotation.m_z;
    out.rotation[3] = rotation.m_w;
    for (int i = 0; i < 3; ++i) {
        out.scale[i] = scale[i][i];
    }
    return out;
}

void gatherKeys(int node, const DzNode& host, std::vector<ReportAnimated>& out) {
    for (int p = 0; p < host.getNumProperties(); ++p) {
        const DzProperty* property = host.getProperty(p);
        if (property == nullptr || property->getNumKeys() <= 0) {
            continue;
        }
        ReportAnimated animated;
        animated.node = node;
        animated.property = utf8(property->getName());
        const auto* floatProperty = qobject_cast<const DzFloatProperty*>(property);
        const auto* numeric = qobject_cast<const DzNumericProperty*>(property);
        for (int k = 0; k < property->getNumKeys(); ++k) {
            ReportKey key;
            key.time = property->getKeyTime(k);
            if (floatProperty != nullptr) {
                key.hasValue = true;
                key.value = floatProperty->getKeyValue(k);
            } else if (numeric != nullptr) {
                key.hasValue = true;
                key.value = numeric->getDoubleValue(key.time);
            }
            animated.keys.push_back(key);
        }
        out.push_back(std::move(animated));
    }
}

} // namespace

HostSceneReport gatherHostScene(const DzScene& scene) {
    HostSceneReport report;
    const int count = scene.getNumNodes();
    report.nodes.resize(std::size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        const DzNode* node = scene.getNode(i);
        ReportNode& out = report.nodes[std::size_t(i)];
        out.className = node->metaObject()->className();
        out.name = utf8(node->getName());
        out.label = utf8(node->getLabel());
        out.parent =
            node->getNodeParent() != nullptr ? scene.findNodeIndex(node->getNodeParent()) : -1;
    }
    orderTree(scene, report);

    for (int i = 0; i < count; ++i) {
        const DzNode* node = scene.getNode(i);
        if (const DzObject* object = node->getObject()) {
            for (int s = 0; s < object->getNumShapes(); ++s) {
                if (const DzShape* shape = object->getShape(s)) {
                    report.shapes.push_back(describeShape(i, *shape));
                }
            }
        }
        if (const auto* figure = qobject_cast<const DzFigure*>(node)) {
            report.figures.push_back(describeFigure(scene, i, *figure));
        }
        if (const auto* light = qobject_cast<const DzDistantLight*>(node)) {
            report.lights.push_back(describeLight(scene, i, *light));
        }
        gatherKeys(i, *node, report.animated);
    }

    ReportTimeLine& line = report.timeLine;
    line.time = scene.getTime();
    line.step = scene.getTimeStep();
    line.animStart = scene.getAnimRange().getStart();
    line.animEnd = scene.getAnimRange().getEnd();
    line.playStart = scene.getPlayRange().getStart();
    line.playEnd = scene.getPlayRange().getEnd();
    return report;
}

} // namespace yfx
