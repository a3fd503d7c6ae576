// Material gathering: surface names, colour, opacity and UV set, texture
// paths and sizes from the default material's accessors and from named
// properties, and the log block of a material.
#include "gather_test_scene.h"

#include <dzenumproperty.h>
#include <dzshadermaterial.h>
#include <dzuberiraymaterial.h>

#include <QtCore/QFile>

#include <array>

#include "export/export_log.h"

namespace gathertest {
namespace {

using MaterialTest = GatherTest;

void setPropertyMap(DzMaterial* material, const char* name, DzTexture* texture) {
    auto* property =
        qobject_cast<DzNumericProperty*>(material->findProperty(QString::fromLatin1(name)));
    ASSERT_NE(property, nullptr) << name;
    property->setMap(texture);
}

TEST_F(MaterialTest, NamesColourOpacityAndUVSetOfEachSurface) {
    struct Case {
        const char* mesh;
        const char* material;
        float opacity;
        const wchar_t* name;
        float storedOpacity;
    };
    const Case cases[] = {
        {"Hair", "DAZ Studio Default", 1.7f, L"mat_Hair", 1.0f},
        {"Body", "daz studio DEFAULT", -0.2f, L"mat_Body", 0.0f},
        {"Eyes", "Default", 0.25f, L"Default", 0.25f},
    };
    for (const Case& c : cases) {
        auto* standard = new DzDefaultMaterial();
        auto* iray = new DzUberIrayMaterial();
        for (DzMaterial* material : std::initializer_list<DzMaterial*>{standard, iray}) {
            material->setName(QString::fromLatin1(c.material));
            material->setBaseOpacity(c.opacity);
        }
        standard->setDiffuseColor(QColor(10, 20, 30));
        iray->setDiffuseColor(QColor(200, 100, 0));
        DzFacetMesh* mesh = facetMesh({{0, 0, 0}}, {});
        mesh->addUVSet(new DzUVSet());
        mesh->addUVSet(new DzUVSet());
        attachMesh(addNode(c.mesh), mesh, {standard, iray});
        iray->getUVSetControl()->setValue(1);
    }
    const yfx::SceneDoc& doc = gather();
    ASSERT_EQ(doc.meshes.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].mesh);
        const std::vector<yfx::DocSurface>& surfaces = doc.meshes[i].surfaces;
        ASSERT_EQ(surfaces.size(), 2u);
        for (int s = 0; s < 2; ++s) {
            EXPECT_STREQ(surfaces[s].name.text, cases[i].name);
            EXPECT_FLOAT_EQ(surfaces[s].opacity, cases[i].storedOpacity);
            EXPECT_EQ(surfaces[s].uv_set_index, s);
            const std::array<int, 3> bytes = {surfaces[s].diffuse_bytes[0],
                                              surfaces[s].diffuse_bytes[1],
                                              surfaces[s].diffuse_bytes[2]};
            EXPECT_EQ(bytes, s == 0 ? (std::array<int, 3>{10, 20, 30})
                                    : (std::array<int, 3>{200, 100, 0}));
        }
    }
}

