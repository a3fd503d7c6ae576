// Host values in the forms the gathering stores: wide text, the host matrix
// as twelve floats, and the transform the document keeps for a node.
#pragma once

#include <string>

#include <dzgeneraldefs.h>

class DzMatrix3;
class DzNode;
class QString;

namespace yfx {
namespace exporter {

std::wstring wideText(const QString& text);

// The host matrix as four rows of three floats (rows 0 to 2 the linear part,
// row 3 the translation), the layout hostToMatrix reads.
void hostMatrixValues(const DzMatrix3& matrix, float out[12]);

// The node's transform at tm as the document records it: world-space for a
// node with a parent, local (which is world-space too) for one without; never
// the rest defaults.
DzMatrix3 nodeTransformAt(const DzNode& node, DzTime tm);

} // namespace exporter
} // namespace yfx
