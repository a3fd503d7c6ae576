// DzVec3: a three-component float vector (with a fourth, m_w, as the host has).
// The default constructor leaves the components uninitialised, as the host's does.
//
// What still differs from the host: the constructor from a DzPnt3 is explicit,
// there is no conversion to float*, and the compound operators other than *= with
// a matrix, the DzPnt3 operand forms and the angle helpers are left out.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QMetaType>

class DzMatrix3;

class DZ_EXPORT DzVec3 {
public:
    float m_x, m_y, m_z, m_w;

    DzVec3() {}
    DzVec3(float x, float y, float z) : m_x(x), m_y(y), m_z(z), m_w(1.0f) {}
    explicit DzVec3(const DzPnt3 v) : m_x(v[0]), m_y(v[1]), m_z(v[2]), m_w(1.0f) {}

    void setValue(float x, float y, float z);
    void setValue(const DzPnt3 v);
    void getValue(float& x, float& y, float& z) const;
    void getValue(DzPnt3 v) const;
    const float* getValue() const { return &m_x; }

    void makeZero();
    float length() const;
    float lengthSquared() const;
    // Normalises in place; returns the length before normalising (0 leaves the vector as is).
    float normalize();
    DzVec3 normalized() const;
    float dot(const DzVec3& v) const;
    DzVec3 cross(const DzVec3& v) const;
    bool equals(const DzVec3& v, float tolerance = 1e-6f) const;

    float& operator[](int i) { return (&m_x)[i]; }
    float operator[](int i) const { return (&m_x)[i]; }
    DzVec3 operator+(const DzVec3& v) const;
    DzVec3 operator-(const DzVec3& v) const;
    DzVec3 operator-() const;
    // Component-wise product.
    DzVec3 operator*(const DzVec3& v) const;
    DzVec3 operator*(float s) const;
    DzVec3 operator/(float s) const;
    bool operator==(const DzVec3& v) const;
    bool operator!=(const DzVec3& v) const { return !(*this == v); }
    // This point transformed by the matrix (row vector times matrix, translation
    // included). Returns nothing, as in the host.
    void operator*=(const DzMatrix3& m);

    static DzVec3 zero() { return DzVec3(0.0f, 0.0f, 0.0f); }
    static DzVec3 linearInterp(float t, const DzVec3& a, const DzVec3& b);
};

Q_DECLARE_METATYPE(DzVec3)
