// The materials section: each material's name, its 92-byte block and its
// maps, in the early form (versions 6 to 30: a 20-byte map head) or the late
// form (31 to 33: a 48-byte map head with texture placement). Every texture
// path read is resolved as the version asks (format/reader_texture_paths.h).
#include <cstddef>
#include <new>
#include <string>
#include <unordered_set>

#include "document/doc_alloc.h"
#include "document/doc_materials.h"
#include "format/file_layout.h"
#include "format/reader_sections.h"
#include "format/reader_texture_paths.h"
#include "format/reader_version_map.h"

namespace yfx {

namespace {

// Layers a type 4 map gets when the file gives it none.
constexpr std::int32_t kDefaultLayerCount = 3;
// Smallest possible map entry, for the plausibility test of a map count.
constexpr std::uint64_t kSmallestEarlyMap = kMapHeadSizeV2;
constexpr std::uint64_t kSmallestLateMap = kMapHeadSize;
// A layer of a late type 4 map: path (at least its length), i32, value, f32.
constexpr std::uint64_t kSmallestLayer = 2 + 12;

// Reads one map of a material. In the counting pass `store` is false and the
// fields land in a scratch map; in the filling pass they land in `map`.
class MapReader {
public:
    MapReader(Reader& r, bool store) : r_(r), store_(store) {}

    bool path(NamePair& p) { return store_ ? r_.name(p) : r_.skipName(); }

    void resolve(NamePair* const* paths, std::size_t count) {
        if (store_) {
            resolveTexturePaths(r_.version, r_.projectFolder(), paths, count);
        }
    }

    bool imageTail(DocMap& m) {
        if (!path(m.path)) {
            return false;
        }
        NamePair* p = &m.path;
        resolve(&p, 1);
        switch (m.map_type) {
        case kMapTypeImage:
            return r_.i32(m.tail_int) && r_.f32(m.tail_float_a) && r_.f32(m.tail_float_b);
        case kMapTypeImageColour:
            return r_.i32(m.tail_int) && r_.f32(m.tail_float_a) && r_.f32(m.tail_float_b) &&
                   r_.f32(m.tail_float_c) && r_.f32(m.tail_float_d) && r_.u32(m.tail_colour) &&
                   r_.u32(m.tail_extra);
        case kMapTypeImageExtra:
            return r_.i32(m.tail_int) && r_.f32(m.tail_float_a) && r_.f32(m.tail_float_b) &&
                   r_.i32(m.tail_int_b);
        default: // types 6 and 7
            return r_.i32(m.tail_int);
        }
    }

    bool sixImages(DocMap& m) {
        NamePair* paths[kV2SixImageCount] = {&m.path};
        for (int k = 1; k < kV2SixImageCount; ++k) {
            paths[k] = &m.more_paths[static_cast<std::size_t>(k - 1)];
        }
        for (NamePair* p : paths) {
            if (!path(*p)) {
                return false;
            }
        }
        resolve(paths, kV2SixImageCount);
        return true;
    }

    bool setLayers(DocMap& m, std::int32_t count) {
        if (store_ && !allocateMapLayers(m, count)) {
            r_.fail("cannot allocate map layers");
            return false;
        }
        return true;
    }

    bool lateLayers(DocMap& m) {
        std::int32_t count = 0;
        if (!r_.i32(count)) {
            return false;
        }
        if (count < 1) {
            return setLayers(m, kDefaultLayerCount);
        }
        if (!r_.fits(count, kSmallestLayer) || !setLayers(m, store_ ? count : 0)) {
            return false;
        }
        DocMapLayer scratch;
        for (std::int32_t k = 0; k < count; ++k) {
            DocMapLayer& layer = store_ ? m.layers[static_cast<std::size_t>(k)] : scratch;
            if (!path(layer.path) || !r_.i32(layer.layer_int) || !r_.u32(layer.layer_value) ||
                !r_.f32(layer.layer_float)) {
                return false;
            }
            NamePair* p = &layer.path;
            resolve(&p, 1);
        }
        return true;
    }

    // Three layer paths, then their values grouped by field: the three
    // integers, the three 32-bit values, three zero words, the three floats.
    // The mask says which layers are present (1, 2, 4).
    bool earlyLayers(DocMap& m) {
        std::int32_t mask = 0;
        if (!r_.i32(mask)) {
            return false;
        }
        const std::int32_t present = (mask & 4) ? 3 : (mask & 2) ? 2 : (mask & 1) ? 1 : 0;
        if (!setLayers(m, present > 0 ? present : kDefaultLayerCount)) {
            return false;
        }
        DocMapLayer read[kV2MapLayerLimit];
        for (DocMapLayer& layer : read) {
            if (!path(layer.path)) {
                return false;
            }
        }
        for (DocMapLayer& layer : read) {
            if (!r_.i32(layer.layer_int)) {
                return false;
            }
        }
        for (DocMapLayer& layer : read) {
            if (!r_.u32(layer.layer_value)) {
                return false;
            }
        }
        if (!r_.skip(12)) {
            return false;
        }
        for (DocMapLayer& layer : read) {
            if (!r_.f32(layer.layer_float)) {
                return false;
            }
        }
        if (store_ && present > 0) {
            for (std::int32_t k = 0; k < present; ++k) {
                DocMapLayer& layer = m.layers[static_cast<std::size_t>(k)];
                layer = read[k];
                NamePair* p = &layer.path;
                resolve(&p, 1);
            }
        }
        return true;
    }

