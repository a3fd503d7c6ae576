// The placement block of lights, cameras and groups: 38 floats, stored in the
// file as they are (152 bytes) in the order of the members below.
#pragma once

namespace yfx {

struct DocTransform {
    float axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}; // rotation, row by row: x, y, z axis
    float position[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // row-major 4x4
    float quaternion[4] = {0, 0, 0, 1};                                  // x, y, z, w
    float euler[3] = {0, 0, 0};                                          // radians
};

static_assert(sizeof(DocTransform) == 152, "the transform block is 38 floats");

} // namespace yfx
