#include "dzbone.h"
#include "dzbonebinding.h"
#include "dzbrickmaterial.h"
#include "dzdefaultmaterial.h"
#include "dzenumproperty.h"
#include "dzfacetmesh.h"
#include "dzfacetshape.h"
#include "dzfigure.h"
#include "dzfloatproperty.h"
#include "dzgraftingfigureshape.h"
#include "dzobject.h"
#include "dzskinbinding.h"
#include "dzvertexmap.h"
#include "dzweightmap.h"
#include "sdk_test_util.h"

#include <QtCore/QPointer>

#include <vector>

namespace {

struct P3 {
    float x, y, z;
};

// A facet mesh of the points with one triangle over the first three.
DzFacetMesh* meshOf(const std::vector<P3>& points) {
    auto* mesh = new DzFacetMesh();
    for (const P3& p : points) {
        mesh->addVertex(p.x, p.y, p.z);
    }
    const int verts[4] = {0, 1, 2, -1};
    const int uvs[4] = {0, 1, 2, -1};
    mesh->addFacet(verts, uvs);
    return mesh;
}

// Gives the node an object whose current shape is the given shape with the mesh.
DzFacetShape* attach(DzNode* node, DzFacetMesh* mesh, DzFacetShape* shape = new DzFacetShape()) {
    shape->setFacetMesh(mesh);
    auto* obj = new DzObject();
    obj->addShape(shape);
    node->setObject(obj);
    return shape;
}

void expectPoint(const DzVertexMesh* mesh, int i, const P3& p, float tol) {
    const DzVec3 v = mesh->getVertex(i);
    EXPECT_NEAR(v.m_x, p.x, tol) << "vertex " << i;
    EXPECT_NEAR(v.m_y, p.y, tol) << "vertex " << i;
    EXPECT_NEAR(v.m_z, p.z, tol) << "vertex " << i;
}

DzWeightMap* weights(int n, const std::vector<std::pair<int, float>>& set) {
    auto* map = new DzWeightMap(n);
    for (const auto& kw : set) {
        map->setWeight(kw.first, DzWeightMap::floatToWeight(kw.second));
    }
    return map;
}

DzUVSet* uvSet(const char* label, float u) {
    auto* set = new DzUVSet();
    set->setMapType(DzMap::FLOAT2_MAP);
    set->setLabel(QString::fromLatin1(label));
    for (int i = 0; i < 3; ++i) {
        const DzPnt2 p = {u, float(i)};
        set->appendPnt2Value(p);
    }
    return set;
}

} // namespace

class CachedGeomTest : public SceneFixture {};

