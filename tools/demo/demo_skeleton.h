// The demo figure's skeleton: the table of its bones (where each lies at rest,
// how thick its tube is, which surface covers it, how it swings) and the bone
// nodes made from that table.
#pragma once

#include <dzrotationorder.h>
#include <dzvec3.h>

#include <QtCore/QString>

#include <vector>

class DzBone;
class DzFigure;

namespace yfx_demo {

// The body mesh's surfaces, in the order of the shape's materials.
enum BodySurface { kTorso, kHead, kArms, kHands, kLegs, kFeet, kBodySurfaceCount };

struct DemoBoneSpec {
    QString name;
    int parent = -1; // index of the parent bone in the table; -1: the figure
    DzVec3 origin = DzVec3(0.0f, 0.0f, 0.0f); // rest position of the joint, scene space
    DzVec3 end = DzVec3(0.0f, 0.0f, 0.0f);    // rest position of the bone's end point
    float radius = 1.0f;
    DzRotationOrder::RotOrder order = DzRotationOrder::XYZ;
    DzVec3 orientation = DzVec3(0.0f, 0.0f, 0.0f); // Euler degrees, applied in XYZ order
    BodySurface surface = kTorso;
    int swingAxis = 0; // 0 X, 1 Y, 2 Z: the rotation the animation keys
    float swingDegrees = 0.0f;
};

// The 20 bones of the base skeleton (hip first, every parent before its
// children), then `extraBones` more as chains of six: chain c hangs off the
// head, left hand, right hand, left foot and right foot in turn.
std::vector<DemoBoneSpec> demoBoneSpecs(int extraBones);

// Makes one bone node per table entry, named and labelled after it, with its
// origin, end point and orientation as defaults and its rotation order, and
// hangs it under its parent (the figure for the root). Returned in table order.
std::vector<DzBone*> makeDemoBones(DzFigure& figure, const std::vector<DemoBoneSpec>& specs);

} // namespace yfx_demo
