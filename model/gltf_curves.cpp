#include "model/gltf_curves.h"

#include "model/gltf_source.h"

#include <assimp/anim.h>
#include <assimp/scene.h>

#include <cmath>

namespace yfx {
namespace model {

using nlohmann::json;

namespace {

struct Counts {
    std::size_t read = 0, step = 0, spline = 0, integers = 0;
};

bool allFinite(const std::vector<double>& values) {
    for (const double v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

// The curve of one sampler; false with `why` when the file's data do not
// make one that matches Assimp's `keys` keys.
bool readCurve(GltfSource& source, std::size_t input, std::size_t output, KeyInterpolation mode,
               int components, unsigned keys, KeyCurve& curve, std::string& why) {
    GltfNumbers times, values;
    if (!source.readAccessor(input, times, why) || !source.readAccessor(output, values, why)) {
        return false;
    }
    const std::size_t perKey = mode == KeyInterpolation::CubicSpline ? 3 : 1;
    if (times.components != 1 || times.count != keys || keys == 0) {
        why = "its key times are not the keys Assimp gives";
        return false;
    }
    if (values.components != components || values.count / perKey != times.count ||
        values.count % perKey != 0) {
        why = "its values do not match its key times";
        return false;
    }
    for (std::size_t k = 1; k < times.count; ++k) {
        if (!(times.values[k] > times.values[k - 1])) {
            why = "its key times do not ascend";
            return false;
        }
    }
    if (!allFinite(times.values) || !allFinite(values.values)) {
        why = "it holds numbers that are not finite";
        return false;
    }
    curve.interpolation = mode;
    curve.components = components;
    curve.times = std::move(times.values);
    const std::size_t c = std::size_t(components);
    if (perKey == 1) {
        curve.values = std::move(values.values);
        return true;
    }
    curve.values.resize(keys * c);
    curve.inTangents.resize(keys * c);
    curve.outTangents.resize(keys * c);
    for (std::size_t k = 0; k < keys; ++k) {
        for (std::size_t i = 0; i < c; ++i) {
            curve.inTangents[k * c + i] = values.values[(3 * k) * c + i];
            curve.values[k * c + i] = values.values[(3 * k + 1) * c + i];
            curve.outTangents[k * c + i] = values.values[(3 * k + 2) * c + i];
        }
    }
    return true;
}

} // namespace

AnimationCurves readGltfCurves(const aiScene& scene, int animation, GltfSource& source,
                               ModelNotes& notes) {
    AnimationCurves curves;
    if (animation < 0 || scene.mAnimations == nullptr ||
        unsigned(animation) >= scene.mNumAnimations || scene.mAnimations[animation] == nullptr) {
        return curves;
    }
    const aiAnimation& anim = *scene.mAnimations[animation];
    const json* a = source.item("animations", std::size_t(animation));
    const json* channels = a != nullptr ? gltfArray(*a, "channels") : nullptr;
    const json* samplers = a != nullptr ? gltfArray(*a, "samplers") : nullptr;
    if (channels == nullptr || samplers == nullptr ||
        source.itemCount("animations") != scene.mNumAnimations) {
        return curves;
    }
    // Assimp's channels by node name; a name two channels share names no one node.
    std::unordered_map<std::string, const aiNodeAnim*> assimpChannels;
    for (unsigned c = 0; anim.mChannels != nullptr && c < anim.mNumChannels; ++c) {
        if (const aiNodeAnim* channel = anim.mChannels[c]) {
            const auto placed = assimpChannels.emplace(channel->mNodeName.C_Str(), channel);
            if (!placed.second) {
                placed.first->second = nullptr;
            }
        }
    }
    Counts counts;
    for (const json& channel : *channels) {
        std::size_t s = 0, node = 0, input = 0, output = 0;
        const json* target = gltfObject(channel, "target");
        if (target == nullptr || !gltfIndex(channel, "sampler", s) ||
            !gltfIndex(*target, "node", node) || s >= samplers->size() ||
            !gltfIndex((*samplers)[s], "input", input) ||
            !gltfIndex((*samplers)[s], "output", output)) {
            continue; // Assimp makes no channel of it either
        }
        const std::string path = gltfString(*target, "path");
        const int components = path == "rotation" ? 4 : 3;
        if (path != "translation" && path != "rotation" && path != "scale") {
            continue;
        }
        const std::string interpolation = gltfString((*samplers)[s], "interpolation", "LINEAR");
        const KeyInterpolation mode = interpolation == "STEP" ? KeyInterpolation::Step
                                      : interpolation == "CUBICSPLINE"
                                          ? KeyInterpolation::CubicSpline
                                          : KeyInterpolation::Linear;
        const bool integers = source.componentTypeOf(output) != kGltfFloat;
        if (mode == KeyInterpolation::Linear && !integers) {
            continue; // Assimp's keys say it all
        }
        const json* nodeObject = source.item("nodes", node);
        const std::string name =
            nodeObject != nullptr
                ? gltfString(*nodeObject, "name", ("nodes[" + std::to_string(node) + "]").c_str())
                : std::string();
        const std::string subject = name + " " + path;
        const auto found = assimpChannels.find(name);
        if (found == assimpChannels.end() || found->second == nullptr) {
            notes.dropFor("the file's interpolation", subject,
                          found == assimpChannels.end()
                              ? "Assimp made no channel of it"
                              : "two animated nodes share its name: played linearly");
            continue;
        }
        const aiNodeAnim& keys = *found->second;
        const unsigned keyCount = path == "translation" ? keys.mNumPositionKeys
                                  : path == "rotation"  ? keys.mNumRotationKeys
                                                        : keys.mNumScalingKeys;
        KeyCurve curve;
        std::string why;
        if (!readCurve(source, input, output, mode, components, keyCount, curve, why)) {
            notes.dropFor("the file's interpolation", subject,
                          why + ": Assimp's keys are played linearly");
            continue;
        }
        NodeCurves& parts = curves[name];
        (path == "translation" ? parts.translation
         : path == "rotation"  ? parts.rotation
                               : parts.scale) = std::move(curve);
        ++counts.read;
        counts.step += mode == KeyInterpolation::Step;
        counts.spline += mode == KeyInterpolation::CubicSpline;
        counts.integers += integers;
    }
    if (counts.read > 0) {
        std::string kinds;
        const auto add = [&kinds](std::size_t n, const char* what) {
            if (n > 0) {
                kinds += (kinds.empty() ? "" : ", ") + format("%zu %s", n, what);
            }
        };
        add(counts.step, "STEP");
        add(counts.spline, "CUBICSPLINE, with their tangents");
        add(counts.integers, "with values stored as integers");
        notes.apply(format("animation '%s': %zu channel%s played as the file's samplers say (%s), "
                           "read from the file, as Assimp gives only their keys%s",
                           anim.mName.C_Str(), counts.read, counts.read == 1 ? "" : "s",
                           kinds.c_str(),
                           counts.step > 0 ? "; the host keys every frame, so a STEP key takes "
                                             "effect at the first frame at or after it"
                                           : ""));
    }
    return curves;
}

} // namespace model
} // namespace yfx
