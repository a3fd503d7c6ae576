#include "dzmatrix4.h"

#include "dzmatrix3.h"

#include <cstring>

DzMatrix4::DzMatrix4(bool identity) {
    std::memset(m_data, 0, sizeof(m_data));
    if (identity) {
        makeIdentity();
    }
}

DzMatrix4::DzMatrix4(const float vals[16]) {
    setValue(vals);
}

void DzMatrix4::setValue(const float vals[16]) {
    std::memcpy(m_data, vals, sizeof(m_data));
}

void DzMatrix4::value(float vals[16]) const {
    std::memcpy(vals, m_data, sizeof(m_data));
}

void DzMatrix4::makeIdentity() {
    std::memset(m_data, 0, sizeof(m_data));
    for (int i = 0; i < 4; ++i) {
        m_data[i][i] = 1.0f;
    }
}

void DzMatrix4::setTrans(const DzVec3& t) {
    m_data[3][0] = t.m_x;
    m_data[3][1] = t.m_y;
    m_data[3][2] = t.m_z;
}

DzMatrix4 DzMatrix4::operator*(const DzMatrix4& b) const {
    DzMatrix4 out(false);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += m_data[r][k] * b.m_data[k][c];
            }
            out.m_data[r][c] = sum;
        }
    }
    return out;
}

DzVec3 DzMatrix4::multVecMatrix(const DzVec3& v) const {
    float out[4];
    for (int c = 0; c < 4; ++c) {
        out[c] = v.m_x * m_data[0][c] + v.m_y * m_data[1][c] + v.m_z * m_data[2][c] + m_data[3][c];
    }
    if (out[3] != 0.0f && out[3] != 1.0f) {
        return DzVec3(out[0] / out[3], out[1] / out[3], out[2] / out[3]);
    }
    return DzVec3(out[0], out[1], out[2]);
}

DzMatrix4 DzMatrix4::transpose() const {
    DzMatrix4 out(false);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out.m_data[c][r] = m_data[r][c];
        }
    }
    return out;
}

DzMatrix4 DzMatrix4::inverse() const {
    // Gauss-Jordan elimination with partial pivoting on a copy.
    double a[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m_data[r][c];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if ((a[r][col] < 0 ? -a[r][col] : a[r][col]) >
                (a[pivot][col] < 0 ? -a[pivot][col] : a[pivot][col])) {
                pivot = r;
            }
        }
        if (a[pivot][col] == 0.0) {
            return DzMatrix4(true);
        }
        if (pivot != col) {
            for (int c = 0; c < 8; ++c) {
                const double t = a[col][c];
                a[col][c] = a[pivot][c];
                a[pivot][c] = t;
            }
        }
        const double inv = 1.0 / a[col][col];
        for (int c = 0; c < 8; ++c) {
            a[col][c] *= inv;
        }
        for (int r = 0; r < 4; ++r) {
            if (r != col && a[r][col] != 0.0) {
                const double f = a[r][col];
                for (int c = 0; c < 8; ++c) {
                    a[r][c] -= f * a[col][c];
                }
            }
        }
    }
    DzMatrix4 out(false);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out.m_data[r][c] = float(a[r][c + 4]);
        }
    }
    return out;
}

DzMatrix3 DzMatrix4::matrix3() const {
    DzMatrix3 out(false);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[r][c] = m_data[r][c];
        }
    }
    return out;
}
