// Run-length encoded true-colour TGA files (image type 10).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "util/rgb_image.h"

namespace yfx {

// Appends the packets of one row of n pixels of bytesPerPixel bytes each (the
// pixel bytes copied as they are): a header byte below 128 introduces that
// many plus one raw pixels, from 128 one pixel repeated (header - 127) times;
// at most 128 pixels per packet. Nothing is appended for n = 0.
void encodeTgaRow(const unsigned char* pixels, std::size_t n, std::size_t bytesPerPixel,
                  std::vector<unsigned char>& out);

// Writes the image (24 or 32 bits per pixel, rows in memory order, R, G, B
// swapped to B, G, R) as a TGA file to the open stream. Rows that do not lie
// wholly inside the image's bytes end the pixel data. Returns 1 on success; 0
// when the stream or image is absent, the image cannot be stored (another
// depth, a side above 65535) or a write fails.
int writeTga(std::FILE* stream, const RgbImage* image);

// Writes a width x height 24-bit image of one colour as a TGA file to the open
// stream, the same bytes writeTga gives for such an image, without holding
// the image: one row is encoded once and written height times. Returns 1 on
// success; 0 when the stream is absent, a side is above 65535, the row cannot
// be allocated or a write fails.
int writeSolidTga(std::FILE* stream, std::uint32_t width, std::uint32_t height, unsigned char red,
                  unsigned char green, unsigned char blue);

} // namespace yfx
