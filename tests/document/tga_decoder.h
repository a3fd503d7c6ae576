// A decoder of run-length encoded true-colour TGA files (image type 10, no
// colour map), written independently of the writer so that tests can read
// back what it wrote.
#pragma once

#include <cstddef>
#include <vector>

namespace tgatest {

using Bytes = std::vector<unsigned char>;

struct Decoded {
    unsigned width = 0;
    unsigned height = 0;
    unsigned depth = 0;
    Bytes pixels; // file order, B, G, R(, A)
    bool ok = false;
};

inline Decoded decodeTga(const Bytes& file) {
    Decoded d;
    if (file.size() < 18 || file[0] != 0 || file[1] != 0 || file[2] != 10) {
        return d;
    }
    for (int i = 3; i < 12; ++i) {
        if (file[static_cast<std::size_t>(i)] != 0) {
            return d;
        }
    }
    d.width = file[12] | (file[13] << 8);
    d.height = file[14] | (file[15] << 8);
    d.depth = file[16];
    if (file[17] != 0) {
        return d;
    }
    const std::size_t bpp = d.depth / 8;
    const std::size_t want = std::size_t(d.width) * d.height * bpp;
    std::size_t pos = 18;
    while (d.pixels.size() < want) {
        if (pos >= file.size()) {
            return d;
        }
        const unsigned h = file[pos++];
        const std::size_t count = (h & 0x7F) + 1;
        if (h & 0x80) {
            if (pos + bpp > file.size()) {
                return d;
            }
            for (std::size_t i = 0; i < count; ++i) {
                d.pixels.insert(d.pixels.end(), file.begin() + static_cast<long>(pos),
                                file.begin() + static_cast<long>(pos + bpp));
            }
            pos += bpp;
        } else {
            if (pos + count * bpp > file.size()) {
                return d;
            }
            d.pixels.insert(d.pixels.end(), file.begin() + static_cast<long>(pos),
                            file.begin() + static_cast<long>(pos + count * bpp));
            pos += count * bpp;
        }
    }
    d.ok = d.pixels.size() == want && pos == file.size();
    return d;
}

} // namespace tgatest
