// What both fuzz targets require of a successful load: the document keeps
// every guarantee a load gives. A broken guarantee is a crash, with the
// checker's message.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/scene_doc.h"
#include "format/loaded_document_check.h"

namespace yfx_fuzz {

inline void abortUnlessLoadedSound(const yfx::SceneDoc& doc) {
    const std::string violation = yfx::checkLoadedDocument(doc);
    if (!violation.empty()) {
        std::fprintf(stderr, "loaded document breaks a guarantee: %s\n", violation.c_str());
        std::abort();
    }
}

} // namespace yfx_fuzz
