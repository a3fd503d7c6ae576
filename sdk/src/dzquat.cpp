#include "dzquat.h"

#include "dzmatrix3.h"
#include "dzrotationorder.h"
#include "dzvec3.h"

#include <algorithm>
#include <cmath>

namespace {

// Hamilton product h = a b: the rotation "b, then a".
DzQuat hamilton(const DzQuat& a, const DzQuat& b) {
    return DzQuat(a.m_w * b.m_x + a.m_x * b.m_w + a.m_y * b.m_z - a.m_z * b.m_y,
                  a.m_w * b.m_y - a.m_x * b.m_z + a.m_y * b.m_w + a.m_z * b.m_x,
                  a.m_w * b.m_z + a.m_x * b.m_y - a.m_y * b.m_x + a.m_z * b.m_w,
                  a.m_w * b.m_w - a.m_x * b.m_x - a.m_y * b.m_y - a.m_z * b.m_z, false);
}

// The column-vector rotation matrix c[row][col] of a unit quaternion.
void columnMatrix(const DzQuat& q, double c[3][3]) {
    const double x = q.m_x, y = q.m_y, z = q.m_z, w = q.m_w;
    c[0][0] = 1 - 2 * (y * y + z * z);
    c[0][1] = 2 * (x * y - z * w);
    c[0][2] = 2 * (x * z + y * w);
    c[1][0] = 2 * (x * y + z * w);
    c[1][1] = 1 - 2 * (x * x + z * z);
    c[1][2] = 2 * (y * z - x * w);
    c[2][0] = 2 * (x * z - y * w);
    c[2][1] = 2 * (y * z + x * w);
    c[2][2] = 1 - 2 * (x * x + y * y);
}

} // namespace

DzQuat::DzQuat(double q0, double q1, double q2, double q3, bool normalize) {
    setValue(q0, q1, q2, q3, normalize);
}

DzQuat::DzQuat(const DzVec3& axis, float radians) {
    setValue(axis, radians);
}

DzQuat::DzQuat(DzRotationOrder order, const DzVec3& angles) {
    setValue(order, angles);
}

DzQuat::DzQuat(const DzMatrix3& m) {
    setValue(m);
}

void DzQuat::setValue(double q0, double q1, double q2, double q3, bool normalize) {
    m_x = q0;
    m_y = q1;
    m_z = q2;
    m_w = q3;
    if (normalize) {
        this->normalize();
    }
}

void DzQuat::setValue(const DzVec3& axis, float radians) {
    const double len = axis.length();
    if (len <= 0.0) {
        *this = DzQuat();
        return;
    }
    const double s = std::sin(radians * 0.5) / len;
    setValue(axis.m_x * s, axis.m_y * s, axis.m_z * s, std::cos(radians * 0.5), false);
}

void DzQuat::setValue(DzRotationOrder order, const DzVec3& angles) {
    DzQuat result;
    for (int step = 0; step < 3; ++step) {
        const int axis = order[step];
        DzVec3 dir(0.0f, 0.0f, 0.0f);
        dir[axis] = 1.0f;
        result *= DzQuat(dir, angles[axis]);
    }
    *this = result;
}

void DzQuat::setValue(const DzMatrix3& m) {
    // Orthonormalise the rows (removing scale), then read the column-vector
    // matrix c = transpose of the rows.
    // Row 2 is rebuilt as row 0 x row 1, so a mirrored matrix still gives a rotation.
    // A singular matrix gives the identity.
    DzVec3 r0 = m.row(0), r1 = m.row(1);
    if (r0.normalize() <= 0.0f) {
        *this = DzQuat();
        return;
    }
    r1 = r1 - r0 * r0.dot(r1);
    if (r1.normalize() <= 1e-12f) {
        *this = DzQuat();
        return;
    }
    const DzVec3 r2 = r0.cross(r1);
    const double c[3][3] = {
        {r0.m_x, r1.m_x, r2.m_x}, {r0.m_y, r1.m_y, r2.m_y}, {r0.m_z, r1.m_z, r2.m_z}};
    const double trace = c[0][0] + c[1][1] + c[2][2];
    if (trace > 0.0) {
        const double s = std::sqrt(trace + 1.0) * 2.0;
        setValue((c[2][1] - c[1][2]) / s, (c[0][2] - c[2][0]) / s, (c[1][0] - c[0][1]) / s,
                 0.25 * s);
    } else if (c[0][0] > c[1][1] && c[0][0] > c[2][2]) {
        const double s = std::sqrt(1.0 + c[0][0] - c[1][1] - c[2][2]) * 2.0;
        setValue(0.25 * s, (c[0][1] + c[1][0]) / s, (c[0][2] + c[2][0]) / s,
                 (c[2][1] - c[1][2]) / s);
    } else if (c[1][1] > c[2][2]) {
        const double s = std::sqrt(1.0 + c[1][1] - c[0][0] - c[2][2]) * 2.0;
        setValue((c[0][1] + c[1][0]) / s, 0.25 * s, (c[1][2] + c[2][1]) / s,
                 (c[0][2] - c[2][0]) / s);
    } else {
        const double s = std::sqrt(1.0 + c[2][2] - c[0][0] - c[1][1]) * 2.0;
        setValue((c[0][2] + c[2][0]) / s, (c[1][2] + c[2][1]) / s, 0.25 * s,
                 (c[1][0] - c[0][1]) / s);
    }
}

