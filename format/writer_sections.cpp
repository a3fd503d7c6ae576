#include "format/writer_sections.h"

#include <cstdint>

#include "format/file_string.h"
#include "platform/ansi_text.h"
#include "platform/name_pair.h"

namespace yfx {

void beginSection(ByteWriter& out, SectionEntry& entry, std::size_t count) {
    const std::uint64_t position = out.position();
    if (position > UINT32_MAX || count > std::size_t(INT32_MAX)) {
        out.fail();
        return;
    }
    entry.offset = static_cast<std::uint32_t>(position);
    entry.count = static_cast<std::int32_t>(count);
    out.i32(entry.count);
}

void writeTransform(ByteWriter& out, const DocTransform& t) {
    out.f32s(t.axes, 9);
    out.f32s(t.position, 3);
    out.f32s(t.scale, 3);
    out.f32s(t.matrix, 16);
    out.f32s(t.quaternion, 4);
    out.f32s(t.euler, 3);
}

void writeMaterialBlock(ByteWriter& out, const DocMaterial& m) {
    out.i32(m.material_word);
    out.f32s(m.diffuse, 4);
    out.f32s(m.colour2, 4);
    out.f32s(m.colour3, 4);
    out.f32s(m.colour4, 4);
    out.f32s(m.colour5, 4);
    out.f32(m.shininess);
    out.f32(m.opacity);
}

std::int32_t presentMapCount(const DocMaterial& material) {
    std::int32_t n = 0;
    for (const auto& map : material.maps) {
        if (map) {
            ++n;
        }
    }
    return n;
}

void writeVertexEntries(ByteWriter& out, const SceneDoc& doc, std::uint32_t flags, bool joints) {
    const bool normals = (flags & kFlagNormals) != 0;
    const bool colours = (flags & kFlagColours) != 0;
    for (const DocVertex& v : doc.vertices) {
        out.f32s(v.position, 3);
        if (normals) {
            out.f32s(v.normal, 3);
        }
        if (colours) {
            out.f32s(v.colour, 4);
        }
        if (!joints) {
            out.i32(0);
            continue;
        }
        out.i32(static_cast<std::int32_t>(v.weights.size()));
        for (const DocWeight& w : v.weights) {
            out.i32(w.bone);
            out.f32(w.weight);
        }
        if (!out.ok()) {
            return;
        }
    }
}

void writeAnimationEntries(ByteWriter& out, const SceneDoc& doc, std::size_t count) {
    for (std::size_t i = 0; i < count && out.ok(); ++i) {
        const DocAnimation& a = doc.animations[i];
        writeFileString(out, a.name.ansi);
        out.i32(a.animation_word);
        out.f32(a.start_frame);
        out.f32(a.end_frame);
        out.f32(a.frames_per_second);
        if (a.tracks.size() > std::size_t(INT32_MAX)) {
            out.fail();
            return;
        }
        out.i32(static_cast<std::int32_t>(a.tracks.size()));
        for (const DocTrack& t : a.tracks) {
            out.i32(static_cast<std::int32_t>(t.position_keys.size()));
            for (const DocPositionKey& k : t.position_keys) {
                out.f32(k.time);
                out.f32s(k.value, 3);
            }
            out.i32(static_cast<std::int32_t>(t.rotation_keys.size()));
            for (const DocRotationKey& k : t.rotation_keys) {
                out.f32(k.time);
                out.f32s(k.value, 4);
            }
            out.i32(static_cast<std::int32_t>(t.scale_keys.size()));
            for (const DocScaleKey& k : t.scale_keys) {
                out.f32(k.time);
                out.f32s(k.value, 3);
            }
        }
    }
}

void writeInfoStrings(ByteWriter& out, const WriterOptions& options) {
    const std::wstring* texts[kFileInfoStringCount] = {&options.creator_text, &options.version_text,
                                                       &options.time_text};
    for (const std::wstring* text : texts) {
        char ansi[kNameCapacity];
        wideToAnsi(text->c_str(), ansi, sizeof ansi);
        if (writeFileString(out, ansi) == 0) {
            out.fail();
            return;
        }
    }
}

} // namespace yfx
