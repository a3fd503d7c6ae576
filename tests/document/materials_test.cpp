// Map creation on materials and the material searches.
#include <gtest/gtest.h>

#include "document/document.h"

namespace yfx {
namespace {

DocSurface surfaceWith(const wchar_t* colour, const wchar_t* opacity) {
    DocSurface s;
    s.colour_path.set(colour);
    s.opacity_path.set(opacity);
    return s;
}

TEST(AddMap, OneMapPerChannel) {
    DocMaterial material;
    DocMap* map = addMap(material, kChannelColour);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->map_type, 1);
    EXPECT_EQ(map->flags, kMapFlagsDefault);
    EXPECT_TRUE(map->path.empty());
    EXPECT_EQ(addMap(material, kChannelColour), nullptr);
    EXPECT_EQ(material.maps.size(), 1u);
    ASSERT_NE(addMap(material, kChannelBump), nullptr);
    EXPECT_EQ(material.maps.size(), 2u);
}

TEST(AddMap, PathVariantSetsTheFileFlagOnlyWithAPath) {
    DocMaterial material;
    DocMap* withPath = addMapWithPath(material, kChannelOpacity, L"C:\\tex\\\u00e9t\u00e9.png");
    ASSERT_NE(withPath, nullptr);
    EXPECT_EQ(withPath->flags, kMapFlagsDefault | kMapFlagFile);
    EXPECT_STREQ(withPath->path.wide, L"C:\\tex\\\u00e9t\u00e9.png");
    EXPECT_STREQ(withPath->path.ansi, "C:\\tex\\\xe9t\xe9.png");

    DocMap* empty = addMapWithPath(material, kChannelSpecular, L"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->flags, kMapFlagsDefault);

    NamePair pair;
    pair.setAnsi("d:\\a.tga");
    DocMap* fromPair = addMapWithPath(material, 7, pair);
    ASSERT_NE(fromPair, nullptr);
    EXPECT_EQ(fromPair->channel, 7);
    EXPECT_STREQ(fromPair->path.wide, L"d:\\a.tga");
    EXPECT_EQ(addMapWithPath(material, 7, pair), nullptr);
}

TEST(CreateMap, SlotsTypesAndRefusals) {
    DocMaterial material;
    EXPECT_EQ(createMap(material, 0, kChannelColour, 1), nullptr); // no slots yet
    ASSERT_EQ(allocateMapSlots(material, 4), 1);
    EXPECT_EQ(createMap(material, 4, kChannelColour, 1), nullptr);
    EXPECT_EQ(createMap(material, -1, kChannelColour, 1), nullptr);

    DocMap* two = createMap(material, 0, kChannelColour, 2);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->map_type, 2);
    EXPECT_EQ(two->tail_float_c, 8.0f);
    EXPECT_EQ(two->tail_float_d, 8.0f);
    EXPECT_EQ(two->tail_colour, 0xC4C4C4u);
    EXPECT_EQ(material.maps[0].get(), two);
    EXPECT_EQ(createMap(material, 1, kChannelColour, 1), nullptr); // channel taken

    DocMap* six = createMap(material, 1, kChannelOpacity, 6);
    ASSERT_NE(six, nullptr);
    EXPECT_EQ(six->tail_int, 256);
    DocMap* seven = createMap(material, 2, kChannelBump, 7);
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(seven->tail_int, 0);
    DocMap* three = createMap(material, 3, kChannelSpecular, 3);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three->tail_int_b, 2);
    EXPECT_EQ(three->flags, kMapFlagsDefault);

    // An unknown type keeps its number but gets the image tail.
    DocMaterial other;
    ASSERT_EQ(allocateMapSlots(other, 1), 1);
    DocMap* odd = createMap(other, 0, kChannelNormal, 12);
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->map_type, 12);
    EXPECT_EQ(odd->tail_float_a, 2.0f);
    EXPECT_EQ(odd->channel, kChannelNormal);

    // Empty slots do not hide channels from addMap.
    DocMaterial gaps;
    ASSERT_EQ(allocateMapSlots(gaps, 3), 1);
    ASSERT_NE(createMap(gaps, 2, kChannelBump, 1), nullptr);
    EXPECT_EQ(addMap(gaps, kChannelBump), nullptr);
    ASSERT_NE(addMap(gaps, kChannelColour), nullptr);
    EXPECT_EQ(gaps.maps.size(), 4u);
    EXPECT_EQ(findMap(gaps, kChannelColour), gaps.maps[3].get());
}

TEST(FindMaterialByMaps, MatchRulesIgnoreLetterCase) {
    SceneDoc doc;
    EXPECT_EQ(findMaterialByMaps(doc, L"a.png", nullptr), -1);

    ASSERT_EQ(allocateMaterials(doc, 3), 1);
    addMapWithPath(doc.materials[0], kChannelColour, L"C:\\T\\Skin.png");
    addMapWithPath(doc.materials[1], kChannelColour, L"C:\\t\\skin.png");
    addMapWithPath(doc.materials[1], kChannelOpacity, L"C:\\t\\mask.png");
    addMapWithPath(doc.materials[2], kChannelOpacity, L"C:\\t\\MASK.png");

    EXPECT_EQ(findMaterialByMaps(doc, nullptr, nullptr), -1);
    EXPECT_EQ(findMaterialByMaps(doc, L"", L""), -1);
    EXPECT_EQ(findMaterialByMaps(doc, L"c:\\t\\SKIN.PNG", nullptr), 0);
    EXPECT_EQ(findMaterialByMaps(doc, L"c:\\t\\skin.png", L"c:\\T\\mask.PNG"), 1);
    EXPECT_EQ(findMaterialByMaps(doc, nullptr, L"c:\\t\\mask.png"), 1);
    EXPECT_EQ(findMaterialByMaps(doc, L"c:\\t\\other.png", L"c:\\t\\mask.png"), -1);
    EXPECT_EQ(findMaterialByMaps(doc, L"c:\\t\\skin.png", L"c:\\t\\none.png"), -1);
}

