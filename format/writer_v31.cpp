#include "format/writer_v31.h"

#include <cstdio>
#include <new>

#include "format/byte_writer.h"
#include "format/file_string.h"
#include "format/header_codec.h"
#include "format/writer_sections.h"

namespace yfx {
namespace {

void writeLights(ByteWriter& out, const SceneDoc& doc, std::size_t count) {
    for (std::size_t i = 0; i < count && out.ok(); ++i) {
        const DocLight& l = doc.lights[i];
        writeFileString(out, l.name.ansi);
        out.i32(l.tag);
        out.i32(l.kind);
        writeTransform(out, l.transform);
        out.f32(l.inner_angle);
        out.f32(l.spread_angle);
        // The two unused values are written as the constants the layout expects.
        out.f32(0.0f);
        out.f32(1.0f);
        out.f32(l.intensity);
        out.f32s(l.colour, 4);
        out.f32(l.range_a);
        out.f32(l.range_b);
    }
}

void writeCameras(ByteWriter& out, const SceneDoc& doc) {
    for (const DocCamera& c : doc.cameras) {
        writeFileString(out, c.name.ansi);
        out.i32(0);
        out.i32(c.camera_word);
        writeTransform(out, c.transform);
        out.f32s(c.parameters, 3);
        if (!out.ok()) {
            return;
        }
    }
}

void writeMapTail(ByteWriter& out, const DocMap& map) {
    switch (map.map_type) {
    case kMapTypeImage:
        writeImageFileName(out, map.path.ansi);
        out.i32(map.tail_int);
        out.f32(map.tail_float_a);
        out.f32(map.tail_float_b);
        break;
    case kMapTypeImageColour:
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
        writeImageFileName(out, map.path.ansi);
        out.i32(map.tail_int);
        out.f32(map.tail_float_a);
        out.f32(map.tail_float_b);
        out.i32(map.tail_int_b);
        break;
    case kMapTypeLayered:
        if (map.layers.size() > std::size_t(INT32_MAX)) {
            out.fail();
            return;
        }
        out.i32(static_cast<std::int32_t>(map.layers.size()));
        for (const DocMapLayer& layer : map.layers) {
            writeImageFileName(out, layer.path.ansi);
            out.i32(layer.layer_int);
            out.u32(layer.layer_value);
            out.f32(layer.layer_float);
        }
        break;
    case kMapTypeSixImages:
        writeImageFileName(out, map.path.ansi);
        for (const NamePair& path : map.more_paths) {
            writeImageFileName(out, path.ansi);
        }
        break;
    case kMapTypeImageValue6:
    case kMapTypeImageValue7:
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
            const DocMap& map = *slot;
            out.i32(map.channel);
            out.i32(map.map_type);
            out.u32(map.flags);
            out.f32s(map.texture_offset, 3);
            out.f32s(map.texture_scale, 3);
            out.f32s(map.texture_rotation, 3);
            writeMapTail(out, map);
        }
    }
}

// The placement the file gives every group instead of the group's own: the
// identity with a quaternion of four zeros.
DocTransform fixedGroupTransform() {
    DocTransform t;
    t.quaternion[0] = t.quaternion[1] = t.quaternion[2] = t.quaternion[3] = 0.0f;
    return t;
}

void writeGroups(ByteWriter& out, const SceneDoc& doc) {
    const DocTransform fixed = fixedGroupTransform();
    for (const DocGroup& g : doc.groups) {
        writeFileString(out, g.name.ansi);
        out.i32(0);
        out.i32(-1);
        writeTransform(out, fixed);
        if (!out.ok()) {
            return;
        }
    }
}

// Total number of polygon corners over all meshes, or -1 when it does not fit
// the file's 32-bit UV counts.
std::int64_t totalCorners(const SceneDoc& doc) {
    std::int64_t total = 0;
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& p : mesh.polygons) {
            total += p.corners.size();
        }
        if (total > INT32_MAX) {
            return -1;
        }
    }
    return total;
}

// Both UV sets, each with one UV per polygon corner in mesh, polygon and
// corner order. The UVs are looked up while writing, so nothing T-sized is
// held in memory.
void writeUVSets(ByteWriter& out, const SceneDoc& doc, const WriterOptions& options,
                 std::int32_t corners) {
    for (int k = 0; k < kFileUVSetCount && out.ok(); ++k) {
        char name[32];
        std::snprintf(name, sizeof name, kFileUVSetNameFormat, k);
        writeFileString(out, name);
        out.i32(corners);
        const bool enabled = uvSetEnabled(options, k);
        for (const DocMesh& mesh : doc.meshes) {
            for (const DocPolygon& p : mesh.polygons) {
                for (const DocCorner& c : p.corners) {
                    const DocUV uv = lookupCornerUV(mesh, c, k, enabled);
                    out.i32(0);
                    out.f32(uv.u);
                    out.f32(uv.v);
                }
            }
            if (!out.ok()) {
                return;
            }
        }
        out.i32(0); // no links
    }
}

