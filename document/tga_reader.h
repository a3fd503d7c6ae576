// Reading TGA files: true-colour (image types 2 and 10: 15, 16, 24 and 32 bits
// per pixel) and grey (types 3 and 11: 8 bits), plain or run-length encoded,
// with the first row at the bottom or at the top, and right-to-left rows. A
// colour map that a true-colour file carries is skipped; colour-mapped images
// are refused. 32-bit pixels keep their fourth byte as alpha whatever the
// descriptor's alpha bits say (the writer beside this file leaves them 0);
// other depths are opaque.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "util/rgba_image.h"

namespace yfx {

struct TgaInfo {
    int width = 0;
    int height = 0;
    int imageType = 0;
    int bitsPerPixel = 0;
};

// Reads and checks the 18-byte header (and that the ID field and colour map
// it announces are present). False with `error` saying why when the bytes are
// no TGA this reader decodes.
bool readTgaHeader(const std::uint8_t* bytes, std::size_t size, TgaInfo& info, std::string& error);

// Decodes the whole image into `image` (rows top to bottom, RGBA). Every byte
// is checked against `size`; the pixel buffer is allocated only once the
// bytes present can hold that many pixels. False with `error` saying why (and
// `image` empty) when the header is refused, the data ends early or a
// run-length packet runs past the image's last pixel. Bytes after the pixel
// data (a TGA 2.0 footer) are ignored.
bool decodeTga(const std::uint8_t* bytes, std::size_t size, RgbaImage& image, std::string& error);

} // namespace yfx
