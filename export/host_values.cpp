#include "export/host_values.h"

#include <dzmatrix3.h>
#include <dznode.h>

#include <QtCore/QString>

namespace yfx {
namespace exporter {

std::wstring wideText(const QString& text) {
    return text.toStdWString();
}

void hostMatrixValues(const DzMatrix3& matrix, float out[12]) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            out[3 * row + column] = matrix[row][column];
        }
    }
}

DzMatrix3 nodeTransformAt(const DzNode& node, DzTime tm) {
    return node.getNodeParent() != nullptr ? node.getWSTransform(tm, false)
                                           : node.getLocalTransform(tm, false);
}

} // namespace exporter
} // namespace yfx
