// What the file writers take from the exporter: the six options they consult,
// the header flag option and the three info texts. The exporter fills this
// record from its own fields, so the writers need neither the plug-in nor the
// host.
#pragma once

#include <cstdint>
#include <string>

namespace yfx {

struct WriterOptions {
    std::int32_t export_lights = 0;
    std::int32_t export_materials = 0;
    std::int32_t export_uvs = 0;
    std::int32_t export_uvsets = 0;
    std::int32_t export_joints = 0;
    std::int32_t export_animation = 0;
    // When 1 the header carries the vertex colour flag (the exporter always sets it).
    std::int32_t header_flag_option = 1;
    std::wstring creator_text; // "Marrowmap Pro Filter for Daz Studio 4.x"
    std::wstring version_text; // "v3.0"
    std::wstring time_text;    // the export time, see format/time_text.h
};

// An option is on when it holds exactly 1; any other value is off.
inline bool optionOn(std::int32_t value) {
    return value == 1;
}

} // namespace yfx
