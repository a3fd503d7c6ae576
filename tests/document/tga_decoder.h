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
    Bytes pixels;             // file order, B, G, R(, A)
    unsigned rows = 0;        // whole rows the packets gave before the data ended
    unsigned packets = 0;     // packets read
    bool well_formed = false; // the 18-byte header as the writer fills it, every
                              // packet complete, none running on into the next
                              // row, and the data ending at a row's end
    bool ok = false;          // well formed, with all `height` rows
};

inline Decoded decodeTga(const Bytes& file) {
    Decoded d;
    // ID length 0, no colour map, type 10, colour map fields and origin 0.
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
    if (file[17] != 0 || (d.depth != 24 && d.depth != 32)) {
        return d;
    }
    const std::size_t bpp = d.depth / 8;
    const std::size_t rowPixels = d.width;
    const std::size_t want = rowPixels * d.height;
    std::size_t pos = 18;
    std::size_t done = 0; // pixels decoded
    while (pos < file.size()) {
        const unsigned h = file[pos++];
        const std::size_t count = (h & 0x7F) + 1;
        const std::size_t bytes = (h & 0x80) ? bpp : count * bpp;
        if (pos + bytes > file.size() || done + count > want) {
            return d; // cut packet, or more pixels than the header gives
        }
        // A packet stays within its row.
        if (rowPixels == 0 || done / rowPixels != (done + count - 1) / rowPixels) {
            return d;
        }
        for (std::size_t i = 0; i < ((h & 0x80) ? count : 1); ++i) {
            d.pixels.insert(d.pixels.end(), file.begin() + static_cast<long>(pos),
                            file.begin() + static_cast<long>(pos + bytes));
        }
        pos += bytes;
        done += count;
        ++d.packets;
    }
    d.rows = rowPixels == 0 ? 0 : static_cast<unsigned>(done / rowPixels);
    d.well_formed = rowPixels == 0 ? done == 0 : done % rowPixels == 0;
    d.ok = d.well_formed && done == want;
    return d;
}

} // namespace tgatest
