// Helpers shared by the reader tests: loading bytes (every successful load
// held to the guarantees of a load), and reading a name pair back as text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "document/scene_doc.h"
#include "format/load_file.h"
#include "format/loaded_document_check.h"
#include "support/test_files.h"

namespace yfx_test {

// A status 1 load that breaks a guarantee fails the test (release builds do
// not check it themselves).
inline int expectLoadGuarantees(const yfx::SceneDoc& doc, int status) {
    if (status == 1) {
        const std::string broken = yfx::checkLoadedDocument(doc);
        if (!broken.empty()) {
            ADD_FAILURE() << "a successful load breaks a guarantee: " << broken;
        }
    }
    return status;
}

inline int load(yfx::SceneDoc& doc, const std::vector<std::uint8_t>& bytes,
                std::string* reason = nullptr, const std::wstring& project = L"C:\\proj\\scene.yfx",
                const yfx::LoadOptions& options = yfx::LoadOptions()) {
    return expectLoadGuarantees(
        doc, yfx::loadFromMemory(doc, bytes.data(), bytes.size(), project, reason, options));
}

inline std::wstring wide(const yfx::NamePair& name) {
    return name.wide;
}
inline std::string ansi(const yfx::NamePair& name) {
    return name.ansi;
}

// True when the document has no records at all.
inline bool isEmpty(const yfx::SceneDoc& doc) {
    return doc.lights.empty() && doc.cameras.empty() && doc.materials.empty() &&
           doc.groups.empty() && doc.vertices.empty() && doc.face_links.empty() &&
           doc.uvsets.empty() && doc.meshes.empty() && doc.bones.empty() && doc.animations.empty();
}

} // namespace yfx_test
