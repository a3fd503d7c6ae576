// Pictures for the tool's commands: reading the image files that materials
// name (TGA through the product's decoder, which reads the plain and
// run-length files the exporter writes; PNG, JPEG, BMP and the other formats
// through Qt's image readers) and writing pictures as PNG.
#pragma once

#include "util/rgba_image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace yfx {

// Reads the image at `path` (UTF-8; "\" or "/" separate folders, as in the
// document's texture paths). A file whose name ends in ".tga" (any case) is
// decoded as TGA, any other by Qt from its content. False with `error` naming
// the file and saying why when it cannot be opened or decoded.
bool readTextureImage(const std::string& path, RgbaImage& image, std::string& error);

// The bytes of a PNG file of the picture. False with `error` set when the
// picture is empty or the encoder fails.
bool encodePng(const RgbaImage& image, std::vector<std::uint8_t>& bytes, std::string& error);

// Writes the picture as a PNG file at `path` (a command-line path, UTF-8),
// replacing a file there in one step only once the new one is complete
// (platform/replace_file.h), as the tool writes its other outputs. False with
// `error` naming the file and saying why.
bool writePngImage(const RgbaImage& image, const std::string& path, std::string& error);

} // namespace yfx
