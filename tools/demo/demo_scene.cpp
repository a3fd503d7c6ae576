#include "tools/demo/demo_scene.h"

#include "tools/demo/demo_animation.h"
#include "tools/demo/demo_body.h"
#include "tools/demo/demo_materials.h"
#include "tools/demo/demo_props.h"
#include "tools/demo/demo_skeleton.h"

#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzfigure.h>
#include <dzobject.h>
#include <dzscene.h>
#include <dzskinbinding.h>
#include <dzweightmap.h>

#include <algorithm>

namespace yfx_demo {

namespace {

DemoSceneOptions inRange(const DemoSceneOptions& o) {
    DemoSceneOptions r = o;
    r.extraBones = std::clamp(r.extraBones, 0, kMaxExtraBones);
    const std::int64_t bones = kBaseBoneCount + r.extraBones;
    r.polygons =
        std::clamp<std::int64_t>(r.polygons, 1, std::min(kMaxPolygons, kMaxPolygonBones / bones));
    r.frames = std::clamp(r.frames, 1, kMaxFrames);
    return r;
}

// The figure's object: the body mesh in a shape with the body materials, and
// one bone binding per bone in the figure's skin binding.
void dressFigure(DzFigure& figure, const std::vector<DzBone*>& bones, const BodyMesh& body,
                 const std::vector<DzMaterial*>& materials) {
    auto* shape = new DzFacetShape();
    shape->setFacetMesh(body.mesh);
    for (DzMaterial* m : materials) {
        shape->addMaterial(m);
    }
    auto* object = new DzObject();
    object->addShape(shape);
    figure.setObject(object);
    DzSkinBinding* skin = figure.getSkinBinding();
    for (std::size_t b = 0; b < bones.size() && b < body.weights.size(); ++b) {
        auto* binding = new DzBoneBinding();
        binding->setBone(bones[b]);
        binding->setWeights(body.weights[b]);
        skin->addBoneBinding(binding);
    }
}

} // namespace

bool buildDemoScene(const DemoSceneOptions& requested, DemoScene& out, QString& error) {
    out = DemoScene();
    if (dzScene == nullptr) {
        error = QStringLiteral("no host scene to build the demo in");
        return false;
    }
    const DemoSceneOptions options = inRange(requested);
    std::vector<DzTexture*> textures;
    if (!writeDemoTextures(options.textureFolder, textures, out.textureFiles, error)) {
        return false;
    }

    const std::vector<DemoBoneSpec> specs = demoBoneSpecs(options.extraBones);
    auto* figure = new DzFigure();
    figure->setName(QStringLiteral("DemoFigure"));
    figure->setLabel(QStringLiteral("Demo Figure"));
    out.figure = figure;
    out.bones = makeDemoBones(*figure, specs);
    const BodyMesh body = buildBodyMesh(specs, options.polygons, options.fourWeights);
    out.bodyVertices = body.mesh->getNumVertices();
    out.bodyPolygons = body.mesh->getNumFacets();
    dressFigure(*figure, out.bones, body, makeBodyMaterials(textures));
    dzScene->addNode(figure);

    const DemoProp prop = makeDemoProp(textures);
    out.prop = prop.crate;
    out.hiddenChild = prop.lid;
    dzScene->addNode(prop.crate);
    for (DzNode* node : makeDemoLightsAndCamera()) {
        dzScene->addNode(node);
    }

    keyDemoAnimation(*figure, out.bones, specs, options.frames);
    dzScene->setFrame(0);
    return true;
}

} // namespace yfx_demo
