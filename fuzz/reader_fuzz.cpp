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
    // The image is given back at every record (an inflated one for real; for
    // the lent input the cursor only stops seeking back), so that a reader
    // looking behind its cursor shows up here as well.
    yfx::LoadOptions options = yfx::inspectionLoad();
    options.image_release_step = 1;
    const int status =
        yfx::loadFromMemory(doc, data, size, L"C:\\fuzz\\scene.yfx", nullptr, options);
    if (status != 1 && status != 0 && status != -5 && status != -6 && status != -7) {
        __builtin_trap(); // not a status loading from memory can give
    }
    if (status == 1) {
        yfx_fuzz::abortUnlessLoadedSound(doc);
    }
    return 0;
}
