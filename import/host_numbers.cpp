#include "import/host_numbers.h"

#include <cmath>
#include <limits>

namespace yfx {
namespace importer {

namespace {

constexpr float kDefaultFramesPerSecond = 30.0f;
constexpr double kTicksPerSecond = 4800.0;

} // namespace

std::int32_t truncateOr(double value, std::int32_t fallback) {
    if (!std::isfinite(value)) {
        return fallback;
    }
    const double t = std::trunc(value);
    if (t < double(std::numeric_limits<std::int32_t>::min()) ||
        t > double(std::numeric_limits<std::int32_t>::max())) {
        return fallback;
    }
    return static_cast<std::int32_t>(t);
}

int colourByte(float value) {
    if (!(value > 0.0f)) {
        return 0; // also NaN
    }
    const double scaled = double(value) * 255.0;
    return scaled >= 255.0 ? 255 : static_cast<int>(scaled);
}

float framesPerSecond(float fileValue) {
    return std::isfinite(fileValue) && fileValue > 0.0f ? fileValue : kDefaultFramesPerSecond;
}

std::int32_t timeStepFor(float fps) {
    const std::int32_t fallback =
        static_cast<std::int32_t>(std::ceil(kTicksPerSecond / kDefaultFramesPerSecond));
    const std::int32_t step = truncateOr(std::ceil(kTicksPerSecond / double(fps)), fallback);
    return step > 0 ? step : fallback;
}

std::int32_t clampTime(long long ticks) {
    if (ticks > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (ticks < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(ticks);
}

} // namespace importer
} // namespace yfx
