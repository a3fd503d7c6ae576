// Byte layout of the project file shared by the writers and the reader: the
// magic, the version numbers, the header flags, the header sizes, the header
// and section table records, the length-prefixed string rule, the map types
// and the fixed sizes of the records that follow a name.
//
// Every value in the file is little-endian and fields follow each other with
// no padding. These structs are the values the header holds, never an image
// of the bytes: the header codec (format/header_codec.h) turns them into bytes
// and back field by field.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/scene_doc.h"

namespace yfx {

// The four bytes "YFXH" that open every file, and the same bytes read as a
// little-endian u32.
constexpr char kFileMagic[4] = {'Y', 'F', 'X', 'H'};
constexpr std::uint32_t kFileMagicWord = 0x48584659u;

// Versions the writers produce.
constexpr std::uint32_t kVersionCurrent = 31;  // the sectioned layout with UV sets
constexpr std::uint32_t kVersionV2 = 9;        // the older "v2.x" layout
constexpr std::uint32_t kVersionContainer = 8; // the compressed container around either

// Header flag values.
constexpr std::uint32_t kFlagNormals = 1;     // vertices carry a normal
constexpr std::uint32_t kFlagColours = 2;     // vertices carry an RGBA colour
constexpr std::uint32_t kFlagCompressed = 16; // the body after the header is a zlib stream
constexpr std::uint32_t kContainerFlags = kFlagCompressed | kFlagColours; // 18

// Header lengths in bytes: 32 words from version 30 on, 24 words before.
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kHeaderSizeV2 = 96;
// Bytes before the section table: magic, version, flags, size.
constexpr std::size_t kHeaderPrefixSize = 16;
// Byte position of the first section entry's offset field (where a container's
// compressed body begins).
constexpr std::size_t kHeaderFirstOffsetPosition = 20;

// One entry of the header's section table: the count that opens the section
// and the position of that count field from the first byte of the stream.
struct SectionEntry {
    std::int32_t count = 0;
    std::uint32_t offset = 0;
};
constexpr std::size_t kSectionEntrySize = 8;

// The version 31 header. Its section table follows the order of DocSection
// (lights, cameras, materials, groups, vertices, face links, UV sets, meshes,
// bones, animations, info strings); the sections follow the header in the
// same order, so the lights section always starts at kHeaderSize.
struct FileHeader {
    std::uint32_t magic = kFileMagicWord;
    std::uint32_t version = 0;
    std::uint32_t flags = 0;
    std::uint32_t size = 0; // stream length in bytes, header included
    SectionEntry sections[kSectionCount];
    // 24 reserved bytes follow the table; they are zero.
};
constexpr std::size_t kHeaderReservedSize = 24;
static_assert(kHeaderPrefixSize + kSectionCount * kSectionEntrySize + kHeaderReservedSize ==
                  kHeaderSize,
              "the version 31 header is 128 bytes");

// Section table order of the version 9 header and its sections.
enum V2Section : int {
    kV2SectionLights = 0,
    kV2SectionCameras,
    kV2SectionMaterials,
    kV2SectionGroups,
    kV2SectionVertices,
    kV2SectionPolygonGroups,
    kV2SectionBones,
    kV2SectionAnimations,
    kV2SectionInfoStrings,
    kV2SectionCount
};

// The version 9 header (24 words): the same prefix, nine section entries and
// eight reserved zero bytes.
struct FileHeaderV2 {
    std::uint32_t magic = kFileMagicWord;
    std::uint32_t version = 0;
    std::uint32_t flags = 0;
    std::uint32_t size = 0;
    SectionEntry sections[kV2SectionCount];
};
constexpr std::size_t kHeaderReservedSizeV2 = 8;
static_assert(kHeaderPrefixSize + kV2SectionCount * kSectionEntrySize + kHeaderReservedSizeV2 ==
                  kHeaderSizeV2,
              "the version 9 header is 96 bytes");

// FileString: a u16 length L, then L bytes of 8-bit (Windows-1252) text whose
// last byte is the terminating zero, so L = text length + 1 and an empty text
// is L = 1 followed by one zero byte. Names hold at most 259 characters.
constexpr std::size_t kFileStringMaxText = 259;
constexpr std::size_t kFileStringLengthSize = 2;

// Fixed counts the writers give.
constexpr std::int32_t kFileUVSetCount = 2;      // UV sets section of version 31
constexpr std::int32_t kFileInfoStringCount = 3; // creator, version, time
constexpr const char* kFileUVSetNameFormat = "UVSet%d";

// Map types: they select what follows a map's head.
enum FileMapType : std::int32_t {
    kMapTypeImage = 1,       // path, i32, f32, f32
    kMapTypeImageColour = 2, // path, i32, 4 f32, packed RGB colour, 32-bit value
    kMapTypeImageExtra = 3,  // path, i32, f32, f32, i32
    kMapTypeLayered = 4,     // layer count, then per layer: path, i32, 32-bit value, f32
    kMapTypeSixImages = 5,   // six paths
    kMapTypeImageValue6 = 6, // path, i32
    kMapTypeImageValue7 = 7, // path, i32
    kMapTypeFirst = kMapTypeImage,
    kMapTypeLast = kMapTypeImageValue7
};

// Record sizes in bytes after a record's leading name (version 31).
constexpr std::size_t kTransformSize = 152; // 38 floats
constexpr std::size_t kLightEntrySize = 204;
constexpr std::size_t kCameraEntrySize = 172;
constexpr std::size_t kMaterialBlockSize = 92; // word, five RGBA colours, shininess, opacity
constexpr std::size_t kMapHeadSize = 48;       // channel, type, flags, offset, scale, rotation
constexpr std::size_t kGroupEntrySize = 160;
constexpr std::size_t kBoneEntrySize = 172;
constexpr std::size_t kFaceLinkEntrySize = 40; // ten 32-bit words
constexpr std::size_t kFileUVSize = 12;        // i32 0, u, v

// Version 9 specifics.
constexpr std::size_t kMapHeadSizeV2 = 20; // channel, type, two constants, flags
constexpr std::int32_t kV2MapHeadConstantA = 8448;
constexpr std::int32_t kV2MapHeadConstantB = 10497;
constexpr std::int32_t kV2MapLayerLimit = 3; // layers of a type 4 map the layout can hold
constexpr std::int32_t kV2SixImageCount = 6;
constexpr std::size_t kBoneEntrySizeV2 = 60; // parent, position, quaternion, scale, colour

} // namespace yfx
