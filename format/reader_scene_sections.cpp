// Section readers for lights, cameras, groups, bones and animations, in
// their early (versions 6 to 29) and late (30 to 33) forms.
#include <cstddef>
#include <new>

#include "document/doc_alloc.h"
#include "format/file_layout.h"
#include "format/reader_sections.h"
#include "format/reader_version_map.h"

namespace yfx {

namespace {

// Bytes after the name of the early forms: kind, position, colour (lights);
// word, three axes, position, three parameters (cameras).
constexpr std::uint64_t kEarlyLightSize = 4 + 12 + 16;
constexpr std::uint64_t kEarlyCameraSize = 4 + 36 + 12 + 12;
// Early bones: parent, position, quaternion, [scale], colour.
constexpr std::uint64_t kEarlyBoneSizeNoScale = 4 + 12 + 16 + 16;
constexpr std::uint64_t kEarlyBoneScaleSize = 12;
// Keys: time and three or four values.
constexpr std::uint64_t kVectorKeySize = 16;
constexpr std::uint64_t kRotationKeySize = 20;

template <typename T> T* recordAt(Reader& r, std::vector<T>& array, std::int64_t i) {
    if (i < 0 || static_cast<std::uint64_t>(i) >= array.size()) {
        r.fail("more records than were counted");
        return nullptr;
    }
    return &array[static_cast<std::size_t>(i)];
}

bool readTransform(Reader& r, DocTransform& t) {
    return r.f32s(t.axes, 9) && r.f32s(t.position, 3) && r.f32s(t.scale, 3) &&
           r.f32s(t.matrix, 16) && r.f32s(t.quaternion, 4) && r.f32s(t.euler, 3);
}

bool readLateLight(Reader& r, DocLight& l) {
    return r.name(l.name) && r.i32(l.tag) && r.i32(l.kind) && readTransform(r, l.transform) &&
           r.f32(l.inner_angle) && r.f32(l.spread_angle) && r.f32(l.value_a) && r.f32(l.value_b) &&
           r.f32(l.intensity) && r.f32s(l.colour, 4) && r.f32(l.range_a) && r.f32(l.range_b);
}

bool readEarlyLight(Reader& r, DocLight& l) {
    std::uint32_t kind = 0;
    if (!r.name(l.name) || !r.u32(kind)) {
        return false;
    }
    l.kind = static_cast<std::int32_t>(kind);
    return r.f32s(l.transform.position, 3) && r.f32s(l.colour, 4);
}

bool readLateCamera(Reader& r, DocCamera& c) {
    return r.name(c.name) && r.i32(c.reserved) && r.i32(c.camera_word) &&
           readTransform(r, c.transform) && r.f32s(c.parameters, 3);
}

bool readEarlyCamera(Reader& r, DocCamera& c) {
    return r.name(c.name) && r.i32(c.camera_word) && r.f32s(c.transform.axes, 9) &&
           r.f32s(c.transform.position, 3) && r.f32s(c.parameters, 3);
}

bool readLateGroup(Reader& r, DocGroup& g) {
    return r.name(g.name) && r.i32(g.group_word) && r.i32(g.parent) &&
           readTransform(r, g.transform);
}

bool readLateBone(Reader& r, DocBone& b) {
    DocTransform t;
    if (!r.name(b.name) || !r.i32(b.parent) || !readTransform(r, t) || !r.f32s(b.colour, 4)) {
        return false;
    }
    for (int k = 0; k < 3; ++k) {
        b.position[k] = t.position[k];
        b.scale[k] = t.scale[k];
    }
    for (int k = 0; k < 4; ++k) {
        b.rotation[k] = t.quaternion[k];
    }
    return true;
}

bool readEarlyBone(Reader& r, DocBone& b) {
    if (!r.name(b.name) || !r.i32(b.parent) || !r.f32s(b.position, 3) || !r.f32s(b.rotation, 4)) {
        return false;
    }
    if (earlyBoneHasScale(r.version)) {
        if (!r.f32s(b.scale, 3)) {
            return false;
        }
    } else {
        b.scale[0] = b.scale[1] = b.scale[2] = 1.0f;
    }
    return r.f32s(b.colour, 4);
}

// A key list: its count, then the keys. Stored only when `keys` is given.
template <typename Key, std::uint32_t Values> bool readKeys(Reader& r, std::vector<Key>* keys) {
    std::int32_t count = 0;
    if (!r.i32(count)) {
        return false;
    }
    constexpr std::uint64_t keySize = 4 * (1 + Values);
    if (keys == nullptr || count < 1) {
        return r.skipElements(count, keySize);
    }
    if (!r.fits(count, keySize)) {
        return false;
    }
    try {
        keys->assign(static_cast<std::size_t>(count), Key{});
    } catch (const std::bad_alloc&) {
        r.fail("cannot allocate keys");
        return false;
    }
    for (Key& key : *keys) {
        if (!r.f32(key.time) || !r.f32s(key.value, Values)) {
            return false;
        }
    }
    return true;
}

bool readTrack(Reader& r, DocTrack* track) {
    return readKeys<DocPositionKey, 3>(r, track ? &track->position_keys : nullptr) &&
           readKeys<DocRotationKey, 4>(r, track ? &track->rotation_keys : nullptr) &&
           readKeys<DocScaleKey, 3>(r, track ? &track->scale_keys : nullptr);
}

bool skipTrack(Reader& r) {
    std::int32_t count = 0;
    return r.i32(count) && r.skipElements(count, kVectorKeySize) && r.i32(count) &&
           r.skipElements(count, kRotationKeySize) && r.i32(count) &&
           r.skipElements(count, kVectorKeySize);
}

bool readAnimation(Reader& r, DocAnimation* a) {
    DocAnimation scratch;
    DocAnimation& anim = a != nullptr ? *a : scratch;
    std::int32_t tracks = 0;
    const bool header = (a != nullptr ? r.name(anim.name) : r.skipName()) &&
                        r.i32(anim.animation_word) && r.f32(anim.start_frame) &&
                        r.f32(anim.end_frame) && r.f32(anim.frames_per_second) && r.i32(tracks);
    if (!header) {
        return false;
    }
    // The tracks fill the array sized by the bone count; tracks beyond it (or
    // in a file without bones) are read past without being stored.
    // The array is sized here, when the file's track count is known, rather
    // than to one track per bone up front: the result is the same, and an
    // animation never holds more tracks than its file gives, so many
    // animations over many bones cannot multiply into a giant allocation.
    std::size_t stored = 0;
    if (a != nullptr) {
        const std::size_t bones = r.doc().bones.size();
        stored = tracks > 0 && static_cast<std::size_t>(tracks) < bones
                     ? static_cast<std::size_t>(tracks)
                     : (tracks > 0 ? bones : 0);
        try {
            anim.tracks.assign(stored, DocTrack{});
        } catch (const std::bad_alloc&) {
            return r.fail("cannot allocate tracks");
        }
    }
    for (std::int64_t t = 0; t < tracks; ++t) {
        r.setPart("track", t);
        const bool ok = static_cast<std::uint64_t>(t) < stored
                            ? readTrack(r, &anim.tracks[static_cast<std::size_t>(t)])
                            : skipTrack(r);
        if (!ok) {
            return false;
        }
    }
    return true;
}

// The common loop of a section whose records are read by `fill` and, in
// the counting pass, stepped over by `skip`.
template <typename T, typename Fill, typename Skip>
bool readRecords(Reader& r, Pass pass, DocSection kind, const char* section, const char* label,
                 std::vector<T>& array, Fill fill, Skip skip) {
    std::int32_t count = 0;
    if (!beginSection(r, pass, kind, section, count)) {
        return false;
    }
    for (std::int64_t i = 0; i < count; ++i) {
        r.setRecord(label, i);
        if (pass == Pass::Count) {
            if (!skip()) {
                return false;
            }
            continue;
        }
        T* record = recordAt(r, array, i);
        if (record == nullptr || !fill(*record)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool readLights(Reader& r, Pass pass) {
    const bool late = lateRecords(r.version);
    return readRecords(
        r, pass, kSectionLights, "lights", "light", r.doc().lights,
        [&](DocLight& l) { return late ? readLateLight(r, l) : readEarlyLight(r, l); },
        [&] { return r.skipName() && r.skip(late ? kLightEntrySize : kEarlyLightSize); });
}

bool readCameras(Reader& r, Pass pass) {
    const bool late = lateRecords(r.version);
    return readRecords(
        r, pass, kSectionCameras, "cameras", "camera", r.doc().cameras,
        [&](DocCamera& c) { return late ? readLateCamera(r, c) : readEarlyCamera(r, c); },
        [&] { return r.skipName() && r.skip(late ? kCameraEntrySize : kEarlyCameraSize); });
}

bool readGroups(Reader& r, Pass pass) {
    const bool late = lateRecords(r.version);
    return readRecords(
        r, pass, kSectionGroups, "groups", "group", r.doc().groups,
        [&](DocGroup& g) { return late ? readLateGroup(r, g) : r.name(g.name); },
        [&] { return r.skipName() && r.skip(late ? kGroupEntrySize : 0); });
}

bool readBones(Reader& r, Pass pass) {
    const bool late = lateRecords(r.version);
    const std::uint64_t earlySize =
        kEarlyBoneSizeNoScale + (earlyBoneHasScale(r.version) ? kEarlyBoneScaleSize : 0);
    return readRecords(
        r, pass, kSectionBones, "bones", "bone", r.doc().bones,
        [&](DocBone& b) { return late ? readLateBone(r, b) : readEarlyBone(r, b); },
        [&] { return r.skipName() && r.skip(late ? kBoneEntrySize : earlySize); });
}

bool readAnimations(Reader& r, Pass pass) {
    return readRecords(
        r, pass, kSectionAnimations, "animations", "animation", r.doc().animations,
        [&](DocAnimation& a) { return readAnimation(r, &a); },
        [&] { return readAnimation(r, nullptr); });
}

} // namespace yfx
