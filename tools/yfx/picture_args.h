// Option values of the picture commands.
#pragma once

#include <string>

namespace yfx {

// "WxH" with both sides whole numbers from 1 to the largest picture side.
bool parsePictureSize(const std::string& text, int& width, int& height);
// A whole number from `low` to `high`.
bool parseWholeNumber(const std::string& text, long low, long high, long& value);
// A finite decimal number (the whole text).
bool parseFiniteNumber(const std::string& text, double& value);

} // namespace yfx
