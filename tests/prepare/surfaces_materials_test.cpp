// Surfaces merged by texture inside a mesh, collected into the document and
// turned into materials, with and without merging.
#include <gtest/gtest.h>

#include <cwctype>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "document/document.h"
#include "prepare/materials.h"
#include "prepare/surfaces.h"

namespace {

using namespace yfx;

DocSurface surface(const wchar_t* name, const wchar_t* colour = L"", const wchar_t* opacity = L"") {
    DocSurface s;
    s.name.set(name);
    s.colour_path.set(colour);
    s.opacity_path.set(opacity);
    return s;
}

// One triangle per material index, in order.
std::vector<DocPolygon> polygonsUsing(const std::vector<std::int32_t>& materials) {
    std::vector<DocPolygon> polygons(materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i) {
        preparePolygon(polygons[i], 3);
        polygons[i].material = materials[i];
    }
    return polygons;
}

std::vector<std::int32_t> materialsOf(const DocMesh& mesh) {
    std::vector<std::int32_t> out;
    for (const DocPolygon& p : mesh.polygons) {
        out.push_back(p.material);
    }
    return out;
}

std::vector<std::wstring> namesOf(const std::vector<DocSurface>& surfaces) {
    std::vector<std::wstring> out;
    for (const DocSurface& s : surfaces) {
        out.push_back(s.name.text);
    }
    return out;
}

// Everything of each material that the conversions set, as comparable text.
std::vector<std::wstring> describe(const std::vector<DocMaterial>& materials) {
    std::vector<std::wstring> out;
    for (const DocMaterial& m : materials) {
        std::wostringstream text;
        text << m.name.wide << L'|' << m.name.ansi << L'|' << m.opacity << L'|' << m.shininess;
        for (int i = 0; i < 3; ++i) {
            text << L',' << m.diffuse[i] << L',' << int(m.diffuse_bytes[i]);
        }
        for (const auto& map : m.maps) {
            text << L"|map " << map->channel << L' ' << map->map_type << L' ' << map->flags << L' '
                 << map->path.wide;
        }
        out.push_back(text.str());
    }
    return out;
}

TEST(MergeMeshSurfaces, MergesByColourAndOpacityTextureIgnoringAsciiCase) {
    SceneDoc doc;
    DocMesh& mesh = *addMesh(doc);
    mesh.surfaces = {
        surface(L"Skin", L"C:\\t\\skin.png"),
        surface(L"Bare"),
        surface(L"Skin2", L"c:\\T\\SKIN.PNG"), // same colour texture as Skin
        surface(L"Bare2"),                     // no textures: never merged
        surface(L"Eyes", L"C:\\t\\eyes.png", L"C:\\t\\mask.png"),
        surface(L"Lash", L"", L"c:\\T\\MASK.png"),              // opacity alone: matches Eyes
        surface(L"Skin3", L"C:\\t\\skin.png", L"C:\\t\\x.png"), // Skin lacks x.png
        surface(L"Eyes2", L"C:\\t\\EYES.png", L"c:\\t\\mask.PNG"),
        surface(L"Accent", L"C:\\t\\\u00c9.png"), // non-ASCII letters keep their case
        surface(L"Accent2", L"C:\\t\\\u00e9.png"),
    };
    mesh.surfaces[2].diffuse_bytes[0] = 7; // the surviving copy is the first one
    mesh.polygons = polygonsUsing({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -1, -7});
    DocMesh& single = *addMesh(doc);
    single.surfaces = {surface(L"Only", L"a.png")};
    single.polygons = polygonsUsing({3});

    prepare::mergeMeshSurfaces(doc);

    const DocMesh& merged = doc.meshes[0];
    EXPECT_EQ(namesOf(merged.surfaces),
              (std::vector<std::wstring>{L"Skin", L"Bare", L"Bare2", L"Eyes", L"Skin3", L"Accent",
                                         L"Accent2"}));
    EXPECT_EQ(merged.surfaces[0].diffuse_bytes[0], 255);
    EXPECT_EQ(materialsOf(merged),
              (std::vector<std::int32_t>{0, 1, 0, 2, 3, 3, 4, 3, 5, 6, -1, -1, -1}));
    // A mesh with one surface has nothing to merge and is left alone.
    EXPECT_EQ(doc.meshes[1].surfaces.size(), 1u);
    EXPECT_EQ(materialsOf(doc.meshes[1]), std::vector<std::int32_t>{3});
}

// Surface lists whose paths collide in different letter case, with and
// without the other path, merged by the passes (through their index) and by
// the one-by-one scans they stand for: both must give the same lists,
// materials and polygon indices.
TEST(MergePasses, IndexedPassesAgreeWithTheScans) {
    const std::wstring paths[] = {L"",
                                  L"C:\\tex\\skin.png",
                                  L"C:\\tex\\mask.png",
                                  L"C:\\tex\\\u00c9t\u00e9.png",
                                  L"C:\\tex\\\u00e9t\u00e9.png",
                                  L"d:\\Hair.TGA",
                                  L"x",
                                  L"xX"}; // ("x","xX") vs ("xX","x")
    std::mt19937 rng(20240611);
    const auto pick = [&rng](std::size_t n) { return std::size_t(rng() % n); };
    const auto randomPath = [&](std::size_t emptyOneIn) {
        std::wstring text = pick(emptyOneIn) == 0 ? L"" : paths[pick(std::size(paths))];
        for (wchar_t& c : text) {
            if (c < 128 && std::iswalpha(c) && pick(2) == 0) {
                c = wchar_t(std::iswupper(c) ? std::towlower(c) : std::towupper(c));
            }
        }
        return text;
    };

    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        std::vector<DocSurface> surfaces(2 + pick(40));
        for (std::size_t i = 0; i < surfaces.size(); ++i) {
            DocSurface& s = surfaces[i];
            s.name.set((L"S" + std::to_wstring(i)).c_str());
            s.colour_path.set(randomPath(4).c_str());
            s.opacity_path.set(randomPath(2).c_str());
            s.normal_path.set(pick(3) == 0 ? L"n.png" : L"");
            s.diffuse_bytes[1] = std::uint8_t(pick(256));
            s.opacity = float(pick(5)) / 4.0f;
        }
        const std::int32_t n = std::int32_t(surfaces.size());
        std::vector<std::int32_t> used; // every surface and some indices naming none
        for (std::int32_t m = -2; m < n + 2; ++m) {
            used.push_back(m);
        }

        std::vector<DocSurface> scanList;
        SceneDoc scanDoc;
        std::vector<std::int32_t> expectMesh, expectMaterials;
        for (const DocSurface& s : surfaces) {
            expectMesh.push_back(prepare::findOrAddMeshSurface(scanList, s.name.text, s));
            expectMaterials.push_back(findOrAddMaterial(scanDoc, s.name.text, s));
        }
        expectMesh.insert(expectMesh.begin(), {-1, -1});
        expectMesh.insert(expectMesh.end(), {-1, -1});
        expectMaterials.insert(expectMaterials.begin(), {-1, -1});
        expectMaterials.insert(expectMaterials.end(), {-1, -1});

        SceneDoc doc;
        addUnassignedMaterial(doc); // replaced by the merged materials
        DocMesh& mesh = *addMesh(doc);
        mesh.surfaces = surfaces;
        mesh.polygons = polygonsUsing(used);
        prepare::mergeMeshSurfaces(doc);
        ASSERT_EQ(namesOf(doc.meshes[0].surfaces), namesOf(scanList));
        ASSERT_EQ(materialsOf(doc.meshes[0]), expectMesh);

        doc.meshes[0].polygons = polygonsUsing(used);
        doc.surfaces = surfaces;
        prepare::mergeSurfacesToMaterials(doc);
        ASSERT_EQ(describe(doc.materials), describe(scanDoc.materials));
        ASSERT_EQ(materialsOf(doc.meshes[0]), expectMaterials);
        ASSERT_TRUE(doc.surfaces.empty());
    }
}

