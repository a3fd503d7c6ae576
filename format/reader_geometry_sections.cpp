// Section readers for the vertex pool, the face links, the UV sets and the
// meshes. Meshes come in two forms: the early one (versions 6 to 29), whose
// polygons carry their UV coordinates inline and whose mesh i is the polygon
// group i, and the late one (30 to 33), whose polygons carry indices into the
// UV sets section.
#include <cstddef>
#include <new>

#include "document/doc_alloc.h"
#include "format/file_layout.h"
#include "format/reader_sections.h"
#include "format/reader_version_map.h"

namespace yfx {

namespace {

constexpr std::uint64_t kWeightSize = 8;        // bone index, weight
constexpr std::uint64_t kLatePolygonHead = 20;  // corners, layers, group, material, value
constexpr std::uint64_t kEarlyPolygonHead = 16; // corners, layers, material, value
constexpr std::uint64_t kLateCornerSize = 8;    // two indices
constexpr std::uint64_t kEarlyCornerSize = 4;   // a vertex index
constexpr std::uint32_t kFaceLinkWords = 10;

bool readFaceLink(Reader& r, DocFaceLink& link) {
    std::int32_t words[kFaceLinkWords];
    for (std::int32_t& w : words) {
        if (!r.i32(w)) {
            return false;
        }
    }
    link.head = words[0];
    for (int k = 0; k < 9; ++k) {
        link.indices[k] = words[1 + k];
    }
    return true;
}

} // namespace

// A counted list of face links, stored into `links` when it is given.
bool readFaceLinkList(Reader& r, std::int32_t count, std::vector<DocFaceLink>* links) {
    if (links == nullptr || count < 1) {
        return r.skipElements(count, kFaceLinkEntrySize);
    }
    if (!r.fits(count, kFaceLinkEntrySize)) {
        return false;
    }
    if (links->size() != static_cast<std::size_t>(count)) {
        try {
            links->assign(static_cast<std::size_t>(count), DocFaceLink{});
        } catch (const std::bad_alloc&) {
            return r.fail("cannot allocate face links");
        }
    }
    for (DocFaceLink& link : *links) {
        if (!readFaceLink(r, link)) {
            return false;
        }
    }
    return true;
}

namespace {

bool readVertex(Reader& r, Pass pass, DocVertex* v, bool normals, bool colours) {
    std::int32_t weights = 0;
    if (pass == Pass::Count) {
        return r.skip(12 + (normals ? 12 : 0) + (colours ? 16 : 0)) && r.i32(weights) &&
               r.skipElements(weights, kWeightSize);
    }
    float normal[3];
    if (!r.f32s(v->position, 3) || (normals && !r.f32s(normal, 3)) ||
        (colours && !r.f32s(v->colour, 4)) || !r.i32(weights)) {
        return false;
    }
    if (weights < 1) {
        return true;
    }
    if (!r.fits(weights, kWeightSize)) {
        return false;
    }
    if (!allocateWeights(*v, weights)) {
        return r.fail("cannot allocate weights");
    }
    for (DocWeight& w : v->weights) {
        if (!r.i32(w.bone) || !r.f32(w.weight)) {
            return false;
        }
    }
    return true;
}

bool readUVSet(Reader& r, Pass pass, DocUVSet* set) {
    std::int32_t uvs = 0;
    std::int32_t links = 0;
    if (pass == Pass::Count) {
        return r.skipName() && r.i32(uvs) && r.skipElements(uvs, kFileUVSize) && r.i32(links) &&
               r.skipElements(links, kFaceLinkEntrySize);
    }
    if (!r.name(set->name) || !r.i32(uvs)) {
        return false;
    }
    r.setPart("uv list", 0);
    if (uvs > 0) {
        if (!r.fits(uvs, kFileUVSize)) {
            return false;
        }
        if (!allocateUVs(*set, uvs)) {
            return r.fail("cannot allocate UVs");
        }
        for (DocUV& uv : set->uvs) {
            r.releaseReadImage();
            if (!r.i32(uv.uv_word) || !r.f32(uv.u) || !r.f32(uv.v)) {
                return false;
            }
        }
    }
    r.setPart("link list", 0);
    return r.i32(links) && readFaceLinkList(r, links, &set->links);
}

// Prepares a polygon for n corners read from the file (a polygon always
// holds at least three; corners the file does not give keep index -1).
bool preparePolygonFor(Reader& r, DocPolygon& p, std::int32_t corners) {
    if (!preparePolygon(p, corners)) {
        return r.fail("cannot allocate polygon corners");
    }
    return true;
}

std::uint64_t cornersOf(std::int32_t n) {
    return n > 0 ? static_cast<std::uint64_t>(n) : 0;
}

} // namespace

bool readLatePolygon(Reader& r, Pass pass, DocPolygon* p) {
    std::int32_t n = 0;
    std::int32_t layers = 0;
    std::int32_t group = 0;
    std::int32_t material = 0;
    std::uint32_t value = 0;
    if (!r.i32(n) || !r.i32(layers) || !r.i32(group) || !r.i32(material) || !r.u32(value)) {
        return false;
    }
    const std::int64_t corners = n > 0 ? n : 0;
    const std::int64_t layerEntries = corners * (layers > 0 ? layers : 0);
    if (pass == Pass::Count) {
        r.corner_total += cornersOf(n);
        return r.skipElements(corners, kLateCornerSize) &&
               r.skipElements(layerEntries, kLateCornerSize);
    }
    if (!r.fits(corners, kLateCornerSize) || !preparePolygonFor(r, *p, n)) {
        return false;
    }
    p->group = group;
    p->word2 = group;
    p->material = material;
    p->polygon_value2 = value;
    for (std::int64_t c = 0; c < corners; ++c) {
        DocCorner& corner = p->corners[static_cast<std::uint32_t>(c)];
        if (!r.i32(corner.vertex) || !r.i32(corner.index2)) {
            return false;
        }
    }
    // A polygon keeps two layers; further layers in the file are read past.
    for (std::int32_t l = 0; l < layers; ++l) {
        if (l >= kPolygonUVLayers) {
            return r.skipElements(corners * (layers - l), kLateCornerSize);
        }
        for (std::int64_t c = 0; c < corners; ++c) {
            DocCornerUV& uv = p->corners[static_cast<std::uint32_t>(c)].uv[l];
            if (!r.i32(uv.index) || !r.i32(uv.second)) {
                return false;
            }
        }
    }
    return true;
}

namespace {

// An early polygon: its UVs are inline. Corner c of layer l takes UV number
// running + c of UV set l, and the polygon's layer l keeps that number.
bool readEarlyPolygon(Reader& r, Pass pass, DocPolygon* p, std::int32_t group,
                      std::uint64_t& running) {
    std::int32_t n = 0;
    std::int32_t layers = 0;
    std::int32_t material = 0;
    std::uint32_t value = 0;
    if (!r.i32(n) || !r.i32(layers) || !r.i32(material) || !r.u32(value)) {
        return false;
    }
    const std::int64_t corners = n > 0 ? n : 0;
    const std::uint64_t entrySize = 4u * earlyUVEntryWords(r.version);
    const std::int64_t layerEntries = corners * (layers > 0 ? layers : 0);
    if (pass == Pass::Count) {
        r.corner_total += cornersOf(n);
        return r.skipElements(corners, kEarlyCornerSize) && r.skipElements(layerEntries, entrySize);
    }
    if (!r.fits(corners, kEarlyCornerSize) || !preparePolygonFor(r, *p, n)) {
        return false;
    }
    p->group = group;
    p->word2 = group;
    p->material = material;
    p->polygon_value2 = value;
    for (std::int64_t c = 0; c < corners; ++c) {
        if (!r.i32(p->corners[static_cast<std::uint32_t>(c)].vertex)) {
            return false;
        }
    }
    std::vector<DocUVSet>& sets = r.doc().uvsets;
    for (std::int32_t l = 0; l < layers; ++l) {
        const bool kept = l < kPolygonUVLayers && static_cast<std::size_t>(l) < sets.size();
        if (!kept) {
            // More layers than UV sets: the values are read past.
            if (!r.skipElements(corners * (layers - l), entrySize)) {
                return false;
            }
            break;
        }
        std::vector<DocUV>& uvs = sets[static_cast<std::size_t>(l)].uvs;
        for (std::int64_t c = 0; c < corners; ++c) {
            float u = 0.0f;
            float v = 0.0f;
            if (!r.f32(u) || !r.f32(v) || !r.skip(entrySize - 8)) {
                return false;
            }
            const std::uint64_t number = running + static_cast<std::uint64_t>(c);
            if (number < uvs.size()) {
                DocUV& uv = uvs[static_cast<std::size_t>(number)];
                uv.u = u;
                uv.v = v;
                p->corners[static_cast<std::uint32_t>(c)].uv[l].index =
                    static_cast<std::int32_t>(number);
            }
        }
    }
    running += cornersOf(n);
    return true;
}

} // namespace

bool readVertices(Reader& r, Pass pass) {
    std::int32_t count = 0;
    if (!beginSection(r, pass, kSectionVertices, "vertices", count)) {
        return false;
    }
    const bool normals = (r.flags & kFlagNormals) != 0;
    const bool colours = (r.flags & kFlagColours) != 0;
    std::vector<DocVertex>& pool = r.doc().vertices;
    for (std::int64_t i = 0; i < count; ++i) {
        r.setRecord("vertex", i);
        DocVertex* v = nullptr;
        if (pass == Pass::Fill) {
            if (static_cast<std::uint64_t>(i) >= pool.size()) {
                return r.fail("more records than were counted");
            }
            v = &pool[static_cast<std::size_t>(i)];
            r.releaseReadImage();
        }
        if (!readVertex(r, pass, v, normals, colours)) {
            return false;
        }
    }
    return true;
}

bool readFaceLinks(Reader& r, Pass pass) {
    std::int32_t count = 0;
    if (!beginSection(r, pass, kSectionFaceLinks, "face links", count)) {
        return false;
    }
    std::vector<DocFaceLink>& links = r.doc().face_links;
    if (pass == Pass::Fill && count > 0 && links.size() != static_cast<std::size_t>(count)) {
        return r.fail("more records than were counted");
    }
    return readFaceLinkList(r, count, pass == Pass::Fill ? &links : nullptr);
}

bool readUVSets(Reader& r, Pass pass) {
    std::int32_t count = 0;
    if (!beginSection(r, pass, kSectionUVSets, "uv sets", count)) {
        return false;
    }
    if (pass == Pass::Count) {
        r.doc().uv_section_position = r.doc().section_offsets[kSectionUVSets];
    }
    std::vector<DocUVSet>& sets = r.doc().uvsets;
    for (std::int64_t i = 0; i < count; ++i) {
        r.setRecord("uv set", i);
        DocUVSet* set = nullptr;
        if (pass == Pass::Fill) {
            if (static_cast<std::uint64_t>(i) >= sets.size()) {
                return r.fail("more records than were counted");
            }
            set = &sets[static_cast<std::size_t>(i)];
            r.releaseReadImage();
        }
        if (!readUVSet(r, pass, set)) {
            return false;
        }
    }
    return true;
}

bool readMeshes(Reader& r, Pass pass) {
    std::int32_t count = 0;
    if (!beginSection(r, pass, kSectionMeshes, "meshes", count)) {
        return false;
    }
    const bool late = lateRecords(r.version);
    std::vector<DocMesh>& meshes = r.doc().meshes;
    std::uint64_t running = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        r.setRecord("mesh", i);
        std::int32_t group = -1;
        std::int32_t polygons = 0;
        if ((!late && !r.i32(group)) || !r.i32(polygons)) {
            return false;
        }
        DocMesh* mesh = nullptr;
        if (pass == Pass::Fill) {
            if (static_cast<std::uint64_t>(i) >= meshes.size()) {
                return r.fail("more records than were counted");
            }
            mesh = &meshes[static_cast<std::size_t>(i)];
            if (polygons > 0) {
                if (!r.fits(polygons, late ? kLatePolygonHead : kEarlyPolygonHead)) {
                    return false;
                }
                if (!reservePolygons(*mesh, polygons)) {
                    return r.fail("cannot allocate polygons");
                }
            }
        }
        for (std::int64_t k = 0; k < polygons; ++k) {
            r.setPart("polygon", k);
            DocPolygon* p = nullptr;
            if (mesh != nullptr) {
                // Within the room reserved: the pointer stays valid.
                p = &mesh->polygons.emplace_back();
                r.releaseReadImage();
            }
            const bool ok =
                late ? readLatePolygon(r, pass, p) : readEarlyPolygon(r, pass, p, group, running);
            if (!ok) {
                return false;
            }
        }
    }
    return true;
}

} // namespace yfx
