// Append one: the array grows by one default element at its end, set up as
// below, and the new element is returned. When the allocation fails the array
// is left as it was and the result is nullptr. Earlier elements may move.
#pragma once

#include <cstdint>

#include "document/scene_doc.h"

namespace yfx {

DocLight* addLight(SceneDoc& doc);
// Wide name copied, 8-bit name converted from it. Refused when name is null.
DocGroup* addGroup(SceneDoc& doc, const wchar_t* name);
// Named "YFXMesh%d" with its own index.
DocMesh* addMesh(SceneDoc& doc);
// The material "Unassigned" with the default colours, shininess and opacity.
DocMaterial* addUnassignedMaterial(SceneDoc& doc);
DocBone* addBone(SceneDoc& doc);
// Named "DefaultAnim".
DocAnimation* addAnimation(SceneDoc& doc);
DocSurface* addSurface(DocMesh& mesh);
// A weight entry with bone -1 and weight 0.
DocWeight* addWeightSlot(DocVertex& vertex);
DocPositionKey* addPositionKey(DocTrack& track, float time, const float value[3]);
DocRotationKey* addRotationKey(DocTrack& track, float time, const float quaternion[4]);
DocScaleKey* addScaleKey(DocTrack& track, float time, const float value[3]);

} // namespace yfx
