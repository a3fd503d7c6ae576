// The demo scene as the exporter meets it: one skeleton tree under the
// figure, skin weights the exporter accepts (a full-length map per bone, one
// to four weights per vertex summing to one), faces whose indices stay inside
// the mesh and both UV sets, every material in one UDIM tile, the surface
// properties the material gathering looks for, and the rest of the scene.
#include "tools/demo/demo_body.h"
#include "tools/demo/demo_scene.h"

#include <dzapp.h>
#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzdefaultmaterial.h>
#include <dzdistantlight.h>
#include <dzenumproperty.h>
#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzfigure.h>
#include <dzfloatproperty.h>
#include <dzmaterial.h>
#include <dzmodifier.h>
#include <dznumericproperty.h>
#include <dzobject.h>
#include <dzquat.h>
#include <dzscene.h>
#include <dzskinbinding.h>
#include <dztexture.h>
#include <dzvertexmap.h>
#include <dzweightmap.h>

#include <QtCore/QFileInfo>
#include <QtCore/QSet>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class HostEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<DzApp>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_arg0[8] = "tests";
    char* m_argv[2] = {m_arg0, nullptr};
    std::unique_ptr<DzApp> m_app;
};

::testing::Environment* const kHostEnvironment =
    ::testing::AddGlobalTestEnvironment(new HostEnvironment);

struct Case {
    const char* name;
    std::int64_t polygons;
    int extraBones;
    bool fourWeights;
    int frames;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

const Case kCases[] = {
    {"Default", 5000, 0, false, 30},
    {"Scaled", 20000, 180, true, 100},
};

class BuiltDemoScene : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        DzScene::create();
        ASSERT_TRUE(m_dir.isValid());
        yfx_demo::DemoSceneOptions options;
        options.polygons = GetParam().polygons;
        options.extraBones = GetParam().extraBones;
        options.fourWeights = GetParam().fourWeights;
        options.frames = GetParam().frames;
        options.textureFolder = m_dir.filePath(QStringLiteral("demo_textures"));
        QString error;
        ASSERT_TRUE(yfx_demo::buildDemoScene(options, m_scene, error)) << error.toStdString();
        m_shape = qobject_cast<DzFacetShape*>(m_scene.figure->getObject()->getCurrentShape());
        ASSERT_NE(m_shape, nullptr);
        m_mesh = m_shape->getFacetMesh();
        ASSERT_NE(m_mesh, nullptr);
    }
    void TearDown() override { DzScene::destroy(); }

    QTemporaryDir m_dir;
    yfx_demo::DemoScene m_scene;
    DzFacetShape* m_shape = nullptr;
    DzFacetMesh* m_mesh = nullptr;
};

TEST_P(BuiltDemoScene, BonesFormOneTreeFromTheHipUnderTheFigure) {
    const std::size_t expected = std::size_t(yfx_demo::kBaseBoneCount + GetParam().extraBones);
    ASSERT_EQ(m_scene.bones.size(), expected);
    DzBone* hip = m_scene.bones[0];
    EXPECT_EQ(hip->getName(), QStringLiteral("hip"));
    EXPECT_EQ(hip->getNodeParent(), m_scene.figure);
    QSet<QString> names;
    QSet<const DzNode*> seen;
    for (DzBone* bone : m_scene.bones) {
        SCOPED_TRACE(bone->getName().toStdString());
        EXPECT_GE(dzScene->findNodeIndex(bone), 0);
        names.insert(bone->getName());
        // Parents come first, so the walk up meets only bones already seen.
        DzNode* up = bone;
        while (up != hip && up != nullptr) {
            up = up->getNodeParent();
            EXPECT_TRUE(up == hip || seen.contains(up));
        }
        EXPECT_EQ(up, hip);
        seen.insert(bone);
        EXPECT_GT((bone->getEndPoint() - bone->getOrigin()).length(), 0.1f);
    }
    EXPECT_EQ(std::size_t(names.size()), expected) << "bone names repeat";
    // The limbs turn in their own orders and about tilted axes.
    EXPECT_EQ(dzScene->findNode(QStringLiteral("lShldr"))->getRotationOrder(),
              DzRotationOrder(DzRotationOrder::XZY));
    EXPECT_FALSE(dzScene->findNode(QStringLiteral("rCollar"))->getOrientation().isIdentity());
}

