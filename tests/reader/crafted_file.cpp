#include "reader/crafted_file.h"

#include <zlib.h>

#include <algorithm>

namespace yfx_test {

namespace {

bool utf16Names(int version) {
    return version == 10 || version >= 32;
}

void identityTransform(Bytes& b, std::initializer_list<float> position,
                       std::initializer_list<float> scale = {1, 1, 1},
                       std::initializer_list<float> quaternion = {0, 0, 0, 1}) {
    b.floats({1, 0, 0, 0, 1, 0, 0, 0, 1});
    b.floats(position);
    b.floats(scale);
    b.floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    b.floats(quaternion);
    b.floats({0, 0, 0});
}

// One section per call: the caller notes its start; the writer gives the count.
struct Writer {
    Bytes b;
    int version;
    bool utf16;
    const CraftedScene& s;
    bool late() const { return version >= 30; }
    void name(const std::wstring& t) { b.name(t, utf16); }

    int lights() {
        if (!s.lights) {
            b.i32(0);
            return 0;
        }
        b.i32(1);
        name(s.light_name);
        if (late()) {
            b.i32(1600);
            b.i32(2);
            identityTransform(b, {1, 2, 3});
            b.floats({5, 25, 0, 1, 0.75f, 0.1f, 0.2f, 0.3f, 0.4f, 3, 9});
        } else {
            b.u32(2);
            b.floats({1, 2, 3, 0.1f, 0.2f, 0.3f, 0.4f});
        }
        return 1;
    }

    int cameras() {
        if (!s.cameras) {
            b.i32(0);
            return 0;
        }
        b.i32(1);
        name(L"Cam");
        if (late()) {
            b.i32(0);
            b.i32(7);
            identityTransform(b, {4, 5, 6});
        } else {
            b.i32(7);
            b.floats({1, 0, 0, 0, 1, 0, 0, 0, 1, 4, 5, 6});
        }
        b.floats({50, 2, 500});
        return 1;
    }

    void mapHead(std::int32_t channel, std::int32_t type, std::uint32_t flags) {
        b.i32(channel);
        b.i32(type);
        if (version >= 31) {
            b.u32(flags);
            b.floats({1, 2, 3, 2, 2, 2, 0, 0, 0});
        } else {
            b.i32(8448);
            b.i32(10497);
            b.u32(flags);
        }
    }

    int materials() {
        if (!s.materials) {
            b.i32(0);
            return 0;
        }
        const bool lateMaps = version >= 31;
        b.i32(1);
        name(L"Skin");
        b.i32(3);
        b.floats({0.5f, 0.6f, 0.7f, 1});
        for (int k = 0; k < 4; ++k) {
            b.floats({0, 0, 0, 1});
        }
        b.floats({64, 0.5f});
        b.i32(5);
        // Type 1 on the colour channel.
        mapHead(0, 1, 0x310001);
        if (!lateMaps) {
            b.i32(1);
        }
        name(s.colour_path);
        b.i32(7);
        b.floats({2.5f, 1.5f});
        // Type 4 with two layers on the opacity channel.
        mapHead(s.duplicate_channel ? 0 : 1, 4, 0x310001);
        if (lateMaps) {
            b.i32(s.opacity_layers);
            for (int k = 0; k < s.opacity_layers; ++k) {
                name(s.layer_paths[k == 0 ? 0 : 1]);
                b.i32(1 + k);
                b.u32(0x10u << k);
                b.f32(k == 0 ? 0.5f : 0.25f);
            }
        } else {
            b.i32(3);
            name(s.layer_paths[0]);
            name(s.layer_paths[1]);
            name(L"");
            b.i32(1), b.i32(2), b.i32(0);
            b.u32(0x10), b.u32(0x20), b.u32(0);
            b.zeros(12);
            b.floats({0.5f, 0.25f, 1.0f});
        }
        // Type 5 on the bump channel.
        mapHead(2, 5, 0x310001);
        if (!lateMaps) {
            b.i32(63);
        }
        for (int k = 0; k < 6; ++k) {
            name(s.six_prefix + L"p" + std::to_wstring(k) + L".png");
        }
        // An unknown type: the head only.
        mapHead(3, 9, 0x310000);
        // Type 2 on the translucency channel.
        mapHead(4, 2, 0x310001);
        if (!lateMaps) {
            b.i32(1);
        }
        name(L"c.png");
        b.i32(1);
        b.floats({2, 3, 4, 5});
        b.u32(0x112233);
        b.u32(9);
        return 1;
    }