TEST_F(MaterialTest, TexturesComeFromTheDefaultAccessorsOrFromNamedProperties) {
    TextureFiles files;
    DzTexture* colour = files.texture("colour.png", 8, 4);
    DzTexture* opacity = files.texture("opacity.png", 16, 2);
    DzTexture* bump = files.texture("bump.png", 2, 2);
    DzTexture* normal = files.texture("normal.png", 4, 8);
    DzTexture* specular = files.texture("specular.png", 32, 1);
    DzTexture* glossy = files.texture("glossy.png", 2, 4);
    DzTexture* lobe = files.texture("lobe.png", 6, 6);
    DzTexture* sss = files.texture("sss.png", 5, 7);

    auto* standard = new DzDefaultMaterial();
    standard->setColorMap(colour);
    standard->setOpacityMap(opacity);
    standard->setBumpMap(bump);
    standard->setNormalValueMap(normal);
    standard->setSpecularColorMap(specular);
    // Specular: "Specular Color", else "Glossy Layered Weight", else "Dual
    // Lobe Specular Reflectivity". A normal map without a bump map.
    auto* glossyOnly = new DzUberIrayMaterial();
    glossyOnly->setColorMap(colour);
    glossyOnly->setOpacityMap(opacity);
    setPropertyMap(glossyOnly, "Normal Map", normal);
    setPropertyMap(glossyOnly, "Glossy Layered Weight", glossy);
    setPropertyMap(glossyOnly, "Dual Lobe Specular Reflectivity", lobe);
    setPropertyMap(glossyOnly, "Translucency Color", sss);
    auto* lobeOnly = new DzShaderMaterial();
    setPropertyMap(lobeOnly, "Dual Lobe Specular Reflectivity", lobe);
    // A name match without a map does not end the search; letter case does not count.
    auto* later = new DzFloatProperty(QStringLiteral("NORMAL map"), true, false);
    later->setIsMappable(true);
    later->setMap(normal);
    lobeOnly->addProperty(later);
    auto* allThree = new DzUberIrayMaterial();
    setPropertyMap(allThree, "Specular Color", specular);
    setPropertyMap(allThree, "Glossy Layered Weight", glossy);
    attachMesh(addNode("Skin"), facetMesh({{0, 0, 0}}, {}),
               {standard, glossyOnly, lobeOnly, allThree, new DzDefaultMaterial()});

    // Per surface: the texture of each slot, and which slots take its size
    // (the property branch leaves the colour and opacity sizes as constructed).
    struct Want {
        std::array<DzTexture*, yfx::kTextureSlotCount> textures;
        std::array<bool, yfx::kTextureSlotCount> sized;
    };
    const Want want[] = {
        {{colour, opacity, bump, normal, specular, nullptr}, {1, 1, 1, 1, 1, 0}},
        {{colour, opacity, nullptr, normal, glossy, sss}, {0, 0, 1, 1, 1, 1}},
        {{nullptr, nullptr, nullptr, normal, lobe, nullptr}, {0, 0, 1, 1, 1, 1}},
        {{nullptr, nullptr, nullptr, nullptr, specular, nullptr}, {0, 0, 1, 1, 1, 1}},
        {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}, {1, 1, 1, 1, 1, 0}},
    };
    const std::vector<yfx::DocSurface>& surfaces = gather().meshes.at(0).surfaces;
    ASSERT_EQ(surfaces.size(), std::size(want));
    for (std::size_t s = 0; s < std::size(want); ++s) {
        const yfx::DocSurface& surface = surfaces[s];
        const yfx::WideName* paths[] = {&surface.colour_path,   &surface.opacity_path,
                                        &surface.bump_path,     &surface.normal_path,
                                        &surface.specular_path, &surface.translucency_path};
        for (int slot = 0; slot < yfx::kTextureSlotCount; ++slot) {
            SCOPED_TRACE(::testing::Message() << "surface " << s << ", slot " << slot);
            const DzTexture* texture = want[s].textures[std::size_t(slot)];
            EXPECT_EQ(paths[slot]->text, texture ? TextureFiles::storedPath(texture) : L"");
            const bool sized = texture != nullptr && want[s].sized[std::size_t(slot)];
            EXPECT_EQ(surface.texture_sizes[slot][0],
                      sized ? texture->getGLTextureSize().width() : 0);
            EXPECT_EQ(surface.texture_sizes[slot][1],
                      sized ? texture->getGLTextureSize().height() : 0);
        }
    }
    EXPECT_EQ(std::wstring(surfaces[0].colour_path.text).find(L'/'), std::wstring::npos);
}

TEST_F(MaterialTest, EachMaterialIsLoggedWithItsOwnOpacity) {
    QTemporaryDir dir;
    ASSERT_TRUE(
        yfx::exporter::setLogPathFor(dir.filePath(QStringLiteral("scene.yfx")).toStdWString()));
    yfx::exporter::resetLogFirstOpen();
    options().logging_enabled = 1;
    auto* standard = new DzDefaultMaterial();
    standard->setName(QStringLiteral("DAZ Studio Default"));
    standard->setDiffuseColor(QColor(10, 200, 3));
    standard->setBaseOpacity(1.7f);
    auto* iray = new DzUberIrayMaterial();
    iray->setName(QStringLiteral("Nails"));
    DzNode* hand = addNode("Hand");
    attachMesh(hand, facetMesh({{0, 0, 0}}, {}), {standard, iray});
    addNode<DzBone>("Pin", hand);
    gather();
    QFile log(dir.filePath(QStringLiteral("logfile.txt")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const std::string text = log.readAll().toStdString();
    const char* const blocks[] = {
        "Get_Mesh_Materials (Hand)...\r\n        numMats: 2\r\nnumAssemblyMats: 2\r\n"
        "mat:  0,        name: \"mat_Hand\" (DzDefaultMaterial)\r\n"
        "    diffuse_color:  10, 200,   3\r\n          opacity: 1.700000\r\n",
        "specular_filepath: \"\"\r\n\r\nmat:  1,        name: \"Nails\" (DzUberIrayMaterial)\r\n",
        "specular_filepath: \"\"\r\n   trans_filepath: \"\"\r\n\r\nNUM_MESHES: 1\r\n",
        "[ 1] parent_index:  0, skel: 0, root: 0, joint: 1, name: \"Pin\"\r\n\r\n",
    };
    for (const char* block : blocks) {
        EXPECT_NE(text.find(block), std::string::npos) << block << "\nin\n" << text;
    }
}

} // namespace
} // namespace gathertest
