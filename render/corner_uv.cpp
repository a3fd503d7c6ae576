#include "render/corner_uv.h"

#include <cmath>

namespace yfx {
namespace render {

bool cornerUv(const SceneDoc& doc, const DocCorner& corner, double& u, double& v) {
    const std::int32_t index = corner.uv[0].index;
    if (doc.uvsets.empty() || index < 0 || std::size_t(index) >= doc.uvsets[0].uvs.size()) {
        return false;
    }
    const DocUV& uv = doc.uvsets[0].uvs[std::size_t(index)];
    u = double(uv.u);
    v = 1.0 - double(uv.v);
    return std::isfinite(u) && std::isfinite(v);
}

} // namespace render
} // namespace yfx
