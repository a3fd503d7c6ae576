#include "doc_poses.h"

#include "platform/name_pair.h"

namespace modeltest {

namespace {

Affine compose(const float t[3], const float q[4], const float s[3]) {
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    Affine m;
    const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                            {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                            {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            m.r[i][j] = r[i][j] * s[j];
        }
        m.t[std::size_t(i)] = t[i];
    }
    return m;
}

// Hamilton product a * b, (x, y, z, w).
void multiply(const float a[4], const float b[4], float out[4]) {
    out[0] = a[3] * b[0] + a[0] * b[3] + a[1] * b[2] - a[2] * b[1];
    out[1] = a[3] * b[1] - a[0] * b[2] + a[1] * b[3] + a[2] * b[0];
    out[2] = a[3] * b[2] + a[0] * b[1] - a[1] * b[0] + a[2] * b[3];
    out[3] = a[3] * b[3] - a[0] * b[0] - a[1] * b[1] - a[2] * b[2];
}

std::vector<Affine> chain(const yfx::SceneDoc& doc, const std::vector<Affine>& locals) {
    std::vector<Affine> worlds(locals.size());
    for (std::size_t i = 0; i < locals.size(); ++i) {
        const int p = doc.bones[i].parent;
        worlds[i] = p >= 0 && std::size_t(p) < i ? worlds[std::size_t(p)] * locals[i] : locals[i];
    }
    return worlds;
}

} // namespace

int boneNamed(const yfx::SceneDoc& doc, const std::string& name) {
    for (std::size_t i = 0; i < doc.bones.size(); ++i) {
        if (boneName(doc, int(i)) == name) {
            return int(i);
        }
    }
    return -1;
}

std::string boneName(const yfx::SceneDoc& doc, int bone) {
    return bone >= 0 && std::size_t(bone) < doc.bones.size()
               ? std::string(doc.bones[std::size_t(bone)].name.ansi)
               : std::string();
}

std::vector<Affine> restWorlds(const yfx::SceneDoc& doc) {
    std::vector<Affine> locals;
    for (const yfx::DocBone& b : doc.bones) {
        locals.push_back(compose(b.position, b.rotation, b.scale));
    }
    return chain(doc, locals);
}

std::vector<Affine> keyWorlds(const yfx::SceneDoc& doc, std::size_t k) {
    std::vector<Affine> locals;
    const yfx::DocAnimation& a = doc.animations.at(0);
    for (std::size_t i = 0; i < doc.bones.size(); ++i) {
        const yfx::DocBone& b = doc.bones[i];
        const yfx::DocTrack& t = a.tracks.at(i);
        const float* dv = t.position_keys.at(k).value;
        const float* dq = t.rotation_keys.at(k).value;
        const float* ds = t.scale_keys.at(k).value;
        // Position key: R^T (v - P), so v = P + R d (R the rest rotation).
        const float noScale[3] = {1, 1, 1};
        const Affine restRotation = compose(b.position, b.rotation, noScale);
        const Vec3 v = restRotation * Vec3{dv[0], dv[1], dv[2]};
        const float position[3] = {float(v[0]), float(v[1]), float(v[2])};
        float rotation[4];
        multiply(b.rotation, dq, rotation);
        const float scale[3] = {b.scale[0] * ds[0], b.scale[1] * ds[1], b.scale[2] * ds[2]};
        locals.push_back(compose(position, rotation, scale));
    }
    return chain(doc, locals);
}

} // namespace modeltest
