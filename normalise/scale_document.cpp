#include "normalise/scale_document.h"

#include "document/doc_bounds.h"

namespace yfx {
namespace normalise {

namespace {

void scaleAbout(float position[3], const float centre[3], float factor) {
    for (int a = 0; a < 3; ++a) {
        position[a] = (position[a] - centre[a]) * factor + centre[a];
    }
}

void scaleBy(float value[3], float factor) {
    for (int a = 0; a < 3; ++a) {
        value[a] *= factor;
    }
}

} // namespace

void scaleDocument(SceneDoc& doc, float factor) {
    DocBounds bounds;
    computeBounds(doc, bounds);
    const float* centre = bounds.centre;
    for (DocAnimation& animation : doc.animations) {
        for (DocTrack& track : animation.tracks) {
            for (DocPositionKey& key : track.position_keys) {
                scaleBy(key.value, factor);
            }
        }
    }
    for (DocBone& bone : doc.bones) {
        if (bone.parent < 0) {
            scaleAbout(bone.position, centre, factor);
        } else {
            scaleBy(bone.position, factor);
        }
    }
    for (DocVertex& vertex : doc.vertices) {
        scaleAbout(vertex.position, centre, factor);
    }
    for (DocLight& light : doc.lights) {
        scaleAbout(light.transform.position, centre, factor);
        light.range_a *= factor;
        light.range_b *= factor;
    }
    for (DocCamera& camera : doc.cameras) {
        scaleAbout(camera.transform.position, centre, factor);
    }
}

} // namespace normalise
} // namespace yfx
