// A small decoder of the two stream layouts, written for the tests on their
// own from the byte layout (not the project's reader). It notes where every
// section's count really sits so that tests can hold the header against it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yfx_test {

// A record after its name, as raw 32-bit words.
struct NamedWords {
    std::string name;
    std::vector<std::uint32_t> words;
};

float asFloat(std::uint32_t word);

struct ParsedMap {
    std::int32_t channel = 0;
    std::int32_t type = 0;
    std::uint32_t flags = 0;
    std::vector<std::uint32_t> head; // offset, scale, rotation (v31) or the two constants (v9)
    std::vector<std::string> names;  // image file names in file order
    std::vector<std::uint32_t> tail; // the 32-bit values of the tail in file order
};

struct ParsedMaterial {
    std::string name;
    std::vector<std::uint32_t> block; // 23 words
    std::vector<ParsedMap> maps;
};

struct ParsedVertex {
    std::vector<float> position, normal, colour;
    std::vector<std::pair<std::int32_t, float>> weights;
};

struct ParsedPolygon {
    std::int32_t corners = 0, layers = 0, group = 0, material = 0;
    std::uint32_t value2 = 0;
    std::vector<std::int32_t> vertices;
    std::vector<std::int32_t> seconds;   // v31: the -1 beside every vertex and UV number
    std::vector<std::int32_t> uvNumbers; // v31: layers x corners
    std::vector<float> uvs;              // v9: layers x corners x (u, v, 0)
};

struct ParsedUVSet {
    std::string name;
    std::vector<std::uint32_t> words; // 3 per UV
    std::int32_t links = 0;
};

struct ParsedTrack {
    std::vector<float> position, rotation, scale; // keys flattened with their times
};

struct ParsedAnimation {
    std::string name;
    std::int32_t word = 0;
    float start = 0, end = 0, fps = 0;
    std::vector<ParsedTrack> tracks;
};

struct ParsedGroupBlock {
    std::int32_t group = 0;
    std::vector<ParsedPolygon> polygons;
};

struct ParsedStream {
    std::string magic;
    std::uint32_t version = 0, flags = 0, size = 0;
    std::vector<std::int32_t> counts;         // header table counts
    std::vector<std::uint32_t> offsets;       // header table offsets
    std::vector<std::size_t> found;           // where each section's count really is
    std::vector<std::int32_t> countsFound;    // the count at that place
    std::vector<std::uint8_t> reservedHeader; // the reserved tail of the header
    std::vector<NamedWords> lights, cameras, groups, bones;
    std::vector<std::string> groupNames; // v9
    std::vector<ParsedMaterial> materials;
    std::vector<ParsedVertex> vertices;
    std::vector<ParsedUVSet> uvsets;
    std::vector<std::vector<ParsedPolygon>> meshes; // v31
    std::vector<ParsedGroupBlock> polygonGroups;    // v9
    std::vector<ParsedAnimation> animations;
    std::vector<std::string> info;
    std::size_t end = 0; // where the decoder stopped
};

// Decode a version 31 or a version 9 stream; throws when the bytes run out.
ParsedStream decodeV31(const std::vector<std::uint8_t>& bytes);
ParsedStream decodeV9(const std::vector<std::uint8_t>& bytes);

} // namespace yfx_test
