// Loads arbitrary bytes as a project file. Any status is fine; a crash, a
// hang, a leak, a sanitizer report or a loaded document that breaks a load's
// guarantees is a bug.
#include <cstddef>
#include <cstdint>

#include "document/scene_doc.h"
#include "format/load_file.h"
#include "fuzz/loaded_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    yfx::SceneDoc doc;
    // Nothing is written: embedded files of a version 34 input stay in memory.
    const int status = yfx::loadFromMemory(doc, data, size, L"C:\\fuzz\\scene.yfx", nullptr,
                                           yfx::inspectionLoad());
    if (status != 1 && status != 0 && status != -5 && status != -6 && status != -7) {
        __builtin_trap(); // not a status loading from memory can give
    }
    if (status == 1) {
        yfx_fuzz::abortUnlessLoadedSound(doc);
    }
    return 0;
}
