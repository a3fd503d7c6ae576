#include "document/doc_bounds.h"

namespace yfx {

void computeBounds(const SceneDoc& doc, DocBounds& bounds) {
    if (doc.vertices.empty()) {
        bounds = DocBounds{};
        return;
    }
    float lo[3] = {3.4028235e38f, 3.4028235e38f, 3.4028235e38f};
    float hi[3] = {-3.4028235e38f, -3.4028235e38f, -3.4028235e38f};
    for (const DocVertex& vertex : doc.vertices) {
        for (int a = 0; a < 3; ++a) {
            const float p = vertex.position[a];
            if (p < lo[a]) {
                lo[a] = p;
            }
            if (p > hi[a]) {
                hi[a] = p;
            }
        }
    }
    for (int a = 0; a < 3; ++a) {
        bounds.minimum[a] = lo[a];
        bounds.maximum[a] = hi[a];
        bounds.size[a] = hi[a] - lo[a];
        bounds.centre[a] = (hi[a] + lo[a]) / 2.0f;
    }
}

} // namespace yfx
