#include "tools/demo/demo_props.h"

#include "tools/demo/demo_materials.h"

#include <dzbasiccamera.h>
#include <dzcolorproperty.h>
#include <dzdistantlight.h>
#include <dzenumproperty.h>
#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzfloatproperty.h>
#include <dzmaterial.h>
#include <dznode.h>
#include <dzobject.h>
#include <dzpointlight.h>
#include <dzspotlight.h>
#include <dzvertexmap.h>

namespace yfx_demo {

namespace {

// Corner i of the box is (x, y, z) with x = i & 1, z = (i >> 1) & 1, y = i >> 2.
constexpr int kQuads[6][4] = {
    {0, 1, 3, 2}, // bottom
    {2, 3, 7, 6}, // front
    {1, 0, 4, 5}, // back
    {0, 2, 6, 4}, // left
    {3, 1, 5, 7}, // right
    {4, 6, 7, 5}, // top
};

// Box between lo and hi. With `fanTop` the top is four triangles around its
// centre instead of a quad. Every face corner has its own UV value: set 0
// lays the faces out in a 3 x 2 grid, set 1 (when asked) in a strip of six.
DzFacetMesh* makeBox(const DzVec3& lo, const DzVec3& hi, bool fanTop, bool secondUVSet) {
    auto* mesh = new DzFacetMesh();
    for (int i = 0; i < 8; ++i) {
        mesh->addVertex((i & 1) ? hi.m_x : lo.m_x, (i >> 2) ? hi.m_y : lo.m_y,
                        ((i >> 1) & 1) ? hi.m_z : lo.m_z);
    }
    const int centre = mesh->addVertex(0.5f * (lo.m_x + hi.m_x), hi.m_y, 0.5f * (lo.m_z + hi.m_z));
    auto* grid = new DzUVSet();
    grid->setLabel(QStringLiteral("Default"));
    DzUVSet* strip = secondUVSet ? new DzUVSet() : nullptr;
    if (strip != nullptr) {
        strip->setLabel(QStringLiteral("Wrapped"));
    }

    const float cornerU[4] = {0.0f, 1.0f, 1.0f, 0.0f}, cornerV[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    auto addUV = [&](int face, float u, float v) {
        const DzPnt2 g = {(float(face % 3) + u) / 3.0f, (float(face / 3) + v) / 2.0f};
        const DzPnt2 s = {(float(face) + u) / 6.0f, v};
        grid->appendPnt2Value(g);
        if (strip != nullptr) {
            strip->appendPnt2Value(s);
        }
        return grid->getNumValues() - 1;
    };
    mesh->activateMaterial(0);
    for (int f = 0; f < 6; ++f) {
        const int* q = kQuads[f];
        if (f == 5 && fanTop) {
            for (int k = 0; k < 4; ++k) {
                const int vi[4] = {centre, q[k], q[(k + 1) % 4], -1};
                const int ui[4] = {addUV(f, 0.5f, 0.5f), addUV(f, cornerU[k], cornerV[k]),
                                   addUV(f, cornerU[(k + 1) % 4], cornerV[(k + 1) % 4]), -1};
                mesh->addFacet(vi, ui);
            }
            continue;
        }
        int ui[4];
        for (int k = 0; k < 4; ++k) {
            ui[k] = addUV(f, cornerU[k], cornerV[k]);
        }
        mesh->addFacet(q, ui);
    }
    mesh->addUVSet(grid);
    mesh->addUVSet(strip); // ignored when null
    mesh->setUVList(grid);
    return mesh;
}

DzObject* objectWith(DzFacetMesh* mesh, DzMaterial* material) {
    auto* shape = new DzFacetShape();
    shape->setFacetMesh(mesh);
    shape->addMaterial(material);
    auto* object = new DzObject();
    object->addShape(shape);
    return object;
}

template <class N> N* named(N* node, const char* name, const char* label) {
    node->setName(QString::fromLatin1(name));
    node->setLabel(QString::fromLatin1(label));
    return node;
}

void place(DzNode* node, float x, float y, float z, float rotX, float rotY) {
    node->getXPosControl()->setValue(x);
    node->getYPosControl()->setValue(y);
    node->getZPosControl()->setValue(z);
    node->getXRotControl()->setValue(rotX);
    node->getYRotControl()->setValue(rotY);
}

template <class L> L* light(L* node, QColor colour, float intensity) {
    node->getDiffuseColorControl()->setColorValue(colour);
    node->getIntensityControl()->setValue(intensity);
    return node;
}

} // namespace

DemoProp makeDemoProp(const std::vector<DzTexture*>& textures) {
    DemoProp prop;
    // Geometry is modelled at rest: the crate around the scene's origin, the
    // lid on top of it; the crate's placement moves both.
    prop.crate = named(new DzNode(), "Crate", "Crate");
    DzMaterial* crateMaterial = makeCrateMaterial(textures);
    prop.crate->setObject(
        objectWith(makeBox(DzVec3(-20.0f, 0.0f, -20.0f), DzVec3(20.0f, 40.0f, 20.0f), true, true),
                   crateMaterial));
    crateMaterial->getUVSetControl()->setValue(1);
    place(prop.crate, 60.0f, 0.0f, -40.0f, 0.0f, 25.0f);

    prop.lid = named(new DzNode(), "CrateLid", "Crate Lid");
    prop.lid->setObject(objectWith(
        makeBox(DzVec3(-21.0f, 40.0f, -21.0f), DzVec3(21.0f, 44.0f, 21.0f), false, false),
        makeLidMaterial()));
    prop.lid->setVisible(false);
    prop.crate->addNodeChild(prop.lid);
    return prop;
}

std::vector<DzNode*> makeDemoLightsAndCamera() {
    auto* point = light(named(new DzPointLight(), "PointLight1", "Point Light 1"),
                        QColor(255, 240, 220), 0.8f);
    place(point, 0.0f, 220.0f, 120.0f, 0.0f, 0.0f);

    auto* spot =
        light(named(new DzSpotLight(), "SpotLight1", "Spot Light 1"), QColor(255, 255, 255), 1.5f);
    spot->getSpreadAngleControl()->setValue(40.0f);
    place(spot, -150.0f, 250.0f, 200.0f, -35.0f, -35.0f);

    auto* distant = light(named(new DzDistantLight(), "DistantLight1", "Distant Light 1"),
                          QColor(200, 210, 255), 1.0f);
    place(distant, 0.0f, 300.0f, 0.0f, -45.0f, 30.0f);

    auto* camera = named(new DzBasicCamera(), "Camera1", "Camera 1");
    place(camera, 0.0f, 120.0f, 400.0f, -5.0f, 0.0f);
    return {point, spot, distant, camera};
}

} // namespace yfx_demo
