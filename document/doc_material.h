// Materials and their texture maps.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/name_pair.h"

namespace yfx {

// Map channels.
enum DocMapChannel : std::int32_t {
    kChannelColour = 0,
    kChannelOpacity = 1,
    kChannelBump = 2, // or a normal map when kMapFlagNormalInBump is set
    kChannelSpecular = 3,
    kChannelTranslucency = 4,
    kChannelNormal = 5
};

constexpr std::uint32_t kMapFlagsDefault = 0x310000;
constexpr std::uint32_t kMapFlagFile = 1;         // a file is attached
constexpr std::uint32_t kMapFlagNormalInBump = 2; // the bump channel holds a normal map

// One layer of a layered (type 4) map.
struct DocMapLayer {
    NamePair path;
    std::int32_t layer_int = 0;
    std::uint32_t layer_value = 0;
    float layer_float = 1.0f;
};

// A texture map. The common head, then the tail fields of every map type; a
// map uses the ones of its type:
//   type 1 (image): path, tail_int, tail_float_a, tail_float_b
//   type 2:         path, tail_int, tail_float_a..d, tail_colour, tail_extra
//   type 3:         path, tail_int, tail_float_a, tail_float_b, tail_int_b
//   type 4 (layered): layers (no path)
//   type 5 (six images): path and more_paths[0..4]
//   type 6, 7:      path, tail_int (256 for type 6, 0 for type 7)
// Other types carry the head only.
struct DocMap {
    std::int32_t channel = 0; // DocMapChannel
    std::int32_t map_type = 1;
    std::uint32_t flags = kMapFlagsDefault;
    float texture_offset[3] = {0, 0, 0};
    float texture_scale[3] = {1, 1, 1};
    float texture_rotation[3] = {0, 0, 0};

    NamePair path;
    std::int32_t tail_int = 0;
    float tail_float_a = 2.0f;
    float tail_float_b = 1.0f;
    float tail_float_c = 8.0f;
    float tail_float_d = 8.0f;
    std::uint32_t tail_colour = 0xC4C4C4; // packed RGB
    std::uint32_t tail_extra = 0;
    std::int32_t tail_int_b = 2;
    std::array<NamePair, 5> more_paths{}; // paths 2 to 6 of a type 5 map
    std::vector<DocMapLayer> layers;      // the layer count is layers.size()
};

struct DocMaterial {
    NamePair name;
    // The 92-byte block the file stores: word, five colours, shininess, opacity.
    std::int32_t material_word = 0;
    float diffuse[4] = {1, 1, 1, 1};
    float colour2[4] = {0, 0, 0, 1};
    float colour3[4] = {0, 0, 0, 1};
    float colour4[4] = {0, 0, 0, 1};
    float colour5[4] = {0, 0, 0, 1};
    float shininess = 128.0f;
    float opacity = 1.0f;

    std::int32_t face_count = 0; // polygons that use this material
    // One slot per map (the map count is maps.size()); a slot is empty until a
    // map is created in it. At most one map per channel.
    std::vector<std::unique_ptr<DocMap>> maps;
    std::uint32_t reserved = 0;
    std::uint8_t diffuse_bytes[3] = {255, 255, 255}; // R, G, B
};

} // namespace yfx
