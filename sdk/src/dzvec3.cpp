#include "dzvec3.h"

#include "dzmatrix3.h"

#include <cmath>

void DzVec3::setValue(float x, float y, float z) {
    m_x = x;
    m_y = y;
    m_z = z;
}

void DzVec3::setValue(const DzPnt3 v) {
    setValue(v[0], v[1], v[2]);
}

void DzVec3::getValue(float& x, float& y, float& z) const {
    x = m_x;
    y = m_y;
    z = m_z;
}

void DzVec3::getValue(DzPnt3 v) const {
    v[0] = m_x;
    v[1] = m_y;
    v[2] = m_z;
}

void DzVec3::makeZero() {
    m_x = m_y = m_z = 0.0f;
    m_w = 1.0f;
}

float DzVec3::lengthSquared() const {
    return m_x * m_x + m_y * m_y + m_z * m_z;
}

float DzVec3::length() const {
    return std::sqrt(lengthSquared());
}

float DzVec3::normalize() {
    const float len = length();
    if (len > 0.0f) {
        m_x /= len;
        m_y /= len;
        m_z /= len;
    }
    return len;
}

DzVec3 DzVec3::normalized() const {
    DzVec3 v(*this);
    v.normalize();
    return v;
}

float DzVec3::dot(const DzVec3& v) const {
    return m_x * v.m_x + m_y * v.m_y + m_z * v.m_z;
}

DzVec3 DzVec3::cross(const DzVec3& v) const {
    return DzVec3(m_y * v.m_z - m_z * v.m_y, m_z * v.m_x - m_x * v.m_z, m_x * v.m_y - m_y * v.m_x);
}

bool DzVec3::equals(const DzVec3& v, float tolerance) const {
    return std::fabs(m_x - v.m_x) <= tolerance && std::fabs(m_y - v.m_y) <= tolerance &&
           std::fabs(m_z - v.m_z) <= tolerance;
}

DzVec3 DzVec3::operator+(const DzVec3& v) const {
    return DzVec3(m_x + v.m_x, m_y + v.m_y, m_z + v.m_z);
}

DzVec3 DzVec3::operator-(const DzVec3& v) const {
    return DzVec3(m_x - v.m_x, m_y - v.m_y, m_z - v.m_z);
}

DzVec3 DzVec3::operator-() const {
    return DzVec3(-m_x, -m_y, -m_z);
}

DzVec3 DzVec3::operator*(const DzVec3& v) const {
    return DzVec3(m_x * v.m_x, m_y * v.m_y, m_z * v.m_z);
}

DzVec3 DzVec3::operator*(float s) const {
    return DzVec3(m_x * s, m_y * s, m_z * s);
}

DzVec3 DzVec3::operator/(float s) const {
    return DzVec3(m_x / s, m_y / s, m_z / s);
}

bool DzVec3::operator==(const DzVec3& v) const {
    return m_x == v.m_x && m_y == v.m_y && m_z == v.m_z;
}

void DzVec3::operator*=(const DzMatrix3& m) {
    *this = m.multPnt(*this);
}

DzVec3 DzVec3::linearInterp(float t, const DzVec3& a, const DzVec3& b) {
    return a + (b - a) * t;
}