TEST_P(BuiltDemoScene, EveryVertexHasOneToFourWeightsSummingToOne) {
    const int vertices = m_mesh->getNumVertices();
    DzSkinBinding* skin = m_scene.figure->getSkinBinding();
    ASSERT_EQ(skin->getNumBoneBindings(), int(m_scene.bones.size()));
    ASSERT_EQ(m_scene.figure->getObject()->getModifier(0), skin);
    std::vector<int> count(std::size_t(vertices), 0), sum(std::size_t(vertices), 0);
    for (int b = 0; b < skin->getNumBoneBindings(); ++b) {
        DzBoneBinding* binding = skin->getBoneBinding(b);
        ASSERT_EQ(binding->getBone(), m_scene.bones[std::size_t(b)]);
        DzWeightMap* map = binding->getWeights();
        ASSERT_NE(map, nullptr);
        // The export takes a map only when it is as long as the mesh.
        ASSERT_EQ(map->getNumWeights(), vertices);
        for (int v = 0; v < vertices; ++v) {
            const unsigned short w = map->getWeight(v);
            count[std::size_t(v)] += w != 0;
            sum[std::size_t(v)] += w;
        }
    }
    int verticesWith[5] = {};
    for (int v = 0; v < vertices; ++v) {
        ASSERT_GE(count[std::size_t(v)], 1) << "vertex " << v;
        ASSERT_LE(count[std::size_t(v)], 4) << "vertex " << v;
        ASSERT_EQ(sum[std::size_t(v)], DZ_WEIGHT_FULL) << "vertex " << v;
        ++verticesWith[count[std::size_t(v)]];
    }
    if (GetParam().fourWeights) {
        EXPECT_EQ(verticesWith[4], vertices);
    } else {
        for (int k = 1; k <= 4; ++k) {
            EXPECT_GT(verticesWith[k], 0) << k << " weights";
        }
    }
}

TEST_P(BuiltDemoScene, FacesStayInsideTheMeshAndEveryMaterialInOneTile) {
    const int facets = m_mesh->getNumFacets();
    EXPECT_NEAR(facets, GetParam().polygons, GetParam().polygons / 8);
    EXPECT_EQ(facets, m_scene.bodyPolygons);
    ASSERT_EQ(m_mesh->getNumUVSets(), 2);
    DzUVSet* udim = m_mesh->getUVSet(0);
    DzUVSet* other = m_mesh->getUVSet(1);
    // A material may select either set through the same UV indices.
    ASSERT_EQ(udim->getNumValues(), other->getNumValues());
    EXPECT_EQ(m_mesh->getUVs(), udim);
    const DzPnt2* uv = udim->getPnt2ArrayPtr();
    const int materials = m_shape->getNumAssemblyMaterials();
    ASSERT_EQ(materials, yfx_demo::kBodySurfaceCount);
    std::vector<int> tile(std::size_t(materials), -1);
    int triangles = 0, quads = 0;
    for (int f = 0; f < facets; ++f) {
        const DzFacet facet = m_mesh->getFacet(f);
        const int corners = facet.isQuad() ? 4 : 3;
        (corners == 4 ? quads : triangles)++;
        ASSERT_LT(int(facet.m_materialIdx), materials);
        for (int c = 0; c < corners; ++c) {
            ASSERT_GE(facet.m_vertIdx[c], 0);
            ASSERT_LT(facet.m_vertIdx[c], m_mesh->getNumVertices());
            const int i = facet.m_uvwIdx[c];
            ASSERT_GE(i, 0);
            ASSERT_LT(i, udim->getNumValues());
            const int t = int(std::floor(uv[i][0]));
            int& materialTile = tile[facet.m_materialIdx];
            ASSERT_TRUE(materialTile == -1 || materialTile == t) << "face " << f;
            materialTile = t;
            EXPECT_GT(uv[i][0] - float(t), 0.0f);
            EXPECT_LT(uv[i][0] - float(t), 1.0f);
        }
    }
    EXPECT_GT(triangles, 0);
    EXPECT_GT(quads, 0);
    EXPECT_EQ(tile, (std::vector<int>{0, 0, 0, 0, 1, 1}));
}

