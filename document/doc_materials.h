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
// As createMap without looking for a map on the channel: for callers that
// keep their own record of the channels taken (the reader, in constant time
// per map where the search would make a material of many maps quadratic).
DocMap* createMapInSlot(DocMaterial& material, std::int32_t slot, std::int32_t channel,
                        std::int32_t type);

// Index of the first material whose colour map (channel 0, type 1) and
// opacity map (channel 1, type 1) paths match the given ones, ignoring letter
// case; a path that is null or empty is not asked for. -1 when nothing
// matches, when the document has no materials or when neither path is given.
std::int32_t findMaterialByMaps(const SceneDoc& doc, const wchar_t* colourPath,
                                const wchar_t* opacityPath);

// The path of the material's map on the channel when that map is an image
// (type 1) map; an empty text otherwise. These are the paths the material
// searches compare.
const wchar_t* imageMapPath(const DocMaterial& material, std::int32_t channel);

// Adds a type 1 map with the file flag for every texture path of the surface
// that is not empty: colour on channel 0, opacity on channel 1, specular on 3,
// translucency on 4. A normal path goes on channel 5 beside a bump path on
// channel 2; without a bump path it goes on channel 2 with
// kMapFlagNormalInBump. A bump path alone goes on channel 2. A channel the
// material already has a map on is left as it is.
void addSurfaceMaps(DocMaterial& material, const DocSurface& surface);

// Appends the material a host surface becomes when surfaces are merged into
// materials: named name, default shininess and colours 2 to 5, the surface's
// opacity, diffuse colour (bytes / 255, alpha 1) and diffuse bytes, and its
// maps (addSurfaceMaps). Returns it, or nullptr when it cannot be appended.
DocMaterial* appendMaterialFromSurface(SceneDoc& doc, const wchar_t* name,
                                       const DocSurface& surface);

// The material a host surface becomes: an existing one with the same colour
// and opacity maps (findMaterialByMaps), or a new one from
// appendMaterialFromSurface. Returns its index, or -1 when it cannot be
// appended.
std::int32_t findOrAddMaterial(SceneDoc& doc, const wchar_t* name, const DocSurface& surface);

} // namespace yfx