TEST(CollectSurfaces, MakesMaterialIndicesDocumentWide) {
    SceneDoc doc;
    const std::vector<std::vector<const wchar_t*>> names = {
        {L"A0", L"A1"}, {}, {L"C0", L"C1", L"C2"}};
    const std::vector<std::vector<std::int32_t>> used = {{1, 0, -1, 2}, {0}, {1, 2, 0, 3, -5}};
    for (std::size_t m = 0; m < names.size(); ++m) {
        DocMesh& mesh = *addMesh(doc);
        for (const wchar_t* name : names[m]) {
            DocSurface s = surface(name, L"c.png");
            s.face_count = 9;
            s.uv_set_index = 1;
            s.texture_sizes[kTextureOpacity][1] = 32;
            mesh.surfaces.push_back(s);
        }
        mesh.polygons = polygonsUsing(used[m]);
    }

    prepare::collectSurfaces(doc);

    EXPECT_EQ(namesOf(doc.surfaces),
              (std::vector<std::wstring>{L"A0", L"A1", L"C0", L"C1", L"C2"}));
    for (const DocSurface& s : doc.surfaces) {
        EXPECT_EQ(s.face_count, 0);
        EXPECT_EQ(s.uv_set_index, 0);
        EXPECT_EQ(s.texture_sizes[kTextureOpacity][1], 32);
    }
    // An index naming no surface of its own mesh is not shifted onto another
    // mesh's surface.
    EXPECT_EQ(materialsOf(doc.meshes[0]), (std::vector<std::int32_t>{1, 0, -1, -1}));
    EXPECT_EQ(materialsOf(doc.meshes[1]), (std::vector<std::int32_t>{-1}));
    EXPECT_EQ(materialsOf(doc.meshes[2]), (std::vector<std::int32_t>{3, 4, 2, -1, -1}));
    for (const DocMesh& mesh : doc.meshes) {
        EXPECT_TRUE(mesh.surfaces.empty());
    }
}

