// DzRotationOrder: the order in which the three Euler rotations of a node are applied.
// XYZ means: rotate about X first, then about Y, then about Z (each about the axes of
// the parent frame). In the host's row-vector convention the matrix is Rx * Ry * Rz.
// What still differs from the host: the static named constructors (xyz() and
// the like) and fromString are left out, and copying is the compiler's.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QMetaType>
#include <QtCore/QString>

class DZ_EXPORT DzRotationOrder {
public:
    enum RotOrder { XYZ = 0, XZY, YXZ, YZX, ZXY, ZYX };
    typedef int AxisOrder[3];

    DzRotationOrder() : m_order(XYZ) {}
    DzRotationOrder(RotOrder order) : m_order(order) {}
    // The axes in the order they are applied. There is no constructor from a
    // single integer: DzRotationOrder(0) takes this form with a null array,
    // which the host reads through; the stand-in stops the program there
    // instead. Name the enum value (DzRotationOrder::XYZ).
    DzRotationOrder(AxisOrder axes);
    DzRotationOrder(int first, int second, int third);

    void setOrder(RotOrder order) { m_order = order; }
    // A triple that is not a permutation of 0, 1, 2 leaves the order unchanged
    // (a choice of the stand-in; the host's answer is not documented).
    void setOrder(AxisOrder axes);
    void setOrder(int first, int second, int third);
    RotOrder order() const { return m_order; }
    void getAxisOrder(AxisOrder axes) const;
    // Axis (0 = X, 1 = Y, 2 = Z) applied at step i (0, 1, 2).
    int operator[](int i) const;

    bool operator==(const DzRotationOrder& o) const { return m_order == o.m_order; }
    bool operator!=(const DzRotationOrder& o) const { return m_order != o.m_order; }
    QString toString() const;

private:
    RotOrder m_order;
};

Q_DECLARE_METATYPE(DzRotationOrder)
