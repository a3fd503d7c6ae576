// Geometry records of the scene document: vertices with their skin weights,
// UV sets, polygons with their corners, host surfaces and meshes.
#pragma once

#include <cstdint>
#include <vector>

#include "document/small_vector.h"
#include "platform/name_pair.h"

class DzNode; // host node; the document only carries the pointer, never follows it

namespace yfx {

// One skin weight of a vertex.
struct DocWeight {
    std::int32_t bone = -1; // index into SceneDoc::bones; -1 none
    float weight = 0.0f;
    std::int32_t contributions = 0; // how many times a weight was added to this entry
};

// Up to four weights per vertex are held without a heap block.
using DocWeightList = SmallVector<DocWeight, 4>;

struct DocVertex {
    // Flag word; kVertexUnusedMark is a scratch mark of the processing passes.
    std::int32_t vertex_word = 0;
    float position[3] = {0, 0, 0};
    float normal[3] = {0, 0, 0};
    float colour[4] = {1, 1, 1, 1}; // RGBA
    DocWeightList weights;          // the weight count is weights.size()
};

constexpr std::int32_t kVertexUnusedMark = 4;

// Legacy index record: eleven words, the first and last 0, nine indices -1.
struct DocFaceLink {
    std::int32_t head = 0;
    std::int32_t indices[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::int32_t tail = 0;
};

struct DocUV {
    std::int32_t uv_word = 0;
    float u = 0.0f;
    float v = 0.0f;
};

struct DocUVSet {
    NamePair name;
    std::vector<DocUV> uvs;         // the UV count is uvs.size()
    std::vector<DocFaceLink> links; // the link count is links.size()
};

// What one UV layer of a polygon holds for one corner. The UV itself lives in
// the mesh's UV set (or, while exporting, in DocMesh::gathered_corner_uvs).
struct DocCornerUV {
    std::int32_t index = -1;  // into UV set k of the mesh for layer k; -1 none
    std::int32_t second = -1; // the layer's second per-corner index
};

constexpr std::int32_t kPolygonUVLayers = 2;

// Everything a polygon keeps per corner, in one element so that a polygon's
// lists live in one block (inline up to four corners). A loaded file holds
// one per corner, so nothing that only one side uses belongs here.
struct DocCorner {
    std::int32_t vertex = -1; // into the vertex pool (or the mesh's own vertices while exporting)
    std::int32_t index2 = -1; // second index per corner (colour index while exporting)
    std::int32_t flags = 0;   // edge visibility of the edge to the next corner; 0 = hidden
    DocCornerUV uv[kPolygonUVLayers];
};

using DocCornerList = SmallVector<DocCorner, 4>;

struct DocPolygon {
    // Flag word; kPolygonRepeatedCornerMark is a scratch mark of the passes.
    std::int32_t polygon_word = 0;
    std::int32_t word2 = -1;    // second copy of the group index (face-group index on import)
    std::int32_t group = -1;    // into SceneDoc::groups; -1 none
    std::int32_t material = -1; // into SceneDoc::materials; -1 none
    std::uint32_t polygon_value2 = 0;
    // Number of UV layers the file gives for this polygon; every corner holds
    // kPolygonUVLayers layers whatever this says.
    std::int32_t uv_layer_count = kPolygonUVLayers;
    // Empty until preparePolygon; then at least 3 corners.
    DocCornerList corners;

    std::int32_t cornerCount() const { return static_cast<std::int32_t>(corners.size()); }
};

constexpr std::int32_t kPolygonRepeatedCornerMark = 1;

// Indices into DocSurface::texture_sizes.
enum DocTextureSlot : int {
    kTextureColour = 0,
    kTextureOpacity,
    kTextureBump,
    kTextureNormal,
    kTextureSpecular,
    kTextureTranslucency,
    kTextureSlotCount
};

// A host surface material gathered on export; never written to the file as is.
struct DocSurface {
    WideName name;
    WideName colour_path;
    WideName opacity_path;
    WideName bump_path;
    WideName normal_path;
    WideName specular_path;
    WideName translucency_path;
    std::uint8_t diffuse_bytes[3] = {255, 255, 255}; // R, G, B
    float opacity = 1.0f;
    std::int32_t texture_sizes[kTextureSlotCount][2] = {}; // width, height per DocTextureSlot
    std::int32_t face_count = 0;   // polygons of the mesh that use this surface
    std::int32_t uv_set_index = 0; // UV set of the host mesh the material uses
};

struct DocColour {
    float rgba[4] = {1, 1, 1, 1};
};

// Highest vertex index of an exported mesh that has no polygon.
constexpr std::int32_t kNoPolygonVertexIndex = static_cast<std::int32_t>(0x80000001u);

struct DocMesh {
    DzNode* host_node = nullptr;   // the host node while exporting
    std::int32_t weights_flag = 0; // 1 once a skin weight of the mesh has been stored
    std::int32_t graft_flag = 0;   // 1 when the node is a figure with grafted figures
    std::int32_t highest_vertex_index = -1;
    std::int32_t mesh_value = 0; // vertex count of the host shape's own geometry
    std::vector<DocSurface> surfaces;
    std::vector<DocColour> colours;
    std::vector<DocUVSet> uvsets;    // one or two; set k holds the UVs of polygon layer k
    std::vector<DocVertex> vertices; // the mesh's own vertices while exporting
    std::vector<DocPolygon> polygons;
    WideName name; // wide only
    // Exporter only, from gathering to UV expansion: the host UV of every
    // corner of polygon layer k, in polygon and corner order (empty: every
    // UV zero). Expansion turns it into UV set k and leaves it empty; the
    // reader never fills it.
    std::vector<DocUV> gathered_corner_uvs[kPolygonUVLayers];
};

// A loaded file holds one polygon per polygon record and one vertex per
// vertex record, beside its inflated image: their sizes are pinned on 64-bit
// builds, so that any change is a deliberate one (bench/README.md compares
// them with the file's bytes per record).
static_assert(sizeof(void*) != 8 || sizeof(DocCorner) == 28,
              "a corner's size changed: update the budget and bench/README.md");
static_assert(sizeof(void*) != 8 || sizeof(DocPolygon) == 152,
              "a polygon's size changed: update the budget and bench/README.md");
static_assert(sizeof(void*) != 8 || sizeof(DocVertex) == 112,
              "a vertex's size changed: update the budget and bench/README.md");

} // namespace yfx
