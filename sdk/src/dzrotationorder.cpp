#include "dzrotationorder.h"

namespace {

// Axis triples of the orders, in enum order.
const int kAxes[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};

} // namespace

DzRotationOrder::DzRotationOrder(AxisOrder axes) : m_order(XYZ) {
    setOrder(axes);
}

DzRotationOrder::DzRotationOrder(int first, int second, int third) : m_order(XYZ) {
    setOrder(first, second, third);
}

void DzRotationOrder::setOrder(AxisOrder axes) {
    if (axes == nullptr) {
        qFatal("DzRotationOrder: null axis order (the host would read through it)");
    }
    setOrder(axes[0], axes[1], axes[2]);
}

void DzRotationOrder::setOrder(int first, int second, int third) {
    for (int i = 0; i < 6; ++i) {
        if (kAxes[i][0] == first && kAxes[i][1] == second && kAxes[i][2] == third) {
            m_order = RotOrder(i);
            return;
        }
    }
}

void DzRotationOrder::getAxisOrder(AxisOrder axes) const {
    for (int i = 0; i < 3; ++i) {
        axes[i] = kAxes[m_order][i];
    }
}

int DzRotationOrder::operator[](int i) const {
    return i >= 0 && i < 3 ? kAxes[m_order][i] : -1;
}

QString DzRotationOrder::toString() const {
    static const char* const names[6] = {"XYZ", "XZY", "YXZ", "YZX", "ZXY", "ZYX"};
    return QString::fromLatin1(names[m_order]);
}
