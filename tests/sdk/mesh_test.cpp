#include "dzdefaultmaterial.h"
#include "dzfacegroup.h"
#include "dzfacetmesh.h"
#include "dzfacetshape.h"
#include "dzmap.h"
#include "dzmodifier.h"
#include "dznode.h"
#include "dzobject.h"
#include "dzvertexmap.h"

#include <gtest/gtest.h>

#include <QtCore/QPointer>

TEST(FacetMeshTest, FacetsKeepTheTriangleQuadDistinctionAndTheirGroups) {
    DzFacetMesh mesh;
    mesh.beginEdit(true);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(mesh.addVertex(float(i), 0.0f, float(-i)), i);
    }
    ASSERT_TRUE(mesh.createFaceGroup(QStringLiteral("body")));
    EXPECT_FALSE(mesh.createFaceGroup(QStringLiteral("body")));
    EXPECT_EQ(mesh.activateMaterial(QStringLiteral("skin")), 0);
    EXPECT_EQ(mesh.activateFaceGroup(QStringLiteral("body")), 0);
    const int quad[4] = {0, 1, 2, 3}, quadUv[4] = {0, 1, 2, 3};
    mesh.addFacet(quad, quadUv);
    EXPECT_EQ(mesh.activateMaterial(QStringLiteral("eyes")), 1);
    EXPECT_EQ(mesh.activateFaceGroup(QStringLiteral("head")), 1); // created on demand
    const int tri[4] = {3, 4, 5, -1}, triUv[4] = {4, 5, 6, -1};
    mesh.addFacet(tri, triUv, DZ_HIDDEN_FACE_BIT);
    mesh.finishEdit();

    ASSERT_EQ(mesh.getNumFacets(), 2);
    const DzFacet f0 = mesh.getFacet(0), f1 = mesh.getFacet(1);
    EXPECT_TRUE(f0.isQuad());
    EXPECT_TRUE(f1.isTri());
    EXPECT_EQ(f1.m_vertIdx[2], 5);
    EXPECT_EQ(f1.m_uvwIdx[2], 6);
    EXPECT_EQ(f1.m_uvwIdx[3], -1);
    EXPECT_EQ(f0.m_materialIdx, 0);
    EXPECT_EQ(f1.m_materialIdx, 1);
    EXPECT_EQ(f1.m_faceGroupIdx, 1);
    EXPECT_EQ(mesh.getFacetFlagsPtr()[1], DZ_HIDDEN_FACE_BIT);
    EXPECT_EQ(mesh.getFaceGroup(0)->count(), 1);
    int index = -1;
    EXPECT_EQ(mesh.findFaceGroup(QStringLiteral("head"), &index)->getName(),
              QStringLiteral("head"));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(mesh.findMaterialGroup(QStringLiteral("none")), nullptr);
    EXPECT_TRUE(mesh.getFacet(2).isTri()); // out of range: a cleared facet
    EXPECT_EQ(mesh.getVerticesPtr()[5][2], -5.0f);
}

TEST(FacetMeshTest, ActivatingByIndexSelectsOrCreatesGroups) {
    DzFacetMesh mesh;
    mesh.activateMaterial(2); // groups 0..2 are made
    EXPECT_EQ(mesh.getNumMaterialGroups(), 3);
    EXPECT_EQ(mesh.getActiveMaterial(), 2);
    mesh.activateMaterial(-1); // ignored
    EXPECT_EQ(mesh.getActiveMaterial(), 2);
    const int v[4] = {0, 1, 2, -1}, uv[4] = {0, 1, 2, -1};
    mesh.addFacet(v, uv);
    EXPECT_EQ(mesh.getFacet(0).m_materialIdx, 2);
    // A named group stays findable after index-made groups.
    mesh.activateMaterial(QStringLiteral("Material3"));
    mesh.activateMaterial(4);
    EXPECT_EQ(mesh.findMaterialGroup(QStringLiteral("Material3"))->getName(),
              QStringLiteral("Material3"));
    EXPECT_NE(mesh.getMaterialGroup(4)->getName(), QStringLiteral("Material3"));
    mesh.activateFaceGroup(70000); // beyond the 16-bit index
    EXPECT_EQ(mesh.getNumFaceGroups(), 0);
}

