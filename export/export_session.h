// What the write step and the gathering share during one export: the option
// fields of the exporter, the document being filled and the node counter.
// The exporter filter (plugin/) owns the fields; it hands them to the driver
// in this record so that the host-facing export code does not depend on the
// plug-in's classes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/scene_doc.h"

class DzProgress;

namespace yfx {
namespace exporter {

// The thirteen options in the order of their settings keys, then the log
// switch. An option is on when it holds exactly 1.
struct ExportOptions {
    std::int32_t export_lights = 0;
    std::int32_t export_materials = 0;
    std::int32_t export_uvs = 0;
    std::int32_t export_uvsets = 0;
    std::int32_t export_joints = 0;
    std::int32_t export_animation = 0;
    std::int32_t export_visible = 0;
    std::int32_t export_zeropose = 0;
    std::int32_t merge_materials = 0;
    std::int32_t collapse_uvs = 0;
    std::int32_t export_high_resmesh = 0;
    std::int32_t export_textures = 0;
    std::int32_t export_as_v2x = 0;
    std::int32_t logging_enabled = 1; // while 1 the export writes its log file
};

inline bool isOn(std::int32_t option) {
    return option == 1;
}

// The exporter's texts in the log header and the file's info strings.
constexpr const wchar_t* kExportCreatorText = L"Marrowmap Pro Filter for Daz Studio 4.x";
constexpr const wchar_t* kExportVersionText = L"v3.0";

// A mesh gathered without any skin weight because its skin binding's weight
// maps have another length than its vertices (normally: maps made for the
// base mesh, vertices of the high-resolution one).
struct MeshWithoutWeights {
    std::wstring name;
    bool high_resolution = false; // its vertices are not the base mesh's
};

struct ExportSession {
    ExportOptions options;
    SceneDoc& document;             // the exporter's document, empty between writes
    std::int32_t node_counter = 0;  // the host node being visited while gathering
    std::wstring document_path;     // the target, "/" turned into "\", at most 259 characters
    DzProgress* progress = nullptr; // the write step's progress, when it has one
    std::wstring creator_text = kExportCreatorText;
    std::wstring version_text = kExportVersionText;
    std::wstring time_text; // the export's time stamp, set when the write step starts
    std::vector<MeshWithoutWeights> meshes_without_weights; // found while gathering

    explicit ExportSession(SceneDoc& doc) : document(doc) {}
};

} // namespace exporter
} // namespace yfx
