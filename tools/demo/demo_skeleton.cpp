#include "tools/demo/demo_skeleton.h"

#include <dzbone.h>
#include <dzfigure.h>
#include <dzquat.h>

#include <cmath>

namespace yfx_demo {

namespace {

constexpr int kChainLength = 6;
constexpr float kDegreesToRadians = 0.017453292519943295f;

struct BaseBone {
    const char* name;
    int parent;
    float origin[3];
    float end[3];
    float radius;
    DzRotationOrder::RotOrder order;
    float orientation[3];
    BodySurface surface;
    int swingAxis;
    float swingDegrees;
};

// The left side; the right side mirrors it across x = 0.
constexpr BaseBone kSpine[] = {
    {"hip", -1, {0, 100, 0}, {0, 108, 0}, 12.0f, DzRotationOrder::YZX, {0, 0, 0}, kTorso, 1, 8},
    {"pelvis", 0, {0, 100, 0}, {0, 90, 0}, 12.0f, DzRotationOrder::YZX, {0, 0, 0}, kTorso, 0, 4},
    {"abdomen", 0, {0, 108, 0}, {0, 124, 0}, 11.0f, DzRotationOrder::YZX, {0, 0, 0}, kTorso, 0, 6},
    {"chest", 2, {0, 124, 0}, {0, 142, 0}, 13.0f, DzRotationOrder::YZX, {0, 0, 0}, kTorso, 1, 8},
    {"neck", 3, {0, 143, 0}, {0, 153, 0}, 5.0f, DzRotationOrder::YZX, {0, 0, 0}, kHead, 0, 6},
    {"head", 4, {0, 153, 0}, {0, 175, 0}, 9.0f, DzRotationOrder::YZX, {0, 0, 0}, kHead, 1, 20},
};
// Parents given as table indices; for a mirrored bone a parent index inside
// the limb is moved to the mirrored limb by the caller.
constexpr BaseBone kLeftArm[] = {
    {"lCollar",
     3,
     {3, 140, 0},
     {15, 142, 0},
     5.0f,
     DzRotationOrder::XYZ,
     {0, 0, 9.5f},
     kArms,
     2,
     5},
    {"lShldr", 6, {15, 142, 0}, {42, 140, 0}, 5.0f, DzRotationOrder::XZY, {0, 0, -4}, kArms, 2, 35},
    {"lForeArm",
     7,
     {42, 140, 0},
     {66, 140, 0},
     4.0f,
     DzRotationOrder::XZY,
     {0, 0, 0},
     kArms,
     1,
     30},
    {"lHand", 8, {66, 140, 0}, {84, 140, 0}, 3.5f, DzRotationOrder::XZY, {0, 0, 0}, kHands, 0, 15},
};
constexpr BaseBone kLeftLeg[] = {
    {"lThigh", 1, {9, 92, 0}, {9, 52, 0}, 7.0f, DzRotationOrder::YZX, {0, 0, 0}, kLegs, 0, 30},
    {"lShin", 14, {9, 52, 0}, {9, 9, 0}, 5.0f, DzRotationOrder::YZX, {0, 0, 0}, kLegs, 0, 35},
    {"lFoot", 15, {9, 9, 0}, {9, 2, 16}, 4.0f, DzRotationOrder::YZX, {-24, 0, 0}, kFeet, 0, 15},
};

DemoBoneSpec specOf(const BaseBone& b, bool mirrored, int parent) {
    DemoBoneSpec s;
    const float sx = mirrored ? -1.0f : 1.0f;
    s.name = QString::fromLatin1(b.name);
    if (mirrored) {
        s.name[0] = QLatin1Char('r');
    }
    s.parent = parent;
    s.origin = DzVec3(sx * b.origin[0], b.origin[1], b.origin[2]);
    s.end = DzVec3(sx * b.end[0], b.end[1], b.end[2]);
    s.radius = b.radius;
    s.order = b.order;
    // Mirroring across x = 0 keeps rotations about X and turns those about Y and Z.
    s.orientation = DzVec3(b.orientation[0], sx * b.orientation[1], sx * b.orientation[2]);
    s.surface = b.surface;
    s.swingAxis = b.swingAxis;
    s.swingDegrees = b.swingDegrees;
    return s;
}

// Appends a limb; `first` is the table index its first bone gets.
void appendLimb(std::vector<DemoBoneSpec>& specs, const BaseBone* limb, int count, int first,
                bool mirrored, int leftFirst) {
    for (int i = 0; i < count; ++i) {
        // Parents inside the limb follow the limb; the limb's root keeps its spine parent.
        const int parent =
            limb[i].parent >= leftFirst ? limb[i].parent - leftFirst + first : limb[i].parent;
        specs.push_back(specOf(limb[i], mirrored, parent));
    }
}

// One chain: where it starts, its direction, segment length and thickness.
void appendChain(std::vector<DemoBoneSpec>& specs, int anchor, int chainOfAnchor, int length) {
    const DemoBoneSpec a = specs[std::size_t(anchor)]; // a copy: specs grows below
    const float spread = std::fmod(float(chainOfAnchor) * 1.1f, 6.0f) - 3.0f;
    DzVec3 start(0, 0, 0), dir(0, 0, 0);
    float segment = 1.0f, radius = 0.5f;
    int swingAxis = 0;
    if (a.surface == kHead) { // hair strands down the back of the head
        const float angle = std::fmod(float(chainOfAnchor) * 0.53f, 2.8f) - 1.4f;
        start = DzVec3(7.0f * std::sin(angle), 166.0f, -7.0f * std::cos(angle));
        dir = DzVec3(0.0f, -1.0f, -0.2f).normalized();
        segment = 4.0f, radius = 0.8f;
    } else if (a.surface == kHands) { // fingers along the arm's line
        start = a.end + DzVec3(0.0f, 0.0f, spread);
        dir = DzVec3(a.end.m_x < 0 ? -1.0f : 1.0f, 0.0f, 0.0f);
        segment = 1.5f, radius = 0.6f, swingAxis = 2;
    } else { // toes pointing forward
        start = a.end + DzVec3(a.end.m_x < 0 ? -spread : spread, 0.0f, 0.0f);
        dir = DzVec3(0.0f, 0.0f, 1.0f);
        segment = 1.0f, radius = 0.5f;
    }
    for (int j = 0; j < length; ++j) {
        DemoBoneSpec s;
        s.name = QStringLiteral("%1Chain%2_%3").arg(a.name).arg(chainOfAnchor).arg(j);
        s.parent = j == 0 ? anchor : int(specs.size()) - 1;
        s.origin = start + dir * (segment * float(j));
        s.end = start + dir * (segment * float(j + 1));
        s.radius = radius;
        s.order = DzRotationOrder::XYZ;
        s.orientation = DzVec3(0, 0, 0);
        s.surface = a.surface;
        s.swingAxis = swingAxis;
        s.swingDegrees = 10.0f;
        specs.push_back(s);
    }
}

} // namespace

std::vector<DemoBoneSpec> demoBoneSpecs(int extraBones) {
    std::vector<DemoBoneSpec> specs;
    specs.reserve(std::size_t(20 + (extraBones > 0 ? extraBones : 0)));
    for (const BaseBone& b : kSpine) {
        specs.push_back(specOf(b, false, b.parent));
    }
    appendLimb(specs, kLeftArm, 4, 6, false, 6);
    appendLimb(specs, kLeftArm, 4, 10, true, 6);
    appendLimb(specs, kLeftLeg, 3, 14, false, 14);
    appendLimb(specs, kLeftLeg, 3, 17, true, 14);

    const int anchors[] = {5, 9, 13, 16, 19}; // head, lHand, rHand, lFoot, rFoot
    int left = extraBones;
    for (int chain = 0; left > 0; ++chain) {
        const int length = left < kChainLength ? left : kChainLength;
        appendChain(specs, anchors[chain % 5], chain / 5, length);
        left -= length;
    }
    return specs;
}

std::vector<DzBone*> makeDemoBones(DzFigure& figure, const std::vector<DemoBoneSpec>& specs) {
    std::vector<DzBone*> bones;
    bones.reserve(specs.size());
    for (const DemoBoneSpec& s : specs) {
        auto* bone = new DzBone();
        bone->setName(s.name);
        bone->setLabel(s.name);
        bone->setRotationOrder(DzRotationOrder(s.order));
        bone->setOrigin(s.origin, true);
        bone->setEndPoint(s.end, true);
        const DzVec3 radians = s.orientation * kDegreesToRadians;
        bone->setOrientation(DzQuat(DzRotationOrder(DzRotationOrder::XYZ), radians), true);
        DzNode* parent = s.parent >= 0 ? static_cast<DzNode*>(bones[std::size_t(s.parent)])
                                       : static_cast<DzNode*>(&figure);
        parent->addNodeChild(bone);
        bones.push_back(bone);
    }
    return bones;
}

} // namespace yfx_demo