TEST_F(CachedGeomTest, PosedFigureBlendsItsBonesThenFollowsTheFigure) {
    // A figure moved 5 along Z with hip (centre 0,1,0) and its child knee (0,2,0).
    // Both bones turn 90 degrees at frame 10 (time 1600) from rest at frame 0:
    // the hip about Z, the knee about X.
    auto* figure = new DzFigure();
    auto* hip = new DzBone();
    auto* knee = new DzBone();
    figure->addNodeChild(hip);
    hip->addNodeChild(knee);
    dzScene->addNode(figure);
    hip->setOrigin(DzVec3(0, 1, 0));
    knee->setOrigin(DzVec3(0, 2, 0));
    figure->getZPosControl()->setValue(5.0f);
    for (DzFloatProperty* rot : {hip->getZRotControl(), knee->getXRotControl()}) {
        rot->setValue(0, 0.0f);
        rot->setValue(1600, 90.0f);
    }
    const std::vector<P3> rest = {{1, 1, 0}, {0, 3, 0}, {1, 3, 0}, {2, 0, 0}, {0, 2, 1}};
    DzFacetShape* shape = attach(figure, meshOf(rest));
    const int n = int(rest.size());
    DzSkinBinding* skin = figure->getSkinBinding();
    auto* hipBinding = new DzBoneBinding();
    hipBinding->setBone(hip);
    hipBinding->setWeights(weights(n, {{0, 1.0f}, {2, 0.5f}, {4, 0.25f}}));
    auto* kneeBinding = new DzBoneBinding();
    kneeBinding->setBone(knee);
    // Longer than the mesh: the extra weight has no vertex to move.
    kneeBinding->setWeights(weights(n + 2, {{1, 1.0f}, {2, 0.5f}, {n + 1, 1.0f}}));
    skin->addBoneBinding(hipBinding);
    skin->addBoneBinding(kneeBinding);
    // A binding without a bone moves nothing.
    auto* orphan = new DzBoneBinding();
    orphan->setWeights(weights(n, {{3, 1.0f}}));
    skin->addBoneBinding(orphan);

    dzScene->setFrame(10);
    EXPECT_EQ(figure->getObject()->getCachedGeom(), nullptr); // not finalised yet
    figure->finalize(false, true);
    const DzVertexMesh* cached = figure->getObject()->getCachedGeom();
    ASSERT_NE(cached, nullptr);
    ASSERT_TRUE(cached->inherits("DzFacetMesh"));
    ASSERT_EQ(cached->getNumVertices(), n);
    // Worked by hand: the hip alone takes (1,1,0) about its centre to (0,2,0); the
    // knee alone takes (0,3,0) to (0,2,1) and then with the hip to (-1,1,1); a
    // half-and-half vertex lands halfway between its two bones' targets; an
    // unweighted vertex only follows the figure; a quarter-weighted one a quarter
    // of the way. The figure then adds 5 along Z to all.
    const float tol = 2e-3f;
    expectPoint(cached, 0, {0, 2, 5}, tol);
    expectPoint(cached, 1, {-1, 1, 6}, tol);
    expectPoint(cached, 2, {-1.5f, 2, 5.5f}, tol);
    expectPoint(cached, 3, {2, 0, 5}, tol);
    expectPoint(cached, 4, {-0.25f, 1.75f, 6}, tol);
    const DzFacetMesh* cachedFacets = qobject_cast<const DzFacetMesh*>(cached);
    ASSERT_EQ(cachedFacets->getNumFacets(), 1);
    EXPECT_EQ(cachedFacets->getFacet(0),
              static_cast<DzFacetMesh*>(shape->getGeometry())->getFacet(0));
    // The shape's own mesh stays at rest.
    expectPoint(static_cast<DzVertexMesh*>(shape->getGeometry()), 2, rest[2], 0.0f);

    // Undoing the blend gives the rest positions back.
    DzVertexMesh* copy = cached->makeCopy();
    for (int i = 0; i < n; ++i) {
        DzVec3 v = copy->getVertex(i);
        v *= figure->getWSTransform().inverse();
        copy->setVertex(i, v);
    }
    skin->applyInverse(*copy, *figure);
    for (int i = 0; i < n; ++i) {
        expectPoint(copy, i, rest[size_t(i)], tol);
    }
    delete copy;

    // Back at rest, the next finalize only moves the figure.
    dzScene->setFrame(0);
    figure->finalize();
    cached = figure->getObject()->getCachedGeom();
    for (int i = 0; i < n; ++i) {
        const P3& p = rest[size_t(i)];
        expectPoint(cached, i, {p.x, p.y, p.z + 5}, 1e-5f);
    }
}

TEST_F(CachedGeomTest, PropTurnsAndScalesAboutItsPivotAndFollowsItsParent) {
    auto* group = new DzNode();
    auto* prop = new DzNode();
    group->addNodeChild(prop);
    dzScene->addNode(group);
    group->getXPosControl()->setValue(10.0f);
    prop->setOrigin(DzVec3(1, 0, 0));
    prop->getYPosControl()->setValue(2.0f);
    prop->getYRotControl()->setValue(90.0f);
    prop->getScaleControl()->setValue(2.0f);
    attach(prop, meshOf({{1, 0, 0}, {2, 0, 0}, {1, 0, 1}}));
    prop->finalize();
    const DzVertexMesh* cached = prop->getObject()->getCachedGeom();
    ASSERT_NE(cached, nullptr);
    // The pivot point itself only moves with the translations; a point one unit
    // from it is scaled to two and turned a quarter about Y (+X goes to -Z).
    expectPoint(cached, 0, {11, 2, 0}, 1e-5f);
    expectPoint(cached, 1, {11, 2, -2}, 1e-5f);
    expectPoint(cached, 2, {13, 2, 0}, 1e-5f);

    // A supplied (high-resolution) cache is kept as given until it is withdrawn.
    auto* high = meshOf({{7, 7, 7}, {8, 8, 8}, {9, 9, 9}});
    prop->getObject()->setCachedGeom(high);
    prop->finalize();
    EXPECT_EQ(prop->getObject()->getCachedGeom(), high);
    expectPoint(high, 0, {7, 7, 7}, 0.0f);
    prop->getObject()->setCachedGeom(nullptr);
    prop->finalize();
    ASSERT_NE(prop->getObject()->getCachedGeom(), nullptr);
    expectPoint(prop->getObject()->getCachedGeom(), 0, {11, 2, 0}, 1e-5f);
}

