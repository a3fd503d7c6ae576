#include "test_decoder.h"

#include <cstring>

#include "test_bytes.h"

namespace yfx_test {
namespace {

std::vector<std::uint32_t> words(Cursor& c, std::size_t n) {
    std::vector<std::uint32_t> v(n);
    for (auto& w : v) {
        w = c.u32();
    }
    return v;
}

std::vector<NamedWords> namedRecords(Cursor& c, std::int32_t count, std::size_t n) {
    std::vector<NamedWords> out;
    for (std::int32_t i = 0; i < count; ++i) {
        NamedWords r;
        r.name = c.str();
        r.words = words(c, n);
        out.push_back(r);
    }
    return out;
}

void header(Cursor& c, ParsedStream& s, std::size_t sections, std::size_t reserved) {
    const std::uint32_t magic = c.u32();
    for (int i = 0; i < 4; ++i) {
        s.magic += static_cast<char>((magic >> (8 * i)) & 0xFF);
    }
    s.version = c.u32();
    s.flags = c.u32();
    s.size = c.u32();
    for (std::size_t i = 0; i < sections; ++i) {
        s.counts.push_back(c.i32());
        s.offsets.push_back(c.u32());
    }
    for (std::size_t i = 0; i < reserved; ++i) {
        s.reservedHeader.push_back(c.u8());
    }
}

std::int32_t section(Cursor& c, ParsedStream& s) {
    s.found.push_back(c.at());
    const std::int32_t n = c.i32();
    s.countsFound.push_back(n);
    return n;
}

ParsedVertex vertex(Cursor& c, std::uint32_t flags) {
    ParsedVertex v;
    v.position = c.floats(3);
    if (flags & 1) {
        v.normal = c.floats(3);
    }
    if (flags & 2) {
        v.colour = c.floats(4);
    }
    const std::int32_t n = c.i32();
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t bone = c.i32();
        v.weights.push_back({bone, c.f32()});
    }
    return v;
}

void animations(Cursor& c, ParsedStream& s, std::int32_t n) {
    for (std::int32_t i = 0; i < n; ++i) {
        ParsedAnimation a;
        a.name = c.str();
        a.word = c.i32();
        a.start = c.f32();
        a.end = c.f32();
        a.fps = c.f32();
        const std::int32_t tracks = c.i32();
        for (std::int32_t t = 0; t < tracks; ++t) {
            ParsedTrack track;
            track.position = c.floats(std::size_t(c.i32()) * 4);
            track.rotation = c.floats(std::size_t(c.i32()) * 5);
            track.scale = c.floats(std::size_t(c.i32()) * 4);
            a.tracks.push_back(track);
        }
        s.animations.push_back(a);
    }
}

void info(Cursor& c, ParsedStream& s, std::int32_t n) {
    for (std::int32_t i = 0; i < n; ++i) {
        s.info.push_back(c.str());
    }
}

// A map's tail in the version 31 layout.
void tailV31(Cursor& c, ParsedMap& m) {
    switch (m.type) {
    case 1:
        m.names.push_back(c.str());
        m.tail = words(c, 3);
        break;
    case 2:
        m.names.push_back(c.str());
        m.tail = words(c, 7);
        break;
    case 3:
        m.names.push_back(c.str());
        m.tail = words(c, 4);
        break;
    case 4: {
        const std::int32_t layers = c.i32();
        m.tail.push_back(std::uint32_t(layers));
        for (std::int32_t i = 0; i < layers; ++i) {
            m.names.push_back(c.str());
            for (std::uint32_t w : words(c, 3)) {
                m.tail.push_back(w);
            }
        }
        break;
    }
    case 5:
        for (int i = 0; i < 6; ++i) {
            m.names.push_back(c.str());
        }
        break;
    case 6:
    case 7:
        m.names.push_back(c.str());
        m.tail = words(c, 1);
        break;
    default:
        break;
    }
}

void tailV9(Cursor& c, ParsedMap& m) {
    switch (m.type) {
    case 1:
    case 2:
    case 3:
    case 6:
    case 7: {
        m.tail.push_back(c.u32()); // the leading 1
        m.names.push_back(c.str());
        const std::size_t n = m.type == 1 ? 3 : m.type == 2 ? 7 : m.type == 3 ? 4 : 1;
        for (std::uint32_t w : words(c, n)) {
            m.tail.push_back(w);
        }
        break;
    }
    case 4:
        m.tail.push_back(c.u32()); // mask
        for (int i = 0; i < 3; ++i) {
            m.names.push_back(c.str());
        }
        for (std::uint32_t w : words(c, 12)) {
            m.tail.push_back(w);
        }
        break;
    case 5:
        m.tail.push_back(c.u32()); // mask
        for (int i = 0; i < 6; ++i) {
            m.names.push_back(c.str());
        }
        break;
    default:
        break;
    }
}

void materials(Cursor& c, ParsedStream& s, std::int32_t n, bool v9) {
    for (std::int32_t i = 0; i < n; ++i) {
        ParsedMaterial m;
        m.name = c.str();
        m.block = words(c, 23);
        const std::int32_t maps = c.i32();
        for (std::int32_t j = 0; j < maps; ++j) {
            ParsedMap map;
            map.channel = c.i32();
            map.type = c.i32();
            if (v9) {
                map.head = words(c, 2);
                map.flags = c.u32();
                tailV9(c, map);
            } else {
                map.flags = c.u32();
                map.head = words(c, 9);
                tailV31(c, map);
            }
            m.maps.push_back(map);
        }
        s.materials.push_back(m);
    }
}

} // namespace