    // The part after the head. Types outside 1 to 7 have nothing more.
    bool lateTail(DocMap& m) {
        switch (m.map_type) {
        case kMapTypeLayered:
            return lateLayers(m);
        case kMapTypeSixImages:
            return sixImages(m);
        case kMapTypeImage:
        case kMapTypeImageColour:
        case kMapTypeImageExtra:
        case kMapTypeImageValue6:
        case kMapTypeImageValue7:
            return imageTail(m);
        default:
            return true;
        }
    }

    // As lateTail; image types carry a leading word, types 4 and 5 a mask.
    bool earlyTail(DocMap& m) {
        std::int32_t word = 0;
        switch (m.map_type) {
        case kMapTypeLayered:
            return earlyLayers(m);
        case kMapTypeSixImages:
            return r_.i32(word) && sixImages(m);
        case kMapTypeImage:
        case kMapTypeImageColour:
        case kMapTypeImageExtra:
        case kMapTypeImageValue6:
        case kMapTypeImageValue7:
            return r_.i32(word) && imageTail(m);
        default:
            return true;
        }
    }

    bool read(DocMaterial& material, std::int32_t slot, bool late) {
        std::int32_t channel = 0;
        std::int32_t type = 0;
        std::uint32_t flags = 0;
        std::int32_t constant = 0;
        float placement[9] = {0, 0, 0, 1, 1, 1, 0, 0, 0};
        if (!r_.i32(channel) || !r_.i32(type)) {
            return false;
        }
        if (late) {
            if (!r_.u32(flags) || !r_.f32s(placement, 9)) {
                return false;
            }
        } else if (!r_.i32(constant) || !r_.i32(constant) || !r_.u32(flags)) {
            return false;
        }
        DocMap scratch;
        DocMap* map = &scratch;
        if (store_) {
            if (!channelsTaken_.insert(channel).second) {
                r_.fail("channel " + std::to_string(channel) + " already has a map");
                return false;
            }
            map = createMapInSlot(material, slot, channel, type);
            if (map == nullptr) {
                r_.fail("cannot allocate a map");
                return false;
            }
        } else {
            scratch.map_type = type;
        }
        map->flags = flags;
        if (late) {
            for (int k = 0; k < 3; ++k) {
                map->texture_offset[k] = placement[k];
                map->texture_scale[k] = placement[3 + k];
                map->texture_rotation[k] = placement[6 + k];
            }
        }
        return late ? lateTail(*map) : earlyTail(*map);
    }

private:
    Reader& r_;
    bool store_;
    // The channels this material's maps have taken so far: one map per channel.
    std::unordered_set<std::int32_t> channelsTaken_;
};

bool readMaterial(Reader& r, Pass pass, DocMaterial& m) {
    const bool store = pass == Pass::Fill;
    const bool late = lateMaterials(r.version);
    std::int32_t maps = 0;
    const bool head = (store ? r.name(m.name) : r.skipName()) && r.i32(m.material_word) &&
                      r.f32s(m.diffuse, 4) && r.f32s(m.colour2, 4) && r.f32s(m.colour3, 4) &&
                      r.f32s(m.colour4, 4) && r.f32s(m.colour5, 4) && r.f32(m.shininess) &&
                      r.f32(m.opacity) && r.i32(maps);
    if (!head) {
        return false;
    }
    if (maps < 1) {
        return true;
    }
    if (!r.fits(maps, late ? kSmallestLateMap : kSmallestEarlyMap)) {
        return false;
    }
    if (store && !allocateMapSlots(m, maps)) {
        return r.fail("cannot allocate map slots");
    }
    MapReader reader(r, store);
    for (std::int32_t k = 0; k < maps; ++k) {
        r.setPart("map", k);
        if (!reader.read(m, k, late)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool readMaterials(Reader& r, Pass pass) {
    std::int32_t count = 0;
    if (!beginSection(r, pass, kSectionMaterials, "materials", count)) {
        return false;
    }
    std::vector<DocMaterial>& materials = r.doc().materials;
    DocMaterial scratch;
    for (std::int64_t i = 0; i < count; ++i) {
        r.setRecord("material", i);
        if (pass == Pass::Fill && static_cast<std::uint64_t>(i) >= materials.size()) {
            return r.fail("more records than were counted");
        }
        DocMaterial& m = pass == Pass::Fill ? materials[static_cast<std::size_t>(i)] : scratch;
        if (!readMaterial(r, pass, m)) {
            return false;
        }
    }
    return true;
}

} // namespace yfx