TEST_F(CachedGeomTest, CachedUVsFollowTheLargestUVSetOfTheAssemblyMaterials) {
    // A body with two UV sets and a grafted figure whose material picks set 1.
    auto* body = new DzFigure();
    auto* graft = new DzFigure();
    dzScene->addNode(body);
    dzScene->addNode(graft);
    DzFacetMesh* bodyMesh = meshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    DzUVSet* uvList = uvSet("Base", 0.25f);
    bodyMesh->setUVList(uvList); // becomes set 0, "Default"
    bodyMesh->addUVSet(uvSet("Detail", 0.75f));
    auto* bodyShape = new DzGraftingFigureShape();
    attach(body, bodyMesh, bodyShape);
    auto* skinMat = new DzDefaultMaterial();
    auto* eyeMat = new DzBrickMaterial();
    bodyShape->addMaterial(skinMat);
    bodyShape->addMaterial(eyeMat);
    DzFacetMesh* graftMesh = meshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    graftMesh->addUVSet(uvSet("Graft A", 0.0f));
    graftMesh->addUVSet(uvSet("Graft B", 0.5f));
    DzFacetShape* graftShape = attach(graft, graftMesh);
    auto* graftMat = new DzDefaultMaterial();
    graftShape->addMaterial(graftMat);

    // The UV-set control lists the sets of the geometry the material is on.
    DzEnumProperty* control = eyeMat->getUVSetControl();
    ASSERT_EQ(control->getNumItems(), 2);
    EXPECT_EQ(control->getItem(1), QStringLiteral("Detail"));
    EXPECT_EQ(control->findItemString(QStringLiteral("Detail")), 1);
    control->setValue(2); // no such set
    EXPECT_EQ(control->getValue(), 0);
    EXPECT_EQ(DzDefaultMaterial().getUVSetControl()->getStringValue(), QStringLiteral("Default"));
    bodyMesh->addUVSet(uvSet(nullptr, 0.5f));
    EXPECT_EQ(control->getItem(2), QStringLiteral("UV Set 2"));

    // Before the graft: the body's own materials, all on set 0.
    EXPECT_EQ(bodyShape->getNumAssemblyMaterials(), 2);
    body->finalize();
    EXPECT_EQ(body->getObject()->getCachedGeom()->getUVs(), bodyMesh->getUVSet(0));

    ASSERT_TRUE(graft->graftTo(body));
    ASSERT_EQ(bodyShape->getNumMaterials(), 2);
    ASSERT_EQ(bodyShape->getNumAssemblyMaterials(), 3);
    EXPECT_EQ(bodyShape->getAssemblyMaterial(1), eyeMat);
    EXPECT_EQ(bodyShape->getAssemblyMaterial(2), graftMat);
    EXPECT_EQ(bodyShape->getAssemblyMaterial(3), nullptr);
    EXPECT_EQ(bodyShape->getAssemblyMaterial(-1), nullptr);
    EXPECT_EQ(bodyShape->findAssemblyMaterialIndex(graftMat), 2);
    EXPECT_EQ(bodyShape->findAssemblyMaterialIndex(skinMat), 0);

    graftMat->getUVSetControl()->setValue(1); // a set of the graft's own mesh
    ASSERT_EQ(graftMat->getUVSetControl()->getValue(), 1);
    body->finalize();
    const DzVertexMesh* cached = body->getObject()->getCachedGeom();
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(cached->getUVs(), bodyMesh->getUVSet(1));
    EXPECT_EQ(cached->getNumUVSets(), 3);
    // Selecting a set the body lacks keeps the mesh's own UV map.
    graftMat->getUVSetControl()->setValue(1);
    eyeMat->getUVSetControl()->setValue(2);
    skinMat->getUVSetControl()->setValue(0);
    graftMesh->addUVSet(uvSet("Graft C", 0.1f));
    graftMesh->addUVSet(uvSet("Graft D", 0.2f));
    graftMat->getUVSetControl()->setValue(3);
    body->finalize();
    EXPECT_EQ(body->getObject()->getCachedGeom()->getUVs(), uvList);

    // A deleted graft leaves the assembly.
    delete graft;
    EXPECT_EQ(bodyShape->getNumAssemblyMaterials(), 2);
}
