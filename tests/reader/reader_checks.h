// Helpers shared by the reader tests: loading bytes, and reading a name pair
// back as text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/scene_doc.h"
#include "format/load_file.h"

namespace yfx_test {

inline int load(yfx::SceneDoc& doc, const std::vector<std::uint8_t>& bytes,
                std::string* reason = nullptr,
                const std::wstring& project = L"C:\\proj\\scene.yfx") {
    return yfx::loadFromMemory(doc, bytes.data(), bytes.size(), project, reason);
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
