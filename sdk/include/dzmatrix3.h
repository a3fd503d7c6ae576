// DzMatrix3: an affine 4x3 transform in the host's row-vector convention.
// Rows 0 to 2 are the images of the X, Y and Z axes, row 3 is the translation;
// a point p maps to p * M = p.x * row0 + p.y * row1 + p.z * row2 + row3.
// A * B applies A first, then B. Storage is 5 rows of 3 floats plus a flag word,
// as in the host; the fifth row is kept zero and takes part in nothing.
// The default constructor does not make the identity (pass true for that).
//
// What still differs from the host: the constructors from a bool, an array and
// a quaternion are explicit here (the host's convert implicitly), there is no
// conversion to float*, and the scalar, additive and matrix-times-vector
// operators are left out. multPnt on a DzVec3 is the stand-in's own (the host
// has only the DzPnt3 form).
#pragma once

#include "dzgeneraldefs.h"
#include "dzvec3.h"

#include <QtCore/QMetaType>

class DzMatrix4;
class DzQuat;

typedef float DzMat3[5][3];

class DZ_EXPORT DzMatrix3 {
public:
    explicit DzMatrix3(bool makeIdentity = false);
    explicit DzMatrix3(const DzMat3& m);
    // Twelve floats, row by row: rows 0 to 3 of three floats each.
    explicit DzMatrix3(const float vals[12]);
    // The pure rotation of the quaternion.
    explicit DzMatrix3(const DzQuat& q);
    // A matrix whose rows are the three axes, no translation.
    DzMatrix3(DzVec3 ax1, DzVec3 ax2, DzVec3 ax3);

    // Sixteen floats of a row-major 4x4 in the same row-vector convention: element
    // (r, c) at 4r + c for r = 0..3 and c = 0..2 is taken; column 3 is ignored.
    void setValue(const float vals[16]);

    void makeIdentity();
    void setTrans(const DzVec3& t);
    // Appends a translation (applied after this transform).
    void translate(const DzVec3& t);
    // Drops the translation.
    void noTrans();

    float* operator[](int row) { return m_data[row]; }
    const float* operator[](int row) const { return m_data[row]; }
    DzVec3 row(int r) const;
    const float* rowPointer(int r) const { return m_data[r]; }
    const DzMat3& value() const { return m_data; }
    DzMatrix4 matrix4() const;

    DzMatrix3 operator*(const DzMatrix3& b) const;
    DzMatrix3& operator*=(const DzMatrix3& b);
    bool operator==(const DzMatrix3& b) const;
    bool operator!=(const DzMatrix3& b) const { return !(*this == b); }
    // Inverse of the affine transform; the identity when the 3x3 part is singular.
    DzMatrix3 inverse() const;
    float det3() const;
    bool isIdentity() const;
    // The vector through the 3x3 part only.
    DzVec3 multVec(const DzVec3& v) const;
    // The point, translation included.
    DzVec3 multPnt(const DzVec3& p) const;
    void multPnt(DzPnt3& p) const;

    static DzMatrix3 identity() { return DzMatrix3(true); }
    static DzMatrix3 translation(const DzVec3& t);
    static DzMatrix3 scaling(const DzVec3& s);

private:
    DzMat3 m_data;
    int m_flags;
};

Q_DECLARE_METATYPE(DzMatrix3)
