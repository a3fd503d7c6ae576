// Sized allocations: the slot's current array is freed completely (the
// elements' own arrays included), then n default elements take its place.
// Result 1 on success, 0 on refusal or allocation failure; after a failed
// allocation the slot is empty. A count below 1 is refused before anything is
// freed, except where noted.
#pragma once

#include <cstdint>

#include "document/scene_doc.h"

namespace yfx {

// Document slots.
int allocateLights(SceneDoc& doc, std::int32_t n);
int allocateCameras(SceneDoc& doc, std::int32_t n);
int allocateMaterials(SceneDoc& doc, std::int32_t n);
// Group i is named "YFXGroup%d" with i from 0.
int allocateGroups(SceneDoc& doc, std::int32_t n);
// A count of 0 frees the slot and succeeds.
int allocateVertices(SceneDoc& doc, std::int32_t n);
// A count of 0 frees the slot and succeeds.
int allocateFaceLinks(SceneDoc& doc, std::int32_t n);
// Set i is named "UVSet%d" with i from 1.
int allocateUVSets(SceneDoc& doc, std::int32_t n);
// Mesh i is named "YFXMesh%d" with i from 0. A count of 0 frees the slot and succeeds.
int allocateMeshes(SceneDoc& doc, std::int32_t n);
int allocateBones(SceneDoc& doc, std::int32_t n);
// Each animation is named "DefaultAnim".
int allocateAnimations(SceneDoc& doc, std::int32_t n);
int allocateSurfaces(SceneDoc& doc, std::int32_t n);
int allocateGroupBuilds(SceneDoc& doc, std::int32_t n);

// Inside records.
int allocateSurfaces(DocMesh& mesh, std::int32_t n);
// Each polygon unprepared (no corners), group and material -1.
int allocatePolygons(DocMesh& mesh, std::int32_t n);
// Frees the mesh's polygons and makes room for n without making any: a reader
// appends them as it reads them (never reallocating), so that their memory is
// only touched as it is filled. Refused for n below 1.
int reservePolygons(DocMesh& mesh, std::int32_t n);
// The mesh's own vertices (exporter side).
int allocateMeshVertices(DocMesh& mesh, std::int32_t n);
// Every colour 1, 1, 1, 1.
int allocateMeshColours(DocMesh& mesh, std::int32_t n);
// Gives the polygon max(n, 3) default corners (indices -1, flags 0, both UV
// layers' indices -1). Refused when the polygon already has corners.
int preparePolygon(DocPolygon& polygon, std::int32_t n);
// n (1 or 2) UV sets named "UVSet%d" with i from 0; with m >= 1 each gets m UVs.
int allocateMeshUVSets(DocMesh& mesh, std::int32_t n, std::int32_t m);
// Replaces the UVs and links of UV set k (0 or 1) by m zeroed UVs (m >= 1). A
// mesh without UV sets first gets two empty ones; a mesh with one set refuses k = 1.
int allocateMeshUVs(DocMesh& mesh, std::int32_t k, std::int32_t m);
int allocateUVs(DocUVSet& set, std::int32_t m);
int allocateUVLinks(DocUVSet& set, std::int32_t m);
int allocateWeights(DocVertex& vertex, std::int32_t n);
int allocateGroupMembers(DocGroup& group, std::int32_t n);
int allocateTracks(DocAnimation& animation, std::int32_t n);
int allocatePositionKeys(DocTrack& track, std::int32_t n);
int allocateRotationKeys(DocTrack& track, std::int32_t n);
int allocateScaleKeys(DocTrack& track, std::int32_t n);
// n empty map slots (see createMap).
int allocateMapSlots(DocMaterial& material, std::int32_t n);
// Frees the map's layers, then n default layers. A count of 0 leaves the map
// without layers (result 1); a negative count fails and changes nothing.
int allocateMapLayers(DocMap& map, std::int32_t n);

} // namespace yfx
