// A test-side builder of project files of any sectioned version, byte by
// byte, and a small scene description it writes in the layout of each
// version (early or late records and materials, 8-bit or UTF-16 names, two-
// or three-word UV entries, bones with or without scale).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace yfx_test {

class Bytes {
public:
    std::vector<std::uint8_t> data;

    std::size_t size() const { return data.size(); }
    void u8(std::uint8_t v) { data.push_back(v); }
    void u16(std::uint16_t v) {
        u8(std::uint8_t(v));
        u8(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v) {
        for (int k = 0; k < 4; ++k) {
            u8(std::uint8_t(v >> (8 * k)));
        }
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void floats(std::initializer_list<float> values) {
        for (float v : values) {
            f32(v);
        }
    }
    void zeros(std::size_t n) { data.insert(data.end(), n, 0); }
    // A name: u16 byte length with the terminating zero, then the text as
    // Windows-1252 bytes or as UTF-16LE code units.
    void name(const std::wstring& text, bool utf16) {
        if (utf16) {
            u16(static_cast<std::uint16_t>(2 * (text.size() + 1)));
            for (wchar_t c : text) {
                u16(static_cast<std::uint16_t>(c));
            }
            u16(0);
        } else {
            u16(static_cast<std::uint16_t>(text.size() + 1));
            for (wchar_t c : text) {
                u8(static_cast<std::uint8_t>(c)); // tests use Latin-1 text only
            }
            u8(0);
        }
    }
    void putU32(std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) {
            data[at + k] = std::uint8_t(v >> (8 * k));
        }
    }
};

// The scene every crafted file holds.
struct CraftedScene {
    bool lights = true;
    bool cameras = true;
    bool materials = true;
    bool bones = true;
    bool animations = true;
    int meshes = 1;
    std::wstring light_name = L"Lamp\u00e4";
    std::wstring colour_path = L"C:\\tex\\skin.png"; // path of the colour map
    // Paths of the first two layers of the type 4 map, and what the six
    // paths "p0.png" to "p5.png" of the type 5 map are prefixed with.
    std::wstring layer_paths[2] = {L"a.png", L"dir\\b.png"};
    std::wstring six_prefix;
    std::uint32_t flags = 2; // vertex colours
    bool groups = true;
    int animation_count = 1;        // the second and later are named "Run"
    int track_count = 2;            // tracks per animation (the scene has two bones)
    int uv_layers = 2;              // layers every polygon gives
    int opacity_layers = 2;         // layers of the type 4 map (late form: its count)
    bool duplicate_channel = false; // the type 4 map on the colour channel too
    bool bad_polygons = false;      // adds (0, 1, 99) and a polygon of two corners
};

// Header slot order of the sections in a late (32-word) header.
enum CraftedSection {
    kCraftLights,
    kCraftCameras,
    kCraftMaterials,
    kCraftGroups,
    kCraftVertices,
    kCraftFaceLinks,
    kCraftUVSets,
    kCraftMeshes,
    kCraftBones,
    kCraftAnimations,
    kCraftInfo
};

// The whole file in the layout of `version` (6 to 33), uncompressed.
std::vector<std::uint8_t> craftFile(int version, const CraftedScene& scene = CraftedScene());
// A header of the version's length with the given fields, then `body`; the
// size field is the total length unless `size` is given.
std::vector<std::uint8_t> craftRaw(std::uint32_t version, std::uint32_t flags,
                                   const std::vector<std::uint8_t>& body, std::int64_t size = -1);
// Wraps a stream (of any length) into the compressed container (outer
// version 8, 24 words).
std::vector<std::uint8_t> craftContainer(const std::vector<std::uint8_t>& inner);

} // namespace yfx_test
