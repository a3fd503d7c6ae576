#include "tools/yfx/picture_args.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "render/scene_picture.h"

namespace yfx {

bool parseWholeNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    long number = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        number = number * 10 + (c - '0');
    }
    if (number < low || number > high) {
        return false;
    }
    value = number;
    return true;
}

bool parsePictureSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    long w = 0, h = 0;
    if (x == std::string::npos ||
        !parseWholeNumber(text.substr(0, x), 1, render::kMaxPictureSide, w) ||
        !parseWholeNumber(text.substr(x + 1), 1, render::kMaxPictureSide, h)) {
        return false;
    }
    width = int(w), height = int(h);
    return true;
}

bool parseFiniteNumber(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(number)) {
        return false;
    }
    value = number;
    return true;
}

} // namespace yfx