float asFloat(std::uint32_t word) {
    float f;
    std::memcpy(&f, &word, 4);
    return f;
}

ParsedStream decodeV31(const std::vector<std::uint8_t>& bytes) {
    ParsedStream s;
    Cursor c(bytes);
    header(c, s, 11, 24);
    c.seek(128);
    s.lights = namedRecords(c, section(c, s), 51);
    s.cameras = namedRecords(c, section(c, s), 43);
    materials(c, s, section(c, s), false);
    s.groups = namedRecords(c, section(c, s), 40);
    for (std::int32_t i = 0, n = section(c, s); i < n; ++i) {
        s.vertices.push_back(vertex(c, s.flags));
    }
    for (std::int32_t i = 0, n = section(c, s); i < n; ++i) {
        words(c, 10);
    }
    for (std::int32_t i = 0, n = section(c, s); i < n; ++i) {
        ParsedUVSet set;
        set.name = c.str();
        set.words = words(c, std::size_t(c.i32()) * 3);
        set.links = c.i32();
        words(c, std::size_t(set.links) * 10);
        s.uvsets.push_back(set);
    }
    for (std::int32_t i = 0, n = section(c, s); i < n; ++i) {
        std::vector<ParsedPolygon> mesh;
        for (std::int32_t j = 0, np = c.i32(); j < np; ++j) {
            ParsedPolygon p;
            p.corners = c.i32();
            p.layers = c.i32();
            p.group = c.i32();
            p.material = c.i32();
            p.value2 = c.u32();
            for (std::int32_t k = 0; k < p.corners; ++k) {
                p.vertices.push_back(c.i32());
                p.seconds.push_back(c.i32());
            }
            for (std::int32_t k = 0; k < p.corners * p.layers; ++k) {
                p.uvNumbers.push_back(c.i32());
                p.seconds.push_back(c.i32());
            }
            mesh.push_back(p);
        }
        s.meshes.push_back(mesh);
    }
    s.bones = namedRecords(c, section(c, s), 43);
    animations(c, s, section(c, s));
    info(c, s, section(c, s));
    s.end = c.at();
    return s;
}

ParsedStream decodeV9(const std::vector<std::uint8_t>& bytes) {
    ParsedStream s;
    Cursor c(bytes);
    header(c, s, 9, 8);
    c.seek(96);
    s.lights = namedRecords(c, section(c, s), 51);
    s.cameras = namedRecords(c, section(c, s), 43);
    materials(c, s, section(c, s), true);
    for (std::int32_t i = 0, n = section(c, s); i < n; ++i) {
        s.groupNames.push_back(c.str());
    }
    for (std::int32_t i = 0, n = section(c, s); i < n; ++i) {
        s.vertices.push_back(vertex(c, s.flags));
    }
    for (std::int32_t i = 0, n = section(c, s); i < n; ++i) {
        ParsedGroupBlock block;
        block.group = c.i32();
        for (std::int32_t j = 0, np = c.i32(); j < np; ++j) {
            ParsedPolygon p;
            p.corners = c.i32();
            p.layers = c.i32();
            p.material = c.i32();
            p.value2 = c.u32();
            for (std::int32_t k = 0; k < p.corners; ++k) {
                p.vertices.push_back(c.i32());
            }
            p.uvs = c.floats(std::size_t(p.corners) * std::size_t(p.layers) * 3);
            block.polygons.push_back(p);
        }
        s.polygonGroups.push_back(block);
    }
    s.bones = namedRecords(c, section(c, s), 15);
    animations(c, s, section(c, s));
    info(c, s, section(c, s));
    s.end = c.at();
    return s;
}

} // namespace yfx_test
