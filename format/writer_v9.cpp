#include "format/writer_v9.h"

#include <new>
#include <stdexcept>
#include <vector>

#include "format/byte_writer.h"
#include "format/file_string.h"
#include "format/header_codec.h"
#include "format/writer_sections.h"

namespace yfx {
namespace {

// The bit a type 4 map's mask gives layer i, and a type 5 map's mask path i.
constexpr std::int32_t maskBit(int i) {
    return std::int32_t(1) << i;
}

void writeLayeredTail(ByteWriter& out, const DocMap& map) {
    const int present = map.layers.size() < std::size_t(kV2MapLayerLimit)
                            ? static_cast<int>(map.layers.size())
                            : kV2MapLayerLimit;
    std::int32_t mask = 0;
    for (int i = 0; i < present; ++i) {
        mask |= maskBit(i);
    }
    out.i32(mask);
    const DocMapLayer missing{NamePair{}, 0, 0, 1.0f};
    const DocMapLayer* layers[kV2MapLayerLimit];
    for (int i = 0; i < kV2MapLayerLimit; ++i) {
        layers[i] = i < present ? &map.layers[std::size_t(i)] : &missing;
    }
    for (const DocMapLayer* layer : layers) {
        writeImageFileName(out, layer->path.ansi);
    }
    for (const DocMapLayer* layer : layers) {
        out.i32(layer->layer_int);
    }
    for (const DocMapLayer* layer : layers) {
        out.u32(layer->layer_value);
    }
    for (int i = 0; i < kV2MapLayerLimit; ++i) {
        out.u32(0);
    }
    for (const DocMapLayer* layer : layers) {
        out.f32(layer->layer_float);
    }
}

void writeSixImageTail(ByteWriter& out, const DocMap& map) {
    const NamePair* paths[kV2SixImageCount] = {&map.path,          &map.more_paths[0],
                                               &map.more_paths[1], &map.more_paths[2],
                                               &map.more_paths[3], &map.more_paths[4]};
    std::int32_t mask = 0;
    for (int i = 0; i < kV2SixImageCount; ++i) {
        if (paths[i]->ansi[0] != 0) {
            mask |= maskBit(i);
        }
    }
    out.i32(mask);
    for (const NamePair* path : paths) {
        writeImageFileName(out, path->ansi);
    }
}

void writeMapTail(ByteWriter& out, const DocMap& map) {
    switch (map.map_type) {
    case kMapTypeImage:
        out.i32(1);
        writeImageFileName(out, map.path.ansi);
        out.i32(map.tail_int);
        out.f32(map.tail_float_a);
        out.f32(map.tail_float_b);
        break;
    case kMapTypeImageColour:
        out.i32(1);
        writeImageFileName(out, map.path.ansi);
        out.i32(map.tail_int);
        out.f32(map.tail_float_a);
        out.f32(map.tail_float_b);
        out.f32(map.tail_float_c);
        out.f32(map.tail_float_d);
        out.u32(map.tail_colour);
        out.u32(map.tail_extra);
        break;
    case kMapTypeImageExtra:
        out.i32(1);
        writeImageFileName(out, map.path.ansi);
        out.i32(map.tail_int);
        out.f32(map.tail_float_a);
        out.f32(map.tail_float_b);
        out.i32(map.tail_int_b);
        break;
    case kMapTypeLayered:
        writeLayeredTail(out, map);
        break;
    case kMapTypeSixImages:
        writeSixImageTail(out, map);
        break;
    case kMapTypeImageValue6:
    case kMapTypeImageValue7:
        out.i32(1);
        writeImageFileName(out, map.path.ansi);
        out.i32(map.tail_int);
        break;
    default: // other types carry the head only
        break;
    }
}

void writeMaterials(ByteWriter& out, const SceneDoc& doc, std::size_t count) {
    for (std::size_t i = 0; i < count && out.ok(); ++i) {
        const DocMaterial& m = doc.materials[i];
        writeFileString(out, m.name.ansi);
        writeMaterialBlock(out, m);
        out.i32(presentMapCount(m));
        for (const auto& slot : m.maps) {
            if (!slot) {
                continue;
            }
            out.i32(slot->channel);
            out.i32(slot->map_type);
            out.i32(kV2MapHeadConstantA);
            out.i32(kV2MapHeadConstantB);
            out.u32(slot->flags);
            writeMapTail(out, *slot);
        }
    }
}

void writeGroups(ByteWriter& out, const SceneDoc& doc) {
    for (const DocGroup& g : doc.groups) {
        if (writeFileString(out, g.name.ansi) == 0) {
            return;
        }
    }
}

// A polygon of some mesh.
struct PolygonRef {
    std::uint32_t mesh;
    std::uint32_t polygon;
};

// The polygons of every valid group, bucketed by group index: the polygons of
// group g are refs[start[g]] to refs[start[g + 1] - 1], in mesh order and in
// polygon order within a mesh. One counting pass and one filling pass.
struct GroupBuckets {
    std::vector<std::uint32_t> start;
    std::vector<PolygonRef> refs;
};

bool bucketPolygons(const SceneDoc& doc, GroupBuckets& buckets) {
    const std::size_t groups = doc.groups.size();
    buckets.start.assign(groups + 1, 0);
    std::uint64_t total = 0;
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& p : mesh.polygons) {
            if (p.group >= 0 && std::size_t(p.group) < groups) {
                ++buckets.start[std::size_t(p.group) + 1];
                ++total;
            }
        }
    }
    if (total > INT32_MAX || doc.meshes.size() > UINT32_MAX) {
        return false;
    }
    for (std::size_t g = 0; g < groups; ++g) {
        buckets.start[g + 1] += buckets.start[g];
    }
    buckets.refs.resize(std::size_t(total));
    std::vector<std::uint32_t> next(buckets.start.begin(), buckets.start.end() - 1);
    for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
        const std::vector<DocPolygon>& polygons = doc.meshes[m].polygons;
        for (std::size_t i = 0; i < polygons.size(); ++i) {
            const std::int32_t g = polygons[i].group;
            if (g >= 0 && std::size_t(g) < groups) {
                buckets.refs[next[std::size_t(g)]++] = {std::uint32_t(m), std::uint32_t(i)};
            }
        }
    }
    return true;
}

