// What each version of the sectioned layout (6 to 33) changes, one small
// function per choice, so that the map reads like a table:
//
//   versions  header    names   records  materials  face links, UV sets  UV entry  bone scale
//   texture paths 6 to 8    24 words  8-bit   early    early      absent               3 words
//   absent      moved 9         24 words  8-bit   early    early      absent               3 words
//   present     moved 10        24 words  UTF-16  early    early      absent               2 words
//   present     kept if found 11 to 29  24 words  8-bit   early    early      absent 2 words
//   present     moved 30        32 words  8-bit   late     early      present              - -
//   moved 31        32 words  8-bit   late     late       present              -         - moved 32
//   32 words  UTF-16  late     late       present              -         -           moved 33 32
//   words  UTF-16  late     late       present              -         -           kept if found
//
// "Records" are lights, cameras, groups, meshes and bones. Version 34 is the
// chunked layout and has a reader of its own.
#pragma once

#include <cstdint>

#include "format/byte_cursor.h"

namespace yfx {

constexpr std::int32_t kFirstReadableVersion = 6;
constexpr std::int32_t kFirstLateVersion = 30;
constexpr std::int32_t kLastSectionedVersion = 33;
constexpr std::int32_t kChunkedVersion = 34;

// Number of 32-bit words the header stores.
std::uint32_t headerWords(std::int32_t version);
// Text encoding of every name.
NameEncoding nameEncoding(std::int32_t version);
// Lights, cameras, groups, meshes and bones in the late form.
bool lateRecords(std::int32_t version);
// Materials (and their maps) in the late form.
bool lateMaterials(std::int32_t version);
// The face links and UV sets sections are present.
bool hasUVSections(std::int32_t version);
// Words per corner and layer of an early-form mesh's UV entries (u, v and,
// in the oldest versions, a third word that is skipped).
std::uint32_t earlyUVEntryWords(std::int32_t version);
// An early-form bone stores its scale.
bool earlyBoneHasScale(std::int32_t version);
// A stored texture path is kept when a file exists there (otherwise every
// texture is looked for beside the project file).
bool keepsFoundTexturePaths(std::int32_t version);

} // namespace yfx
