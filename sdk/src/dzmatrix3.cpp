#include "dzmatrix3.h"

#include "dzmatrix4.h"
#include "dzquat.h"

#include <cstring>

DzMatrix3::DzMatrix3(bool identity) : m_flags(0) {
    std::memset(m_data, 0, sizeof(m_data));
    if (identity) {
        makeIdentity();
    }
}

DzMatrix3::DzMatrix3(const DzMat3& m) : m_flags(0) {
    std::memcpy(m_data, m, sizeof(m_data));
}

DzMatrix3::DzMatrix3(const float vals[12]) : DzMatrix3(false) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            m_data[r][c] = vals[3 * r + c];
        }
    }
}

DzMatrix3::DzMatrix3(const DzQuat& q) : DzMatrix3(false) {
    DzQuat u(q);
    u.normalize();
    // Row r is the image of axis r.
    for (int r = 0; r < 3; ++r) {
        DzVec3 axis(0.0f, 0.0f, 0.0f);
        axis[r] = 1.0f;
        const DzVec3 img = u.multVec(axis);
        m_data[r][0] = img.m_x;
        m_data[r][1] = img.m_y;
        m_data[r][2] = img.m_z;
    }
}

DzMatrix3::DzMatrix3(DzVec3 ax1, DzVec3 ax2, DzVec3 ax3) : DzMatrix3(false) {
    const DzVec3* axes[3] = {&ax1, &ax2, &ax3};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            m_data[r][c] = (*axes[r])[c];
        }
    }
}

void DzMatrix3::setValue(const float vals[16]) {
    std::memset(m_data, 0, sizeof(m_data));
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            m_data[r][c] = vals[4 * r + c];
        }
    }
}

void DzMatrix3::makeIdentity() {
    std::memset(m_data, 0, sizeof(m_data));
    m_data[0][0] = m_data[1][1] = m_data[2][2] = 1.0f;
}

void DzMatrix3::setTrans(const DzVec3& t) {
    m_data[3][0] = t.m_x;
    m_data[3][1] = t.m_y;
    m_data[3][2] = t.m_z;
}

void DzMatrix3::translate(const DzVec3& t) {
    m_data[3][0] += t.m_x;
    m_data[3][1] += t.m_y;
    m_data[3][2] += t.m_z;
}

void DzMatrix3::noTrans() {
    setTrans(DzVec3(0.0f, 0.0f, 0.0f));
}

DzVec3 DzMatrix3::row(int r) const {
    return DzVec3(m_data[r][0], m_data[r][1], m_data[r][2]);
}

DzMatrix4 DzMatrix3::matrix4() const {
    float v[16];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            v[4 * r + c] = m_data[r][c];
        }
        v[4 * r + 3] = r == 3 ? 1.0f : 0.0f;
    }
    return DzMatrix4(v);
}

DzMatrix3 DzMatrix3::operator*(const DzMatrix3& b) const {
    DzMatrix3 out(false);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            float sum = r == 3 ? b.m_data[3][c] : 0.0f;
            for (int k = 0; k < 3; ++k) {
                sum += m_data[r][k] * b.m_data[k][c];
            }
            out.m_data[r][c] = sum;
        }
    }
    return out;
}

DzMatrix3& DzMatrix3::operator*=(const DzMatrix3& b) {
    *this = *this * b;
    return *this;
}

bool DzMatrix3::operator==(const DzMatrix3& b) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            if (m_data[r][c] != b.m_data[r][c]) {
                return false;
            }
        }
    }
    return true;
}

float DzMatrix3::det3() const {
    const auto& m = m_data;
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

DzMatrix3 DzMatrix3::inverse() const {
    const float det = det3();
    if (det == 0.0f) {
        return identity();
    }
    const auto& m = m_data;
    DzMatrix3 out(false);
    auto& o = out.m_data;
    const float inv = 1.0f / det;
    o[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) * inv;
    o[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) * inv;
    o[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) * inv;
    o[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) * inv;
    o[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) * inv;
    o[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) * inv;
    o[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) * inv;
    o[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) * inv;
    o[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) * inv;
    const DzVec3 t = out.multVec(row(3));
    out.setTrans(-t);
    return out;
}

bool DzMatrix3::isIdentity() const {
    return *this == identity();
}

DzVec3 DzMatrix3::multVec(const DzVec3& v) const {
    return DzVec3(v.m_x * m_data[0][0] + v.m_y * m_data[1][0] + v.m_z * m_data[2][0],
                  v.m_x * m_data[0][1] + v.m_y * m_data[1][1] + v.m_z * m_data[2][1],
                  v.m_x * m_data[0][2] + v.m_y * m_data[1][2] + v.m_z * m_data[2][2]);
}

DzVec3 DzMatrix3::multPnt(const DzVec3& p) const {
    return multVec(p) + row(3);
}

void DzMatrix3::multPnt(DzPnt3& p) const {
    const DzVec3 out = multPnt(DzVec3(p));
    out.getValue(p);
}

DzMatrix3 DzMatrix3::translation(const DzVec3& t) {
    DzMatrix3 m(true);
    m.setTrans(t);
    return m;
}

DzMatrix3 DzMatrix3::scaling(const DzVec3& s) {
    DzMatrix3 m(true);
    m.m_data[0][0] = s.m_x;
    m.m_data[1][1] = s.m_y;
    m.m_data[2][2] = s.m_z;
    return m;
}