TEST(SurfacesToMaterials, OneMaterialPerSurfaceEvenWithEqualTextures) {
    SceneDoc doc;
    doc.surfaces = {surface(L"Skin\u20ac", L"c.png", L"o.png"), surface(L"Face", L"C.PNG"),
                    surface(L"Normal")};
    doc.surfaces[0].diffuse_bytes[0] = 51;
    doc.surfaces[0].opacity = 0.5f;
    doc.surfaces[2].normal_path.set(L"n.png");
    DocMesh& mesh = *addMesh(doc);
    mesh.polygons = polygonsUsing({1, 9});

    prepare::surfacesToMaterials(doc);

    ASSERT_EQ(doc.materials.size(), 3u);
    const DocMaterial& skin = doc.materials[0];
    EXPECT_STREQ(skin.name.ansi, "Skin\x80");
    EXPECT_EQ(skin.opacity, 0.5f);
    EXPECT_FLOAT_EQ(skin.diffuse[0], 0.2f);
    EXPECT_EQ(skin.diffuse[3], 1.0f);
    ASSERT_EQ(skin.maps.size(), 2u);
    EXPECT_STREQ(skin.maps[1]->path.wide, L"o.png");
    EXPECT_EQ(skin.maps[1]->channel, kChannelOpacity);
    // A normal map without a bump map goes on the bump channel, marked.
    ASSERT_EQ(doc.materials[2].maps.size(), 1u);
    EXPECT_EQ(doc.materials[2].maps[0]->channel, kChannelBump);
    EXPECT_EQ(doc.materials[2].maps[0]->flags,
              kMapFlagsDefault | kMapFlagFile | kMapFlagNormalInBump);
    EXPECT_TRUE(doc.surfaces.empty());
    EXPECT_EQ(materialsOf(doc.meshes[0]), (std::vector<std::int32_t>{1, 9}));

    prepare::surfacesToMaterials(doc); // no surfaces: the materials stay
    EXPECT_EQ(doc.materials.size(), 3u);
}

} // namespace