void writePolygon(ByteWriter& out, const DocMesh& mesh, const DocPolygon& p,
                  const WriterOptions& options, bool materials) {
    const std::int32_t n = p.cornerCount();
    out.i32(n);
    out.i32(p.uv_layer_count);
    out.i32(fileMaterialIndex(p, materials));
    out.u32(p.polygon_value2);
    for (const DocCorner& c : p.corners) {
        out.i32(c.vertex);
    }
    for (std::int32_t k = 0; k < p.uv_layer_count; ++k) {
        const bool enabled = uvSetEnabled(options, k);
        for (const DocCorner& c : p.corners) {
            const DocUV uv = lookupCornerUV(mesh, c, k, enabled);
            out.f32(uv.u);
            out.f32(uv.v);
            out.f32(0.0f);
        }
    }
}

void writePolygonGroups(ByteWriter& out, const SceneDoc& doc, const WriterOptions& options,
                        const GroupBuckets& buckets) {
    const bool materials = optionOn(options.export_materials);
    for (std::size_t g = 0; g < doc.groups.size() && out.ok(); ++g) {
        const std::uint32_t first = buckets.start[g];
        const std::uint32_t last = buckets.start[g + 1];
        out.i32(static_cast<std::int32_t>(g));
        out.i32(static_cast<std::int32_t>(last - first));
        for (std::uint32_t r = first; r < last; ++r) {
            const PolygonRef ref = buckets.refs[r];
            const DocMesh& mesh = doc.meshes[ref.mesh];
            writePolygon(out, mesh, mesh.polygons[ref.polygon], options, materials);
        }
    }
}

void writeBones(ByteWriter& out, const SceneDoc& doc, std::size_t count) {
    for (std::size_t i = 0; i < count && out.ok(); ++i) {
        const DocBone& b = doc.bones[i];
        writeFileString(out, b.name.ansi);
        out.i32(b.parent);
        out.f32s(b.position, 3);
        out.f32s(b.rotation, 4);
        out.f32s(b.scale, 3);
        out.f32s(b.colour, 4);
    }
}

int writeStream(const SceneDoc& doc, const WriterOptions& options, ByteSink& sink,
                FileHeaderV2& header) {
    ByteWriter out(sink);
    header.magic = kFileMagicWord;
    header.version = kVersionV2;
    if (optionOn(options.header_flag_option)) {
        header.flags |= kFlagColours;
    }
    std::uint8_t bytes[kHeaderSizeV2];
    encodeHeader(header, bytes);
    out.bytes(bytes, kHeaderSizeV2); // placeholder, rewritten at the end

    GroupBuckets buckets;
    if (doc.groups.size() >= std::size_t(INT32_MAX) || !bucketPolygons(doc, buckets)) {
        return 0;
    }
    const bool joints = optionOn(options.export_joints);
    const std::size_t materialCount =
        countIf(optionOn(options.export_materials), doc.materials.size());
    const std::size_t boneCount = countIf(joints, doc.bones.size());
    const std::size_t animationCount =
        countIf(joints && optionOn(options.export_animation), doc.animations.size());
    SectionEntry* s = header.sections;

    beginSection(out, s[kV2SectionLights], 0); // this layout never holds lights
    beginSection(out, s[kV2SectionCameras], 0);
    beginSection(out, s[kV2SectionMaterials], materialCount);
    writeMaterials(out, doc, materialCount);
    beginSection(out, s[kV2SectionGroups], doc.groups.size());
    writeGroups(out, doc);
    beginSection(out, s[kV2SectionVertices], doc.vertices.size());
    writeVertexEntries(out, doc, header.flags, joints);
    beginSection(out, s[kV2SectionPolygonGroups], doc.groups.size());
    writePolygonGroups(out, doc, options, buckets);
    beginSection(out, s[kV2SectionBones], boneCount);
    writeBones(out, doc, boneCount);
    beginSection(out, s[kV2SectionAnimations], animationCount);
    writeAnimationEntries(out, doc, animationCount);
    beginSection(out, s[kV2SectionInfoStrings], kFileInfoStringCount);
    writeInfoStrings(out, options);

    return finishStream(out, header, bytes);
}

} // namespace

int writeDocumentV2(const SceneDoc& doc, const WriterOptions& options, ByteSink& sink,
                    FileHeaderV2& header) {
    return writeWithoutThrowing([&] { return writeStream(doc, options, sink, header); });
}

int writeDocumentV2(const SceneDoc& doc, const WriterOptions& options, std::FILE* stream,
                    FileHeaderV2& header) {
    if (stream == nullptr) {
        return 0;
    }
    FileSink sink(stream);
    return writeDocumentV2(doc, options, sink, header);
}

} // namespace yfx
