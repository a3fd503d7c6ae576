// Host materials from the document's: made in index order for the materials
// a mesh's faces use, with clamped colours, the first bitmap map of each
// channel (normal or bump by the map's flag), and faces that fall back to
// the first material when theirs could not be set up.
#include "import_support.h"

#include <dzapp.h>
#include <dzdefaultmaterial.h>
#include <dzimagemgr.h>
#include <dztexture.h>

#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>

#include <cmath>
#include <memory>

using namespace importtest;

namespace {

std::wstring imageIn(const QTemporaryDir& dir, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::gray);
    EXPECT_TRUE(image.save(path));
    return path.toStdWString();
}

void addMap(yfx::DocMaterial& material, int channel, int type, const std::wstring& path,
            std::uint32_t flags = yfx::kMapFlagsDefault) {
    material.maps.push_back(std::make_unique<yfx::DocMap>());
    material.maps.back()->channel = channel;
    material.maps.back()->map_type = type;
    material.maps.back()->flags = flags;
    material.maps.back()->path.setWide(path.c_str());
}

// One triangle per entry of `faceMaterials`, all in one group, and the given
// number of materials named M0, M1, ...
yfx::SceneDoc facesWithMaterials(std::initializer_list<int> faceMaterials, int materials) {
    yfx::SceneDoc doc;
    addGroups(doc, {"Body"});
    addVertex(doc, 0, 0, 0);
    addVertex(doc, 1, 0, 0);
    addVertex(doc, 0, 1, 0);
    for (int m : faceMaterials) {
        addPolygon(doc, {0, 1, 2}, 0, m);
    }
    doc.materials.resize(std::size_t(materials));
    for (int m = 0; m < materials; ++m) {
        doc.materials[std::size_t(m)].name.setAnsi(("M" + std::to_string(m)).c_str());
    }
    return doc;
}

const DzShape* shapeOf(const char* name) {
    const DzNode* n = node(name);
    return n != nullptr && n->getObject() != nullptr ? n->getObject()->getCurrentShape() : nullptr;
}

std::vector<QString> materialNames(const DzShape* shape) {
    std::vector<QString> names;
    for (int i = 0; shape != nullptr && i < shape->getNumMaterials(); ++i) {
        names.push_back(shape->getMaterial(i)->getName());
    }
    return names;
}

std::vector<int> facetMaterials(const char* name) {
    std::vector<int> out;
    const DzFacetMesh* mesh = facetMeshOf(node(name));
    for (int f = 0; mesh != nullptr && f < mesh->getNumFacets(); ++f) {
        out.push_back(mesh->getFacet(f).m_materialIdx);
    }
    return out;
}

DzDefaultMaterial* material(int index) {
    return qobject_cast<DzDefaultMaterial*>(shapeOf("Robot")->getMaterial(index));
}

} // namespace

TEST_F(ImportTest, UsedMaterialsAreMadeInIndexOrderWithClampedColours) {
    struct Case {
        int materials;
        std::vector<QString> names;
        std::vector<int> facets;
        std::vector<QColor> colours;
    };
    const Case cases[] = {
        {1, {"M1", "M3"}, {1, 0, 1}, {QColor(255, 127, 255), QColor(0, 0, 0)}},
        {0, {"DefaultMat"}, {0, 0, 0}, {QColor(255, 255, 255)}},
    };
    const float colours[2][3] = {{1.0f, 0.5f, 1.5f}, {-0.2f, std::nanf(""), 0.0f}};
    for (const Case& c : cases) {
        freshScene();
        yfx::SceneDoc doc = facesWithMaterials({3, 1, 3}, 4);
        std::copy(colours[0], colours[0] + 3, doc.materials[1].diffuse);
        std::copy(colours[1], colours[1] + 3, doc.materials[3].diffuse);
        doc.materials[1].opacity = 0.25f;
        ImportOptions options = everyOption();
        options.import_materials = c.materials;
        build(normalised(std::move(doc)), options);
        EXPECT_EQ(c.names, materialNames(shapeOf("Robot"))) << "materials " << c.materials;
        EXPECT_EQ(c.facets, facetMaterials("Robot")) << "materials " << c.materials;
        for (std::size_t i = 0; i < c.colours.size(); ++i) {
            EXPECT_EQ(c.colours[i], material(int(i))->getDiffuseColor()) << c.materials << i;
        }
        EXPECT_FLOAT_EQ(c.materials == 1 ? 0.25f : 1.0f, float(material(0)->getBaseOpacity()));
    }
}

