#include "dzmatrix3.h"
#include "dzmatrix4.h"
#include "dzquat.h"
#include "dzrotationorder.h"
#include "dzvec3.h"

#include <gtest/gtest.h>

TEST(RotationOrderTest, AxisTriplesNameTheOrders) {
    const DzRotationOrder yzx(1, 2, 0);
    EXPECT_EQ(yzx.order(), DzRotationOrder::YZX);
    EXPECT_EQ(yzx[0], 1);
    EXPECT_EQ(yzx[2], 0);
    EXPECT_EQ(yzx.toString(), QStringLiteral("YZX"));
    DzRotationOrder o(DzRotationOrder::ZXY);
    o.setOrder(0, 0, 1); // not a permutation: unchanged
    EXPECT_EQ(o.order(), DzRotationOrder::ZXY);
    DzRotationOrder::AxisOrder zxy = {2, 0, 1};
    EXPECT_EQ(DzRotationOrder(zxy).order(), DzRotationOrder::ZXY);
    DzRotationOrder::AxisOrder axes;
    DzRotationOrder(DzRotationOrder::ZYX).getAxisOrder(axes);
    EXPECT_EQ(axes[0], 2);
    EXPECT_EQ(axes[1], 1);
    EXPECT_EQ(axes[2], 0);
}

TEST(Vec3Test, ArithmeticAndNormalisation) {
    DzVec3 v(3, 0, 4);
    EXPECT_FLOAT_EQ(v.normalize(), 5.0f);
    EXPECT_TRUE(v.equals(DzVec3(0.6f, 0, 0.8f)));
    DzVec3 zero = DzVec3::zero();
    EXPECT_FLOAT_EQ(zero.normalize(), 0.0f);
    EXPECT_EQ(zero, DzVec3(0, 0, 0)); // left as it was, no NaN
    EXPECT_EQ(DzVec3(1, 0, 0).cross(DzVec3(0, 1, 0)), DzVec3(0, 0, 1));
    EXPECT_FLOAT_EQ(DzVec3(1, 2, 3).dot(DzVec3(4, -5, 6)), 12.0f);
    EXPECT_EQ(DzVec3::linearInterp(0.25f, DzVec3(0, 0, 0), DzVec3(4, 8, -4)), DzVec3(1, 2, -1));
    DzVec3 p(1, 0, 0);
    p *= DzMatrix3::translation(DzVec3(0, 2, 0));
    EXPECT_EQ(p, DzVec3(1, 2, 0));
}

TEST(Matrix4Test, InverseAndConversionAgreeWithMatrix3) {
    DzMatrix3 m = DzMatrix3::scaling(DzVec3(2, 1, 0.5f)) * DzMatrix3(DzQuat(DzVec3(0, 0, 1), 1.1f));
    m.setTrans(DzVec3(3, -4, 5));
    const DzMatrix4 m4 = m.matrix4();
    const DzMatrix4 inv = m4.inverse();
    const DzMatrix4 prod = m4 * inv;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(prod[r][c], r == c ? 1.0f : 0.0f, 1e-5f);
        }
    }
    const DzVec3 p(1, 2, 3);
    EXPECT_TRUE(m4.multVecMatrix(p).equals(m.multPnt(p), 1e-5f));
    EXPECT_TRUE(inv.matrix3().multPnt(m.multPnt(p)).equals(p, 1e-4f));
    EXPECT_EQ(m4.transpose()[3][0], m4[0][3]);
    float zeros[16] = {};
    float out[16];
    DzMatrix4(zeros).inverse().value(out);
    EXPECT_EQ(out[0], 1.0f); // singular: identity
    EXPECT_EQ(out[1], 0.0f);
}

TEST(QuatTest, SlerpFollowsTheShortArc) {
    const DzQuat a;
    const DzQuat b(DzVec3(0, 1, 0), 1.0f);
    EXPECT_TRUE(DzQuat::slerp(a, b, 0.5f).equals(DzQuat(DzVec3(0, 1, 0), 0.5f), 1e-5));
    // The negated end point is the same rotation: the result must not take the long way.
    const DzQuat negB(-b.m_x, -b.m_y, -b.m_z, -b.m_w, false);
    EXPECT_TRUE(DzQuat::slerp(a, negB, 0.5f).equals(DzQuat(DzVec3(0, 1, 0), 0.5f), 1e-5));
    EXPECT_TRUE((b * b.inverse()).isIdentity());
    // Raw components are taken x, y, z, w and normalised unless asked not to.
    const DzQuat raw(0, 0, 2, 0);
    EXPECT_DOUBLE_EQ(raw.m_z, 1.0);
    const DzQuat kept(0, 0, 2, 0, false);
    EXPECT_DOUBLE_EQ(kept.m_z, 2.0);
}
