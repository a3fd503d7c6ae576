// One compressed level of the image the reader holds: the body from an
// offset to the end is inflated and replaces the image. The level's own
// header is checked as soon as its first bytes have inflated, so that a body
// which is no project image stops there instead of after inflating in full,
// and the bytes inflated count against what the whole load may inflate.
#pragma once

#include <cstdint>

#include "format/reader.h"

namespace yfx {

// What a level must hold: the sectioned container holds an image of any
// version (it is judged after inflation); a compressed chunked image holds
// another chunked image.
enum class InflatedImage { AnyVersion, ChunkedOnly };

// Inflates the body that starts at `bodyOffset` into a buffer of at most
// `declaredSize` bytes and installs it as the image, cursor at 0. Returns 1,
// or a load status with the reason set:
//    0  the body lies beyond the image, is damaged, inflates beyond its
//       declared size or beyond what the load may still inflate
//   -5  the inflated image does not begin with "YFXH"
//   -6  (ChunkedOnly) its version is not 34
//   -7  it inflates beyond the size its own header gives (an image that is
//       not compressed again must be exactly that long)
// The first bytes are judged as the reader judges them once inflated, so a
// stream that is intact gives the status it would give in full.
int inflateLevel(Reader& r, std::uint32_t bodyOffset, std::uint32_t declaredSize,
                 InflatedImage expected);

} // namespace yfx
