// Turning the document's floats into the integers the host takes: frames,
// time steps, sample counts and colour bytes. Every conversion checks the
// range first, so that a hostile file cannot reach an undefined conversion.
#pragma once

#include <cstdint>

namespace yfx {
namespace importer {

// The value truncated toward zero when it is finite and the result fits in a
// signed 32-bit integer; `fallback` otherwise.
std::int32_t truncateOr(double value, std::int32_t fallback);

// A colour component 0..1 as a byte: value x 255 truncated toward zero,
// clamped to 0..255; NaN gives 0.
int colourByte(float value);

// The frame rate the importer works with: the file's value when it is finite
// and above 0, else 30.
float framesPerSecond(float fileValue);

// Host ticks (1/4800 s) per frame at that rate: ceil(4800 / fps), or the 30
// frames per second step (160) when the rate's step does not fit the host's
// time type.
std::int32_t timeStepFor(float fps);

// A host time clamped to the host's time range.
std::int32_t clampTime(long long ticks);

} // namespace importer
} // namespace yfx
