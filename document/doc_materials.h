// Texture maps of materials and the material searches.
#pragma once

#include <cstdint>

#include "document/scene_doc.h"

namespace yfx {

// The map of the given channel, or nullptr.
DocMap* findMap(DocMaterial& material, std::int32_t channel);
const DocMap* findMap(const DocMaterial& material, std::int32_t channel);

// Appends a type 1 map for the channel with the default head and tail.
// Refused (nullptr) when the material already has a map on that channel.
DocMap* addMap(DocMaterial& material, std::int32_t channel);
// As addMap; when path is not empty it is copied into the map (8-bit form
// converted from the wide one) and the file flag is set.
DocMap* addMapWithPath(DocMaterial& material, std::int32_t channel, const wchar_t* path);
// As addMap; when path is not empty both of its forms are copied and the file flag is set.
DocMap* addMapWithPath(DocMaterial& material, std::int32_t channel, const NamePair& path);

// Builds a map of the given type (types other than 2 to 7 get the type 1
// tail) in the existing slot, with empty paths and the default head. Refused
// (nullptr) when slot is not a slot of the map array or a map with the
// channel already exists.
DocMap* createMap(DocMaterial& material, std::int32_t slot, std::int32_t channel,
                  std::int32_t type);

// Index of the first material whose colour map (channel 0, type 1) and
// opacity map (channel 1, type 1) paths match the given ones, ignoring letter
// case; a path that is null or empty is not asked for. -1 when nothing
// matches, when the document has no materials or when neither path is given.
std::int32_t findMaterialByMaps(const SceneDoc& doc, const wchar_t* colourPath,
                                const wchar_t* opacityPath);

// The material a host surface becomes: an existing one with the same colour
// and opacity maps, or a new one named name with the surface's colour,
// opacity and maps. Returns its index, or -1 when it cannot be appended.
std::int32_t findOrAddMaterial(SceneDoc& doc, const wchar_t* name, const DocSurface& surface);

} // namespace yfx
