// Byte layout of the chunked file (version 34): a 48-byte header, a
// directory chunk, then tagged, length-prefixed chunks in any order. A chunk
// is a u32 tag, a u32 length L and L bytes of content; some contents hold
// sub-chunks of the same shape. Records inside the chunks are the late-form
// records of the sectioned layout, with UTF-16 names.
#pragma once

#include <cstdint>

namespace yfx {

// Header: magic, version, flags, total (uncompressed) size, offset of the
// compressed body, then 28 bytes the reader does not interpret.
constexpr std::uint32_t kChunkedHeaderSize = 48;
constexpr std::uint32_t kChunkedUninterpretedSize = 28;

// Header flags of the chunked layout (0x10 as in the sectioned layout).
constexpr std::uint32_t kChunkedFlagNormals = 0x1;      // a normal per vertex
constexpr std::uint32_t kChunkedFlagColours = 0x2;      // an RGBA colour per vertex
constexpr std::uint32_t kChunkedFlagExtraVectors = 0x4; // two more 3-float vectors per vertex
constexpr std::uint32_t kChunkedFlagWeights = 0x8;      // skin weights per vertex
constexpr std::uint32_t kChunkedFlagCompressed = 0x10;  // the body is a zlib stream

// A compressed image may hold a compressed image; this many levels are
// inflated, a deeper one is refused.
constexpr int kChunkedMaxInflations = 4;

constexpr std::uint32_t kChunkHeaderSize = 8; // tag, length

// Top-level chunk tags.
constexpr std::uint32_t kChunkDirectory = 0xBBBB0000u;
constexpr std::uint32_t kChunkLights = 0xBBBB0001u;
constexpr std::uint32_t kChunkCameras = 0xBBBB0002u;
constexpr std::uint32_t kChunkMaterials = 0xBBBB0003u;
constexpr std::uint32_t kChunkEmbeddedFiles = 0xBBBB0004u;
constexpr std::uint32_t kChunkGroups = 0xBBBB0006u;
constexpr std::uint32_t kChunkMeshes = 0xBBBB0007u;
constexpr std::uint32_t kChunkBones = 0xBBBB0008u;
constexpr std::uint32_t kChunkAnimations = 0xBBBB0009u;
constexpr std::uint32_t kChunkInfoStrings = 0xBBBB000Au;

// The tags a directory lists (one 8-byte entry each: tag, value).
constexpr std::uint32_t kDirectoryTags[] = {
    kChunkLights, kChunkCameras, kChunkMaterials,  kChunkEmbeddedFiles, kChunkGroups,
    kChunkMeshes, kChunkBones,   kChunkAnimations, kChunkInfoStrings};
constexpr std::uint32_t kDirectoryTagCount = sizeof kDirectoryTags / sizeof kDirectoryTags[0];
constexpr std::uint32_t kDirectoryEntrySize = 8;

// Sub-chunks of the mesh container: one mesh chunk per mesh, in mesh order,
// each holding vertex, face link, polygon and UV-set container chunks.
constexpr std::uint32_t kChunkMesh = 0xCCCC0000u;
constexpr std::uint32_t kChunkMeshVertices = 0xCCCC0001u;
constexpr std::uint32_t kChunkMeshFaceLinks = 0xCCCC0002u;
constexpr std::uint32_t kChunkMeshPolygons = 0xCCCC0005u;
constexpr std::uint32_t kChunkMeshUVSets = 0xCCCC0006u;

// Sub-chunks of a UV-set container: one per set, in set order, each holding
// the set's name, then UV and link list chunks.
constexpr std::uint32_t kChunkUVSet = 0xDDDD0000u;
constexpr std::uint32_t kChunkUVSetUVs = 0xDDDD0001u;
constexpr std::uint32_t kChunkUVSetLinks = 0xDDDD0002u;

} // namespace yfx