TEST(FacetMeshTest, UvListBecomesTheFirstUvSetWhenThereIsNone) {
    DzFacetMesh mesh;
    auto* map = new DzMap(DzMap::FLOAT_MAP);
    map->setMapType(DzMap::FLOAT2_MAP, false);
    const DzPnt2 a = {0.25f, 0.75f}, b = {1.0f, 0.0f};
    map->appendPnt2Value(a);
    map->appendPnt2Value(b);
    const DzPnt3 ignored = {1, 2, 3};
    map->appendPnt3Value(ignored); // wrong type: ignored
    mesh.setUVList(map);
    EXPECT_EQ(mesh.getUVs(), map);
    ASSERT_EQ(mesh.getNumUVSets(), 1);
    DzUVSet* set = mesh.getUVSet(0);
    EXPECT_EQ(set->getLabel(), QStringLiteral("Default"));
    ASSERT_EQ(set->getNumValues(), 2);
    EXPECT_EQ(set->getType(), DzMap::FLOAT2_MAP);
    EXPECT_EQ(set->getPnt2ArrayPtr()[0][1], 0.75f);
    EXPECT_EQ(mesh.getUVSet(1), nullptr);
    EXPECT_EQ(mesh.getUVSet(-1), nullptr);
    // A second list replaces the map but not the set.
    auto* other = new DzMap(DzMap::FLOAT2_MAP);
    mesh.setUVList(other);
    EXPECT_EQ(mesh.getUVs(), other);
    EXPECT_EQ(mesh.getNumUVSets(), 1);
}

TEST(MapTest, ChangingTypeDropsOrReshapesValues) {
    DzMap map(DzMap::FLOAT3_MAP);
    const DzPnt3 p = {1, 2, 3};
    map.appendPnt3Value(p);
    map.setMapType(DzMap::FLOAT2_MAP, true);
    ASSERT_EQ(map.getNumValues(), 1);
    EXPECT_EQ(map.getPnt2Value(0)[1], 2.0f);
    map.setMapType(DzMap::FLOAT2_MAP, false);
    EXPECT_EQ(map.getNumValues(), 0);
    EXPECT_EQ(map.getPnt2ArrayPtr(), nullptr);
    map.setNumValues(3);
    EXPECT_EQ(map.getNumValues(), 3);
    EXPECT_EQ(map.getPnt2Value(3), nullptr);
}

TEST(ShapeTest, MaterialsAreSharedAndFoundByIdentityAndName) {
    auto* shared = new DzDefaultMaterial();
    shared->setName(QStringLiteral("Skin"));
    QPointer<DzDefaultMaterial> watch(shared);
    {
        DzFacetShape a, b;
        EXPECT_EQ(a.addMaterial(nullptr), DZ_ILLEGAL_ARGUMENT_ERROR);
        ASSERT_EQ(a.addMaterial(new DzDefaultMaterial()), DZ_NO_ERROR);
        ASSERT_EQ(a.addMaterial(shared), DZ_NO_ERROR);
        EXPECT_EQ(a.addMaterial(shared), DZ_ILLEGAL_OPERATION_ERROR);
        ASSERT_EQ(b.addMaterial(shared), DZ_NO_ERROR);
        EXPECT_EQ(a.findMaterialIndex(shared), 1);
        EXPECT_EQ(a.findMaterialIndex(QStringLiteral("Skin")), 1);
        EXPECT_EQ(a.findMaterialIndex(QStringLiteral("skin")), -1);
        EXPECT_EQ(b.findMaterialIndex(static_cast<const DzMaterial*>(nullptr)), -1);
        EXPECT_EQ(a.getNumAssemblyMaterials(), 2);
        EXPECT_EQ(a.getAssemblyMaterial(1), shared);
        EXPECT_EQ(a.getAssemblyMaterial(2), nullptr);
        EXPECT_EQ(shared->getRefCount(), 2);
    }
    // The last shape to let go deletes it.
    EXPECT_TRUE(watch.isNull());
}

