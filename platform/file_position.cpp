#include "platform/file_position.h"

#if !defined(_WIN32)
#include <sys/types.h>
#endif

namespace yfx {

std::int64_t tellFile(std::FILE* stream) {
#if defined(_WIN32)
    return _ftelli64(stream);
#else
    return static_cast<std::int64_t>(ftello(stream));
#endif
}

bool seekFile(std::FILE* stream, std::int64_t position, int whence) {
#if defined(_WIN32)
    return _fseeki64(stream, position, whence) == 0;
#else
    return fseeko(stream, static_cast<off_t>(position), whence) == 0;
#endif
}

std::int64_t fileLength(std::FILE* stream) {
    if (!seekFile(stream, 0, SEEK_END)) {
        return -1;
    }
    const std::int64_t length = tellFile(stream);
    return length >= 0 && seekFile(stream, 0, SEEK_SET) ? length : -1;
}

} // namespace yfx
