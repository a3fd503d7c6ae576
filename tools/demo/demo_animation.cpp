#include "tools/demo/demo_animation.h"

#include "tools/demo/demo_scene.h"

#include <dzbone.h>
#include <dzfloatproperty.h>
#include <dzscene.h>

#include <cmath>

namespace yfx_demo {

namespace {

constexpr int kKeyEvery = 5;          // frames between keys
constexpr float kCycleFrames = 30.0f; // one swing back and forth

DzFloatProperty* rotationControl(DzNode& node, int axis) {
    switch (axis) {
    case 1:
        return node.getYRotControl();
    case 2:
        return node.getZRotControl();
    default:
        return node.getXRotControl();
    }
}

} // namespace

void keyDemoAnimation(DzNode& figure, const std::vector<DzBone*>& bones,
                      const std::vector<DemoBoneSpec>& specs, int frames) {
    dzScene->setTimeStep(kTimeStep);
    const DzTimeRange range(0, frames * kTimeStep);
    dzScene->setPlayRange(range);
    dzScene->setAnimRange(range);

    std::vector<int> keyFrames;
    for (int f = 0; f < frames; f += kKeyEvery) {
        keyFrames.push_back(f);
    }
    keyFrames.push_back(frames);

    const float twoPi = 6.2831853071795864f;
    for (std::size_t b = 0; b < bones.size() && b < specs.size(); ++b) {
        const DemoBoneSpec& s = specs[b];
        if (s.swingDegrees == 0.0f) {
            continue;
        }
        // Right limbs swing against left ones; chain bones follow each other.
        const float phase = (s.name.startsWith(QLatin1Char('r')) ? 0.5f : 0.0f) +
                            0.08f * float(s.parent >= 0 ? s.parent % 7 : 0);
        DzFloatProperty* control = rotationControl(*bones[b], s.swingAxis);
        for (int f : keyFrames) {
            const float angle =
                s.swingDegrees * std::sin(twoPi * (float(f) / kCycleFrames + phase));
            control->setValue(f * kTimeStep, angle);
        }
    }
    for (int f : keyFrames) {
        const DzTime t = f * kTimeStep;
        figure.getZPosControl()->setValue(t, 1.5f * float(f));
        figure.getYPosControl()->setValue(t, 1.0f * std::sin(twoPi * float(f) / 15.0f));
    }
}

} // namespace yfx_demo