TEST(ObjectTest, NodeOwnsObjectShapesAndMeshes) {
    auto* node = new DzNode();
    auto* obj = new DzObject();
    auto* shape = new DzFacetShape();
    auto* mesh = new DzFacetMesh();
    QPointer<DzFacetMesh> watchMesh(mesh);
    shape->setFacetMesh(mesh);
    EXPECT_EQ(shape->getGeometry(), mesh);
    EXPECT_EQ(obj->addShape(nullptr), DZ_ILLEGAL_ARGUMENT_ERROR);
    ASSERT_EQ(obj->addShape(shape, -1), DZ_NO_ERROR);
    EXPECT_EQ(obj->addShape(shape), DZ_ILLEGAL_OPERATION_ERROR);
    EXPECT_EQ(obj->getCurrentShape(), shape);
    node->setObject(obj);
    EXPECT_EQ(shape->getNode(), node);
    EXPECT_EQ(obj->getCachedGeom(), nullptr);
    auto* high = new DzFacetMesh();
    obj->setCachedGeom(high);
    EXPECT_EQ(obj->getCachedGeom(), high);
    // Replacing the mesh deletes the old one.
    shape->setFacetMesh(new DzFacetMesh());
    EXPECT_TRUE(watchMesh.isNull());
    QPointer<DzObject> watchObj(obj);
    delete node;
    EXPECT_TRUE(watchObj.isNull());
}

TEST(FacetMeshTest, UvSetFromAnUvwListKeepsTwoComponents) {
    DzFacetMesh mesh;
    auto* map = new DzMap(DzMap::FLOAT3_MAP);
    const DzPnt3 p = {0.5f, 0.25f, 9.0f};
    map->appendPnt3Value(p);
    mesh.setUVList(map);
    ASSERT_EQ(mesh.getNumUVSets(), 1);
    const float* uv = mesh.getUVSet(0)->getPnt2Value(0);
    ASSERT_NE(uv, nullptr);
    EXPECT_EQ(uv[0], 0.5f);
    EXPECT_EQ(uv[1], 0.25f);
    // Clearing empties everything, UVs included.
    mesh.addVertex(1, 2, 3);
    mesh.clearAll();
    EXPECT_EQ(mesh.getNumVertices(), 0);
    EXPECT_EQ(mesh.getUVs(), nullptr);
    EXPECT_EQ(mesh.getNumUVSets(), 0);
    EXPECT_EQ(mesh.getVerticesPtr(), nullptr);
}

TEST(ObjectTest, ModifiersKeepTheirOwners) {
    class Deformer : public DzModifier {
    public:
        DzError apply(DzVertexMesh&, DzNode&) override { return DZ_NO_ERROR; }
        DzError applyInverse(DzVertexMesh&, DzNode&) override { return DZ_NO_ERROR; }
    };
    auto* obj = new DzObject();
    auto* owned = new Deformer();
    QPointer<DzModifier> watchOwned(owned);
    Deformer foreignOwner;
    auto* foreign = new Deformer();
    foreign->setParent(&foreignOwner);
    QPointer<DzModifier> watchForeign(foreign);
    EXPECT_EQ(obj->addModifier(nullptr), DZ_ILLEGAL_ARGUMENT_ERROR);
    ASSERT_EQ(obj->addModifier(owned), DZ_NO_ERROR);
    ASSERT_EQ(obj->addModifier(foreign, 0), DZ_NO_ERROR);
    EXPECT_EQ(obj->addModifier(owned), DZ_ILLEGAL_OPERATION_ERROR);
    EXPECT_EQ(obj->getModifier(0), foreign);
    EXPECT_EQ(obj->findModifierIndex(owned), 1);
    delete obj;
    EXPECT_TRUE(watchOwned.isNull());
    EXPECT_FALSE(watchForeign.isNull()); // still its parent's
}
