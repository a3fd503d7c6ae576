#include "format/file_string.h"

#include <cstring>

#include "format/file_layout.h"
#include "platform/path.h"

namespace yfx {

std::size_t writeFileString(ByteWriter& out, const char* text) {
    if (text == nullptr || !out.ok()) {
        return 0;
    }
    std::size_t n = 0;
    while (n < kFileStringMaxText && text[n] != 0) {
        ++n;
    }
    out.u16(static_cast<std::uint16_t>(n + 1));
    out.bytes(text, n);
    out.u8(0);
    return out.ok() ? n + 1 + kFileStringLengthSize : 0;
}

std::string imageFileName(const char* path) {
    if (path == nullptr) {
        return std::string();
    }
    return fileNameOf(std::string(path, strnlen(path, kFileStringMaxText)));
}

std::size_t writeImageFileName(ByteWriter& out, const char* path) {
    return writeFileString(out, imageFileName(path).c_str());
}

} // namespace yfx