    int groups() {
        if (!s.groups) {
            b.i32(0);
            return 0;
        }
        b.i32(2);
        for (const wchar_t* g : {L"Body", L"Head"}) {
            name(g);
            if (late()) {
                b.i32(0);
                b.i32(-1);
                identityTransform(b, {0, 0, 0});
            }
        }
        return 2;
    }

    int vertices() {
        b.i32(4);
        const float positions[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
        for (int v = 0; v < 4; ++v) {
            b.floats({positions[v][0], positions[v][1], positions[v][2]});
            if (s.flags & 1) {
                b.floats({0, 0, 1});
            }
            if (s.flags & 2) {
                b.floats({0.1f * float(v), 0.2f, 0.3f, 1});
            }
            if (!s.bones) {
                b.i32(0);
            } else if (v == 0) {
                b.i32(1), b.i32(0), b.f32(1.0f);
            } else if (v == 1) {
                b.i32(2), b.i32(0), b.f32(0.5f), b.i32(1), b.f32(0.5f);
            } else if (v == 2) {
                b.i32(0);
            } else {
                b.i32(1), b.i32(1), b.f32(1.0f);
            }
        }
        return 4;
    }

    int faceLinks() {
        b.i32(1);
        for (int k = 0; k < 10; ++k) {
            b.i32(100 + k);
        }
        return 1;
    }

    int uvSets() {
        b.i32(2);
        const int corners = (s.bad_polygons ? 12 : 7) * s.meshes;
        for (int set = 0; set < 2; ++set) {
            name(set == 0 ? L"Map1" : L"Map2");
            b.i32(corners);
            for (int j = 0; j < corners; ++j) {
                b.i32(0);
                b.f32(set == 0 ? 0.1f * float(j) : 0.3f * float(j));
                b.f32(set == 0 ? 0.2f * float(j) : 0.4f * float(j));
            }
            b.i32(0);
        }
        return 2;
    }

    void polygon(const std::vector<std::int32_t>& corners, std::int32_t group, int& running) {
        const std::int32_t n = static_cast<std::int32_t>(corners.size());
        b.i32(n);
        b.i32(s.uv_layers);
        if (late()) {
            b.i32(group);
        }
        b.i32(0); // material
        b.u32(5); // polygon value 2
        for (std::int32_t v : corners) {
            b.i32(v);
            if (late()) {
                b.i32(-1);
            }
        }
        for (int layer = 0; layer < s.uv_layers; ++layer) {
            for (int c = 0; c < n; ++c) {
                const int j = running + c;
                if (late()) {
                    b.i32(j);
                    b.i32(-1);
                } else {
                    b.f32(layer == 0 ? 0.1f * float(j) : 0.3f * float(j));
                    b.f32(layer == 0 ? 0.2f * float(j) : 0.4f * float(j));
                    if (version < 10) {
                        b.f32(0);
                    }
                }
            }
        }
        running += n;
    }

    int meshes() {
        b.i32(s.meshes);
        int running = 0;
        for (int m = 0; m < s.meshes; ++m) {
            if (!late()) {
                b.i32(m); // the polygon group's index
            }
            b.i32(s.bad_polygons ? 4 : 2);
            polygon({0, 1, 2, 3}, 0, running);
            if (s.bad_polygons) {
                polygon({0, 1, 99}, 0, running);
                polygon({0, 1}, 0, running);
            }
            polygon({0, 1, 2}, 1, running);
        }
        return s.meshes;
    }

    void bone(const std::wstring& n, std::int32_t parent, std::initializer_list<float> position,
              std::initializer_list<float> quaternion, std::initializer_list<float> scale,
              std::initializer_list<float> colour) {
        name(n);
        b.i32(parent);
        if (late()) {
            identityTransform(b, position, scale, quaternion);
        } else {
            b.floats(position);
            b.floats(quaternion);
            if (version >= 9) {
                b.floats(scale);
            }
        }
        b.floats(colour);
    }

    int bones() {
        if (!s.bones) {
            b.i32(0);
            return 0;
        }
        b.i32(2);
        bone(L"Root", -1, {0, 1, 0}, {0, 0, 0, 1}, {1, 2, 3}, {1, 0, 0, 1});
        bone(L"Tip", 0, {0, 0, 1}, {0, 0.6f, 0, 0.8f}, {1, 1, 1}, {0, 1, 0, 1});
        return 2;
    }

    void track(int t) {
        if (t == 0) {
            // Two position keys, one rotation key, no scale key.
            b.i32(2), b.floats({0, 0, 1, 0}), b.floats({1, 0, 2, 0});
            b.i32(1), b.floats({0, 0, 0, 0, 1});
            b.i32(0);
        } else {
            // No position key, two rotation keys, one scale key.
            b.i32(0);
            b.i32(2), b.floats({0, 0, 0, 0, 1}), b.floats({0.5f, 0, 0.6f, 0, 0.8f});
            b.i32(1), b.floats({0, 2, 2, 2});
        }
    }

    int animations() {
        if (!s.animations) {
            b.i32(0);
            return 0;
        }
        b.i32(s.animation_count);
        for (int a = 0; a < s.animation_count; ++a) {
            name(a == 0 ? L"Walk" : L"Run");
            b.i32(0);
            b.floats({0, 10, 24});
            b.i32(s.track_count);
            for (int t = 0; t < s.track_count; ++t) {
                track(t);
            }
        }
        return s.animation_count;
    }

    int info() {
        name(L"creator");
        name(L"v3.0");
        name(L"today");
        return 3;
    }
};

std::uint32_t headerBytes(std::uint32_t version) {
    return version >= 30 ? 128 : 96;
}

} // namespace

std::vector<std::uint8_t> craftFile(int version, const CraftedScene& scene) {
    Writer w{Bytes(), version, utf16Names(version), scene};
    const bool late = version >= 30;
    const std::uint32_t header = headerBytes(static_cast<std::uint32_t>(version));
    w.b.zeros(header);
    // Entries in the order of the header's table.
    std::vector<std::pair<std::int32_t, std::uint32_t>> entries;
    auto section = [&](int (Writer::*write)()) {
        const std::uint32_t at = static_cast<std::uint32_t>(w.b.size());
        const int count = (w.*write)();
        entries.push_back({count, at});
    };
    section(&Writer::lights);
    section(&Writer::cameras);
    section(&Writer::materials);
    section(&Writer::groups);
    section(&Writer::vertices);
    if (late) {
        section(&Writer::faceLinks);
        section(&Writer::uvSets);
    }
    section(&Writer::meshes);
    section(&Writer::bones);
    section(&Writer::animations);
    section(&Writer::info);
    Bytes& b = w.b;
    b.putU32(0, 0x48584659u);
    b.putU32(4, static_cast<std::uint32_t>(version));
    b.putU32(8, scene.flags);
    b.putU32(12, static_cast<std::uint32_t>(b.size()));
    for (std::size_t k = 0; k < entries.size(); ++k) {
        b.putU32(16 + 8 * k, static_cast<std::uint32_t>(entries[k].first));
        b.putU32(20 + 8 * k, entries[k].second);
    }
    return b.data;
}

std::vector<std::uint8_t> craftRaw(std::uint32_t version, std::uint32_t flags,
                                   const std::vector<std::uint8_t>& body, std::int64_t size) {
    Bytes b;
    b.zeros(headerBytes(version));
    b.data.insert(b.data.end(), body.begin(), body.end());
    b.putU32(0, 0x48584659u);
    b.putU32(4, version);
    b.putU32(8, flags);
    b.putU32(12,
             size >= 0 ? static_cast<std::uint32_t>(size) : static_cast<std::uint32_t>(b.size()));
    b.putU32(20, headerBytes(version));
    return b.data;
}

std::vector<std::uint8_t> craftContainer(const std::vector<std::uint8_t>& inner) {
    uLongf length = compressBound(static_cast<uLong>(inner.size()));
    std::vector<std::uint8_t> packed(length);
    compress(packed.data(), &length, inner.data(), static_cast<uLong>(inner.size()));
    packed.resize(length);
    // The outer header keeps the inner header's bytes 16 to 95 (zeros where
    // a short inner stream has none).
    Bytes b;
    b.data.assign(inner.begin(),
                  inner.begin() + static_cast<long>(std::min<std::size_t>(inner.size(), 96)));
    b.data.resize(96, 0);
    b.putU32(0, 0x48584659u);
    b.putU32(4, 8);
    b.putU32(8, 18);
    b.putU32(12, static_cast<std::uint32_t>(inner.size()));
    b.putU32(20, 96);
    b.data.insert(b.data.end(), packed.begin(), packed.end());
    return b.data;
}

} // namespace yfx_test