void DzQuat::getValue(float& x, float& y, float& z, float& w) const {
    x = float(m_x);
    y = float(m_y);
    z = float(m_z);
    w = float(m_w);
}

void DzQuat::getValue(DzRotationOrder order, DzVec3& angles) const {
    // The column matrix is C = Rk Rj Ri for the axis order (i, j, k).
    double c[3][3];
    DzQuat q(*this);
    q.normalize();
    columnMatrix(q, c);
    const int i = order[0], j = order[1], k = order[2];
    const double s = (j == (i + 1) % 3) ? 1.0 : -1.0;
    const double sinB = std::max(-1.0, std::min(1.0, -s * c[k][i]));
    double a, b, cc;
    b = std::asin(sinB);
    if (std::fabs(sinB) < 0.9999999) {
        a = std::atan2(s * c[k][j], c[k][k]);
        cc = std::atan2(s * c[j][i], c[i][i]);
    } else {
        a = std::atan2(-s * c[j][k], c[j][j]);
        cc = 0.0;
    }
    angles.m_w = 1.0f;
    angles[i] = float(a);
    angles[j] = float(b);
    angles[k] = float(cc);
}

void DzQuat::getValue(DzMatrix3& m) const {
    m = DzMatrix3(*this);
}

void DzQuat::normalize() {
    const double len = std::sqrt(m_x * m_x + m_y * m_y + m_z * m_z + m_w * m_w);
    if (!(len > 0.0) || !std::isfinite(len)) {
        m_x = m_y = m_z = 0.0;
        m_w = 1.0;
        return;
    }
    m_x /= len;
    m_y /= len;
    m_z /= len;
    m_w /= len;
}

DzQuat DzQuat::inverse() const {
    const double n = m_x * m_x + m_y * m_y + m_z * m_z + m_w * m_w;
    if (!(n > 0.0)) {
        return DzQuat();
    }
    return DzQuat(-m_x / n, -m_y / n, -m_z / n, m_w / n, false);
}

DzVec3 DzQuat::multVec(const DzVec3& v) const {
    double c[3][3];
    columnMatrix(*this, c);
    return DzVec3(float(c[0][0] * v.m_x + c[0][1] * v.m_y + c[0][2] * v.m_z),
                  float(c[1][0] * v.m_x + c[1][1] * v.m_y + c[1][2] * v.m_z),
                  float(c[2][0] * v.m_x + c[2][1] * v.m_y + c[2][2] * v.m_z));
}

bool DzQuat::isIdentity() const {
    return equals(DzQuat());
}

bool DzQuat::equals(const DzQuat& q, double tolerance) const {
    // q and -q are the same rotation.
    const auto close = [tolerance](const DzQuat& a, const DzQuat& b, double sign) {
        return std::fabs(a.m_x - sign * b.m_x) <= tolerance &&
               std::fabs(a.m_y - sign * b.m_y) <= tolerance &&
               std::fabs(a.m_z - sign * b.m_z) <= tolerance &&
               std::fabs(a.m_w - sign * b.m_w) <= tolerance;
    };
    return close(*this, q, 1.0) || close(*this, q, -1.0);
}

DzQuat DzQuat::operator*(const DzQuat& q) const {
    return hamilton(q, *this);
}

DzQuat& DzQuat::operator*=(const DzQuat& q) {
    *this = *this * q;
    return *this;
}

bool DzQuat::operator==(const DzQuat& q) const {
    return m_x == q.m_x && m_y == q.m_y && m_z == q.m_z && m_w == q.m_w;
}

DzQuat DzQuat::slerp(const DzQuat& a, const DzQuat& b, float t) {
    double dot = a.m_x * b.m_x + a.m_y * b.m_y + a.m_z * b.m_z + a.m_w * b.m_w;
    DzQuat end = b;
    if (dot < 0.0) {
        dot = -dot;
        end = DzQuat(-b.m_x, -b.m_y, -b.m_z, -b.m_w, false);
    }
    double wa = 1.0 - t, wb = t;
    if (dot < 0.9995) {
        const double theta = std::acos(std::min(1.0, dot));
        const double s = std::sin(theta);
        wa = std::sin((1.0 - t) * theta) / s;
        wb = std::sin(t * theta) / s;
    }
    return DzQuat(wa * a.m_x + wb * end.m_x, wa * a.m_y + wb * end.m_y, wa * a.m_z + wb * end.m_z,
                  wa * a.m_w + wb * end.m_w, true);
}
