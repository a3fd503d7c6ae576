#include "format/chunked_reader.h"

namespace yfx {

int parseChunkedImage(Reader& r) {
    r.setSection("header");
    return r.fail("version 34 is not supported yet");
}

} // namespace yfx
