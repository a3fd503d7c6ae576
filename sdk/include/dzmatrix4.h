// DzMatrix4: a 4x4 float matrix in the host's row-vector convention (translation in
// row 3, a point p maps to p * M).
#pragma once

#include "dzgeneraldefs.h"
#include "dzvec3.h"

#include <QtCore/QMetaType>

class DzMatrix3;

typedef float DzMat4[4][4];

class DZ_EXPORT DzMatrix4 {
public:
    explicit DzMatrix4(bool makeIdentity = false);
    explicit DzMatrix4(const float vals[16]);

    void setValue(const float vals[16]);
    void value(float vals[16]) const;
    void makeIdentity();
    void setTrans(const DzVec3& t);

    float* operator[](int row) { return m_data[row]; }
    const float* operator[](int row) const { return m_data[row]; }
    DzMatrix4 operator*(const DzMatrix4& b) const;
    // Row vector times matrix, with the homogeneous divide when w is not 1.
    DzVec3 multVecMatrix(const DzVec3& v) const;
    DzMatrix4 transpose() const;
    // The inverse; the identity when the matrix is singular.
    DzMatrix4 inverse() const;
    // Rows 0 to 3, columns 0 to 2.
    DzMatrix3 matrix3() const;

private:
    DzMat4 m_data;
};

Q_DECLARE_METATYPE(DzMatrix4)