TEST_F(ImportTest, FirstBitmapMapOfEachChannelIsUsed) {
    QTemporaryDir dir;
    const std::wstring colour = imageIn(dir, "colour.png");
    const std::wstring other = imageIn(dir, "other.png");
    yfx::SceneDoc doc = facesWithMaterials({0, 1}, 2);
    yfx::DocMaterial& first = doc.materials[0];
    addMap(first, yfx::kChannelColour, 1, colour);
    addMap(first, yfx::kChannelOpacity, 2, other); // not a bitmap file: the channel has none
    addMap(first, yfx::kChannelOpacity, 1, other);
    addMap(first, yfx::kChannelBump, 1, other, yfx::kMapFlagsDefault | yfx::kMapFlagNormalInBump);
    addMap(first, yfx::kChannelSpecular, 1, L""); // no path: none
    addMap(doc.materials[1], yfx::kChannelBump, 1, other);
    addMap(doc.materials[1], yfx::kChannelSpecular, 1, other);
    build(normalised(std::move(doc)), everyOption());

    ASSERT_NE(nullptr, material(0)->getColorMap());
    EXPECT_EQ(QString::fromStdWString(colour), material(0)->getColorMap()->getFilename());
    EXPECT_EQ(nullptr, material(0)->getOpacityMap());
    EXPECT_NE(nullptr, material(0)->getNormalValueMap());
    EXPECT_EQ(nullptr, material(0)->getBumpMap());
    EXPECT_EQ(nullptr, material(0)->getSpecularValueMap());
    EXPECT_NE(nullptr, material(1)->getBumpMap());
    EXPECT_EQ(nullptr, material(1)->getNormalValueMap());
    EXPECT_NE(nullptr, material(1)->getSpecularValueMap());
}

TEST_F(ImportTest, MaterialWithoutItsTextureLeavesFacesOnTheFirst) {
    // Without an image manager the map is skipped and the material kept;
    // a texture the manager cannot read ends the material's setup, and its
    // faces take the shape's first material.
    QTemporaryDir dir;
    const std::wstring readable = imageIn(dir, "colour.png");
    const std::wstring missing = dir.filePath(QStringLiteral("missing.png")).toStdWString();
    struct Case {
        bool manager;
        std::wstring path;
        std::vector<int> facets;
        QColor colour; // of the textured material
    };
    const Case cases[] = {
        {false, readable, {0, 1}, QColor(127, 127, 127)},
        {true, missing, {0, 0}, QColor(255, 255, 255)},
    };
    for (const Case& c : cases) {
        freshScene();
        if (!c.manager) {
            dzApp->deleteImageMgr();
        }
        yfx::SceneDoc doc = facesWithMaterials({0, 1}, 2);
        std::fill(doc.materials[1].diffuse, doc.materials[1].diffuse + 3, 0.5f);
        addMap(doc.materials[1], yfx::kChannelColour, 1, c.path);
        build(normalised(std::move(doc)), everyOption());
        dzApp->createImageMgr();
        EXPECT_EQ(c.facets, facetMaterials("Robot")) << "manager " << c.manager;
        ASSERT_EQ(2, shapeOf("Robot")->getNumMaterials());
        EXPECT_EQ(c.colour, material(1)->getDiffuseColor()) << "manager " << c.manager;
        EXPECT_EQ(nullptr, material(1)->getColorMap());
    }
}

// With groups on, each group's shape gets the materials of its own faces
// (a face without one gets "Unassigned"), and a shape after one with other
// materials keeps none of them; materials sharing one texture all get it.
TEST_F(ImportTest, EachGroupShapeGetsOnlyItsFacesMaterials) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::wstring shared = imageIn(dir, "shared.png");
    yfx::SceneDoc doc = facesWithMaterials({3, 1, 3}, 4);
    addGroups(doc, {"Head", "Arm"});
    addPolygon(doc, {0, 1, 2}, 1, 1);
    addPolygon(doc, {0, 1, 2}, 1, 0);
    addPolygon(doc, {0, 1, 2}, 2, -1);
    for (yfx::DocMaterial& m : doc.materials) {
        addMap(m, yfx::kChannelColour, 1, shared);
    }
    ImportOptions options = everyOption();
    options.import_groups = 1;
    build(normalised(std::move(doc)), options);

    struct Expected {
        const char* node;
        std::vector<QString> materials;
        std::vector<int> facets;
    };
    const Expected expected[] = {{"Body", {"M1", "M3"}, {1, 0, 1}},
                                 {"Head", {"M0", "M1"}, {1, 0}},
                                 {"Arm", {"Unassigned"}, {0}}};
    for (const Expected& e : expected) {
        EXPECT_EQ(e.materials, materialNames(shapeOf(e.node))) << e.node;
        EXPECT_EQ(e.facets, facetMaterials(e.node)) << e.node;
        const DzShape* shape = shapeOf(e.node);
        for (int i = 0; shape != nullptr && i < shape->getNumMaterials(); ++i) {
            const auto* m = qobject_cast<const DzDefaultMaterial*>(shape->getMaterial(i));
            if (m != nullptr && m->getName().startsWith('M')) {
                ASSERT_NE(m->getColorMap(), nullptr) << e.node << " " << i;
                EXPECT_TRUE(m->getColorMap()->getFilename().endsWith("shared.png"));
            }
        }
    }
}