TEST(FindMaterialByMaps, OnlyImageMapsCount) {
    SceneDoc doc;
    ASSERT_EQ(allocateMaterials(doc, 1), 1);
    ASSERT_EQ(allocateMapSlots(doc.materials[0], 1), 1);
    DocMap* notImage = createMap(doc.materials[0], 0, kChannelColour, 3);
    ASSERT_NE(notImage, nullptr);
    notImage->path.setWide(L"a.png");
    EXPECT_EQ(findMaterialByMaps(doc, L"a.png", nullptr), -1);
}

TEST(FindOrAddMaterial, SameTexturesShareOneMaterial) {
    SceneDoc doc;
    DocSurface first = surfaceWith(L"C:\\t\\skin.png", L"C:\\t\\mask.png");
    first.diffuse_bytes[0] = 255;
    first.diffuse_bytes[1] = 0;
    first.diffuse_bytes[2] = 51;
    first.opacity = 0.5f;
    const std::int32_t a = findOrAddMaterial(doc, L"Skin \u20ac", first);
    ASSERT_EQ(a, 0);
    const DocMaterial& m = doc.materials[0];
    EXPECT_STREQ(m.name.ansi, "Skin \x80");
    EXPECT_EQ(m.opacity, 0.5f);
    EXPECT_FLOAT_EQ(m.diffuse[0], 1.0f);
    EXPECT_FLOAT_EQ(m.diffuse[1], 0.0f);
    EXPECT_FLOAT_EQ(m.diffuse[2], 0.2f);
    EXPECT_EQ(m.diffuse[3], 1.0f);
    EXPECT_EQ(m.diffuse_bytes[2], 51);
    EXPECT_EQ(m.shininess, 128.0f);
    ASSERT_EQ(m.maps.size(), 2u);

    const DocSurface second = surfaceWith(L"c:\\T\\SKIN.PNG", L"c:\\t\\Mask.png");
    EXPECT_EQ(findOrAddMaterial(doc, L"Other", second), 0);
    EXPECT_EQ(doc.materials.size(), 1u);

    const DocSurface bare = surfaceWith(L"", L"");
    EXPECT_EQ(findOrAddMaterial(doc, L"Bare", bare), 1);
    EXPECT_EQ(findOrAddMaterial(doc, L"Bare", bare), 2); // never merged
    EXPECT_TRUE(doc.materials[2].maps.empty());
}

TEST(FindOrAddMaterial, NormalAndBumpChannels) {
    SceneDoc doc;
    DocSurface normalOnly;
    normalOnly.normal_path.set(L"n.png");
    ASSERT_EQ(findOrAddMaterial(doc, L"N", normalOnly), 0);
    ASSERT_EQ(doc.materials[0].maps.size(), 1u);
    const DocMap* bump = findMap(doc.materials[0], kChannelBump);
    ASSERT_NE(bump, nullptr);
    EXPECT_EQ(bump->flags, kMapFlagsDefault | kMapFlagFile | kMapFlagNormalInBump);
    EXPECT_STREQ(bump->path.wide, L"n.png");

    DocSurface both;
    both.normal_path.set(L"n.png");
    both.bump_path.set(L"b.png");
    both.specular_path.set(L"s.png");
    both.translucency_path.set(L"t.png");
    ASSERT_EQ(findOrAddMaterial(doc, L"B", both), 1);
    const DocMaterial& m = doc.materials[1];
    ASSERT_EQ(m.maps.size(), 4u);
    ASSERT_NE(findMap(m, kChannelBump), nullptr);
    EXPECT_STREQ(findMap(m, kChannelBump)->path.wide, L"b.png");
    EXPECT_EQ(findMap(m, kChannelBump)->flags, kMapFlagsDefault | kMapFlagFile);
    ASSERT_NE(findMap(m, kChannelNormal), nullptr);
    EXPECT_STREQ(findMap(m, kChannelNormal)->path.wide, L"n.png");
    EXPECT_STREQ(findMap(m, kChannelSpecular)->path.wide, L"s.png");
    EXPECT_STREQ(findMap(m, kChannelTranslucency)->path.wide, L"t.png");

    DocSurface bumpOnly;
    bumpOnly.bump_path.set(L"b2.png");
    ASSERT_EQ(findOrAddMaterial(doc, L"C", bumpOnly), 2);
    ASSERT_EQ(doc.materials[2].maps.size(), 1u);
    EXPECT_EQ(doc.materials[2].maps[0]->channel, kChannelBump);
    EXPECT_EQ(doc.materials[2].maps[0]->flags, kMapFlagsDefault | kMapFlagFile);
}

} // namespace
} // namespace yfx