void writeMeshes(ByteWriter& out, const SceneDoc& doc, bool materials) {
    std::int32_t uvNumber = 0; // corners of all polygons written so far
    for (const DocMesh& mesh : doc.meshes) {
        if (mesh.polygons.size() > std::size_t(INT32_MAX)) {
            out.fail();
            return;
        }
        out.i32(static_cast<std::int32_t>(mesh.polygons.size()));
        for (const DocPolygon& p : mesh.polygons) {
            const std::int32_t n = p.cornerCount();
            out.i32(n);
            out.i32(p.uv_layer_count);
            out.i32(p.group);
            out.i32(fileMaterialIndex(p, materials));
            out.u32(p.polygon_value2);
            for (const DocCorner& c : p.corners) {
                out.i32(c.vertex);
                out.i32(-1);
            }
            for (std::int32_t layer = 0; layer < p.uv_layer_count; ++layer) {
                for (std::int32_t c = 0; c < n; ++c) {
                    out.i32(uvNumber + c);
                    out.i32(-1);
                }
            }
            uvNumber += n;
        }
        if (!out.ok()) {
            return;
        }
    }
}

void writeBones(ByteWriter& out, const SceneDoc& doc, std::size_t count) {
    for (std::size_t i = 0; i < count && out.ok(); ++i) {
        const DocBone& b = doc.bones[i];
        writeFileString(out, b.name.ansi);
        out.i32(b.parent);
        DocTransform t;
        for (int j = 0; j < 3; ++j) {
            t.position[j] = b.position[j];
            t.scale[j] = b.scale[j];
        }
        for (int j = 0; j < 4; ++j) {
            t.quaternion[j] = b.rotation[j];
        }
        writeTransform(out, t);
        out.f32s(b.colour, 4);
    }
}

int writeStream(const SceneDoc& doc, const WriterOptions& options, ByteSink& sink,
                FileHeader& header) {
    ByteWriter out(sink);
    header.magic = kFileMagicWord;
    header.version = kVersionCurrent;
    if (optionOn(options.header_flag_option)) {
        header.flags |= kFlagColours;
    }
    std::uint8_t bytes[kHeaderSize];
    encodeHeader(header, bytes);
    out.bytes(bytes, kHeaderSize); // placeholder, rewritten at the end

    const bool joints = optionOn(options.export_joints);
    const bool materials = optionOn(options.export_materials);
    const std::size_t lightCount = countIf(optionOn(options.export_lights), doc.lights.size());
    const std::size_t materialCount = countIf(materials, doc.materials.size());
    const std::size_t boneCount = countIf(joints, doc.bones.size());
    const std::size_t animationCount =
        countIf(joints && optionOn(options.export_animation), doc.animations.size());
    const std::int64_t corners = totalCorners(doc);
    if (corners < 0) {
        return 0;
    }
    SectionEntry* s = header.sections;

    beginSection(out, s[kSectionLights], lightCount);
    writeLights(out, doc, lightCount);
    beginSection(out, s[kSectionCameras], doc.cameras.size());
    writeCameras(out, doc);
    beginSection(out, s[kSectionMaterials], materialCount);
    writeMaterials(out, doc, materialCount);
    beginSection(out, s[kSectionGroups], doc.groups.size());
    writeGroups(out, doc);
    beginSection(out, s[kSectionVertices], doc.vertices.size());
    writeVertexEntries(out, doc, header.flags, joints);
    beginSection(out, s[kSectionFaceLinks], 0);
    beginSection(out, s[kSectionUVSets], kFileUVSetCount);
    writeUVSets(out, doc, options, static_cast<std::int32_t>(corners));
    beginSection(out, s[kSectionMeshes], doc.meshes.size());
    writeMeshes(out, doc, materials);
    beginSection(out, s[kSectionBones], boneCount);
    writeBones(out, doc, boneCount);
    beginSection(out, s[kSectionAnimations], animationCount);
    writeAnimationEntries(out, doc, animationCount);
    beginSection(out, s[kSectionInfoStrings], kFileInfoStringCount);
    writeInfoStrings(out, options);

    return finishStream(out, header, bytes);
}

} // namespace

int writeDocument(const SceneDoc& doc, const WriterOptions& options, ByteSink& sink,
                  FileHeader& header) {
    return writeWithoutThrowing([&] { return writeStream(doc, options, sink, header); });
}

int writeDocument(const SceneDoc& doc, const WriterOptions& options, std::FILE* stream,
                  FileHeader& header) {
    if (stream == nullptr) {
        return 0;
    }
    FileSink sink(stream);
    return writeDocument(doc, options, sink, header);
}

} // namespace yfx