INSTANTIATE_TEST_SUITE_P(Sizes, BuiltDemoScene, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

class DefaultDemoScene : public BuiltDemoScene {};

DzNumericProperty* numeric(DzMaterial* m, const char* name) {
    return qobject_cast<DzNumericProperty*>(m->findProperty(QString::fromLatin1(name)));
}

bool mapped(DzMaterial* m, const char* name) {
    DzNumericProperty* p = numeric(m, name);
    return p != nullptr && p->isMapped() && p->getMapValue() != nullptr;
}

TEST_P(DefaultDemoScene, SurfacesCarryWhatTheMaterialGatheringLooksFor) {
    auto mat = [&](int i) { return m_shape->getAssemblyMaterial(i); };
    const char* classes[] = {"DzDefaultMaterial", "DzDefaultMaterial",  "DzUberIrayMaterial",
                             "DzShaderMaterial",  "DzUberIrayMaterial", "DzDefaultMaterial"};
    for (int i = 0; i < yfx_demo::kBodySurfaceCount; ++i) {
        EXPECT_EQ(mat(i)->getName(), QString::fromLatin1(yfx_demo::kBodySurfaceNames[i]));
        EXPECT_TRUE(mat(i)->inherits(classes[i])) << i;
    }
    auto* torso = qobject_cast<DzDefaultMaterial*>(mat(yfx_demo::kTorso));
    ASSERT_NE(torso, nullptr);
    EXPECT_NE(torso->getBumpMap(), nullptr);
    EXPECT_NE(torso->getSpecularColorMap(), nullptr);
    DzMaterial* arms = mat(yfx_demo::kArms);
    ASSERT_NE(arms->getColorMap(), nullptr);
    EXPECT_EQ(arms->getColorMap(), torso->getColorMap());
    ASSERT_NE(arms->getOpacityMap(), nullptr);
    EXPECT_EQ(arms->getOpacityMap(), torso->getOpacityMap());
    EXPECT_TRUE(mapped(arms, "Normal Map"));
    EXPECT_FALSE(mapped(arms, "Bump Strength"));
    EXPECT_DOUBLE_EQ(mat(yfx_demo::kHands)->getBaseOpacity(), double(1.7f));
    DzMaterial* legs = mat(yfx_demo::kLegs);
    EXPECT_TRUE(mapped(legs, "Glossy Layered Weight"));
    EXPECT_FALSE(mapped(legs, "Specular Color"));
    EXPECT_FALSE(mapped(legs, "Dual Lobe Specular Reflectivity"));
    DzMaterial* feet = mat(yfx_demo::kFeet);
    EXPECT_EQ(feet->getColorMap(), nullptr);
    ASSERT_NE(feet->getOpacityMap(), nullptr);
    EXPECT_EQ(feet->getOpacityMap()->getGLTextureSize(), QSize(512, 256));
    for (const QString& file : m_scene.textureFiles) {
        EXPECT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
    }

    // The prop's material selects UV set 1 of a mesh that has it.
    auto* crateShape = qobject_cast<DzFacetShape*>(m_scene.prop->getObject()->getCurrentShape());
    ASSERT_NE(crateShape, nullptr);
    EXPECT_EQ(crateShape->getFacetMesh()->getNumUVSets(), 2);
    EXPECT_EQ(crateShape->getAssemblyMaterial(0)->getUVSetControl()->getValue(), 1);
}

TEST_P(DefaultDemoScene, LightsCameraPropAndAnimationAreInTheScene) {
    int points = 0, spots = 0, distants = 0, cameras = 0;
    for (int i = 0; i < dzScene->getNumNodes(); ++i) {
        DzNode* n = dzScene->getNode(i);
        spots += n->inherits("DzSpotLight");
        points += n->inherits("DzPointLight");
        distants += n->inherits("DzDistantLight") && !n->inherits("DzSpotLight") &&
                    !n->inherits("DzPointLight");
        cameras += n->inherits("DzCamera") && !n->inherits("DzLight");
    }
    EXPECT_EQ(points, 1);
    EXPECT_EQ(spots, 1);
    EXPECT_EQ(distants, 1);
    EXPECT_EQ(cameras, 1);

    DzObject* crate = m_scene.prop->getObject();
    for (int i = 0; i < crate->getNumModifiers(); ++i) {
        EXPECT_FALSE(crate->getModifier(i)->inherits("DzSkinBinding"));
    }
    EXPECT_EQ(m_scene.hiddenChild->getNodeParent(), m_scene.prop);
    EXPECT_FALSE(m_scene.hiddenChild->isVisible());
    EXPECT_TRUE(m_scene.prop->isVisible());

    EXPECT_EQ(dzScene->getTimeStep(), 160);
    EXPECT_EQ(dzScene->getPlayRange().getStart(), 0);
    EXPECT_EQ(dzScene->getPlayRange().getEnd(), 30 * 160);
    // Bones turn and the figure moves between frames.
    for (const char* name : {"hip", "lShldr", "rThigh", "head"}) {
        DzNode* bone = dzScene->findNode(QString::fromLatin1(name));
        EXPECT_FALSE(DzQuat(bone->getLocalTransform(0))
                         .equals(DzQuat(bone->getLocalTransform(7 * 160)), 1e-3))
            << name;
    }
    EXPECT_NE(m_scene.figure->getZPosControl()->getValue(0),
              m_scene.figure->getZPosControl()->getValue(20 * 160));
}

INSTANTIATE_TEST_SUITE_P(Default, DefaultDemoScene, ::testing::Values(kCases[0]),
                         [](const ::testing::TestParamInfo<Case>&) {
                             return std::string("Default");
                         });

TEST(DemoSceneOptions, OutOfRangeCountsAreBroughtIntoRange) {
    DzScene::create();
    QTemporaryDir dir;
    yfx_demo::DemoSceneOptions options;
    options.polygons = -7;
    options.extraBones = -3;
    options.frames = 0;
    options.textureFolder = dir.filePath(QStringLiteral("t"));
    yfx_demo::DemoScene scene;
    QString error;
    EXPECT_TRUE(yfx_demo::buildDemoScene(options, scene, error));
    EXPECT_EQ(scene.bones.size(), std::size_t(yfx_demo::kBaseBoneCount));
    EXPECT_GT(scene.bodyPolygons, 0); // the smallest tubes
    EXPECT_EQ(dzScene->getPlayRange().getEnd(), 160);
    // No folder: nothing is built.
    options.textureFolder.clear();
    EXPECT_FALSE(yfx_demo::buildDemoScene(options, scene, error));
    EXPECT_FALSE(error.isEmpty());
    DzScene::destroy();
}

} // namespace
