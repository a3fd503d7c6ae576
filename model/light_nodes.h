// Host lights and cameras for a model's lights and cameras. A model light or
// camera sits at its node, offset by its own position and pointing along its
// own direction; the host's looks along its -Z axis from its origin, so each
// comes with the frame that carries the host node onto the model's
// (`frame`: host node's world = model node's world * frame).
//
// Lights: directional, point and spot become distant, point and spot lights;
// the colour's brightest component above 1 becomes the intensity (the host
// keeps colours in 0..1); a spot's outer cone angle its spread. Ambient and
// area lights have no host kind: a plain node keeps their place.
#pragma once

#include "model/model_notes.h"
#include "model/space_conversion.h"

struct aiCamera;
struct aiLight;
class DzNode;

namespace yfx {
namespace model {

DzNode* makeLightNode(const aiLight& light, const SpaceConversion& space, Mat4& frame,
                      ModelNotes& notes);
DzNode* makeCameraNode(const aiCamera& camera, const SpaceConversion& space, Mat4& frame,
                       ModelNotes& notes);

// The frame whose origin is `position` and whose -Z axis points along
// `forward`, with Y as near `up` as it can be.
Mat4 lookFrame(const Vec3& position, const Vec3& forward, const Vec3& up);

} // namespace model
} // namespace yfx
