// DzQuat: a rotation quaternion with double components x, y, z, w.
//
// Conventions of this implementation:
// - DzQuat(q0, q1, q2, q3) takes x, y, z, w in that order.
// - multVec(v) rotates v by the quaternion (q v q^-1).
// - a * b is the rotation "a, then b", the same order as DzMatrix3 multiplication,
//   so DzMatrix3(a * b) == DzMatrix3(a) * DzMatrix3(b).
// - Euler angles are radians; see DzRotationOrder for the order of application.
//
// As in the host, the header only declares DzVec3, DzRotationOrder and
// DzMatrix4: a source that uses them includes their headers. It also declares
// DzMatrix3, which the host's does not, for the stand-in's conversion.
//
// What still differs from the host: the four-number setValue takes doubles and
// equals a double tolerance (floats in the host); the constructor from a matrix is
// explicit; the array, axis and DzMatrix4 forms and the gimbal helpers are left
// out.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QMetaType>

class DzMatrix3;
class DzMatrix4;
class DzRotationOrder;
class DzVec3;

class DZ_EXPORT DzQuat {
public:
    double m_x, m_y, m_z, m_w;

    DzQuat() : m_x(0.0), m_y(0.0), m_z(0.0), m_w(1.0) {}
    DzQuat(double q0, double q1, double q2, double q3, bool normalize = true);
    DzQuat(const DzVec3& axis, float radians);
    DzQuat(DzRotationOrder order, const DzVec3& angles);
    // The rotation part of the matrix (its 3x3 rows are orthonormalised first).
    explicit DzQuat(const DzMatrix3& m);

    void setValue(double q0, double q1, double q2, double q3, bool normalize = true);
    void setValue(const DzVec3& axis, float radians);
    void setValue(DzRotationOrder order, const DzVec3& angles);
    void setValue(const DzMatrix3& m);

    void getValue(float& x, float& y, float& z, float& w) const;
    // Euler angles (radians) that rebuild this rotation in the given order.
    void getValue(DzRotationOrder order, DzVec3& angles) const;
    void getValue(DzMatrix3& m) const;

    // Makes the quaternion unit length; a zero quaternion becomes the identity.
    void normalize();
    DzQuat inverse() const;
    DzVec3 multVec(const DzVec3& v) const;
    bool isIdentity() const;
    bool equals(const DzQuat& q, double tolerance = 1e-05) const;

    DzQuat operator*(const DzQuat& q) const;
    DzQuat& operator*=(const DzQuat& q);
    bool operator==(const DzQuat& q) const;
    bool operator!=(const DzQuat& q) const { return !(*this == q); }
    double& operator[](int i) { return (&m_x)[i]; }
    double operator[](int i) const { return (&m_x)[i]; }

    static DzQuat identity() { return DzQuat(); }
    // Shortest-arc spherical interpolation from a (t = 0) to b (t = 1).
    static DzQuat slerp(const DzQuat& a, const DzQuat& b, float t);
};

Q_DECLARE_METATYPE(DzQuat)
