#include "model/space_conversion.h"

#include <assimp/metadata.h>
#include <assimp/scene.h>

#include <cmath>

namespace yfx {
namespace model {

namespace {

constexpr double kMetre = 100.0;
constexpr double kMillimetre = 0.1;

bool isOneOf(const std::string& ext, std::initializer_list<const char*> list) {
    for (const char* e : list) {
        if (ext == e) {
            return true;
        }
    }
    return false;
}

// A number from the scene's metadata, whatever its stored type.
bool metaNumber(const aiMetadata* meta, const char* key, double& out) {
    if (meta == nullptr) {
        return false;
    }
    for (unsigned i = 0; i < meta->mNumProperties; ++i) {
        if (meta->mKeys == nullptr || meta->mValues == nullptr ||
            std::string(meta->mKeys[i].C_Str()) != key || meta->mValues[i].mData == nullptr) {
            continue;
        }
        const aiMetadataEntry& e = meta->mValues[i];
        switch (e.mType) {
        case AI_BOOL:
            out = *static_cast<const bool*>(e.mData) ? 1.0 : 0.0;
            return true;
        case AI_INT32:
            out = *static_cast<const int32_t*>(e.mData);
            return true;
        case AI_UINT64:
            out = double(*static_cast<const uint64_t*>(e.mData));
            return true;
        case AI_FLOAT:
            out = *static_cast<const float*>(e.mData);
            return true;
        case AI_DOUBLE:
            out = *static_cast<const double*>(e.mData);
            return true;
        default:
            return false;
        }
    }
    return false;
}

const char* axisName(int axis, int sign) {
    static const char* const names[2][3] = {{"-X", "-Y", "-Z"}, {"X", "Y", "Z"}};
    return names[sign > 0 ? 1 : 0][axis];
}

// The axis system the metadata names, when it names a complete one.
bool metaAxes(const aiScene& scene, int axis[3], int sign[3]) {
    const aiMetadata* meta = scene.mMetaData;
    double up = 0, upSign = 0, front = 0, frontSign = 0, coord = 0, coordSign = 0;
    if (!metaNumber(meta, "UpAxis", up) || !metaNumber(meta, "UpAxisSign", upSign) ||
        !metaNumber(meta, "FrontAxis", front) || !metaNumber(meta, "FrontAxisSign", frontSign) ||
        !metaNumber(meta, "CoordAxis", coord) || !metaNumber(meta, "CoordAxisSign", coordSign)) {
        return false;
    }
    // Host x is the file's coordinate (right) axis, y its up axis, z its front axis.
    axis[0] = int(coord);
    axis[1] = int(up);
    axis[2] = int(front);
    sign[0] = coordSign < 0 ? -1 : 1;
    sign[1] = upSign < 0 ? -1 : 1;
    sign[2] = frontSign < 0 ? -1 : 1;
    return true;
}

std::string unitText(double cm) {
    if (cm == kMetre) {
        return "metres";
    }
    if (cm == 1.0) {
        return "centimetres";
    }
    if (cm == kMillimetre) {
        return "millimetres";
    }
    return format("units of %g cm", cm);
}

} // namespace

bool SpaceConversion::setAxes(const int axis[3], const int sign[3]) {
    bool seen[3] = {false, false, false};
    for (int i = 0; i < 3; ++i) {
        if (axis[i] < 0 || axis[i] > 2 || seen[axis[i]] || (sign[i] != 1 && sign[i] != -1)) {
            return false;
        }
        seen[axis[i]] = true;
    }
    SpaceConversion trial = *this;
    for (int i = 0; i < 3; ++i) {
        trial.m_axis[i] = axis[i];
        trial.m_sign[i] = sign[i];
    }
    if (trial.axesMatrix().Determinant() < 0) {
        return false;
    }
    *this = trial;
    return true;
}

void SpaceConversion::setCentimetresPerUnit(double cm) {
    if (std::isfinite(cm) && cm > 0) {
        m_scale = cm;
    }
}

bool SpaceConversion::axesChanged() const {
    for (int i = 0; i < 3; ++i) {
        if (m_axis[i] != i || m_sign[i] != 1) {
            return true;
        }
    }
    return false;
}

Mat4 SpaceConversion::axesMatrix() const {
    Mat4 a(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    for (int i = 0; i < 3; ++i) {
        a[i][m_axis[i]] = m_sign[i];
    }
    return a;
}

Vec3 SpaceConversion::direction(const Vec3& d) const {
    return Vec3(m_sign[0] * d[m_axis[0]], m_sign[1] * d[m_axis[1]], m_sign[2] * d[m_axis[2]]);
}

Vec3 SpaceConversion::point(const Vec3& p) const {
    return direction(p) * m_scale;
}

Mat4 SpaceConversion::transform(const Mat4& m) const {
    if (isIdentity()) {
        return m;
    }
    const Mat4 a = axesMatrix();
    Mat4 at = a;
    at.Transpose(); // a signed permutation: its inverse is its transpose
    Mat4 out = a * m * at;
    out.a4 *= m_scale;
    out.b4 *= m_scale;
    out.c4 *= m_scale;
    return out;
}

Quat SpaceConversion::rotation(const Quat& q) const {
    if (!axesChanged()) {
        return q;
    }
    Mat4 r(aiMatrix3x3t<double>(q.GetMatrix()));
    const Mat4 a = axesMatrix();
    Mat4 at = a;
    at.Transpose();
    r = a * r * at;
    Quat out{aiMatrix3x3t<double>(r)};
    out.Normalize();
    return out;
}

Vec3 SpaceConversion::scale(const Vec3& s) const {
    return Vec3(s[m_axis[0]], s[m_axis[1]], s[m_axis[2]]);
}

SpaceConversion SpaceConversion::inverse() const {
    SpaceConversion inv;
    inv.m_scale = 1.0 / m_scale;
    for (int i = 0; i < 3; ++i) {
        inv.m_axis[m_axis[i]] = i;
        inv.m_sign[m_axis[i]] = m_sign[i];
    }
    return inv;
}

SpaceConversion modelToHost(const aiScene& scene, const std::string& ext, double cmOverride,
                            ModelNotes& notes) {
    SpaceConversion space;
    double cm = 1.0;
    std::string why;
    if (cmOverride > 0 && std::isfinite(cmOverride)) {
        cm = cmOverride;
        why = "as asked";
    } else if (isOneOf(ext, {"gltf", "glb", "dae", "zae", "lwo", "lws", "lxo", "blend"})) {
        cm = kMetre;
        why = "the format's unit";
    } else if (ext == "3mf") {
        cm = kMillimetre;
        why = "the format's unit";
    } else if (ext == "fbx") {
        double factor = 1.0;
        if (metaNumber(scene.mMetaData, "UnitScaleFactor", factor) && std::isfinite(factor) &&
            factor > 0) {
            cm = factor;
        }
        why = "the file's unit scale";
    } else {
        why = "the format names no unit";
    }
    space.setCentimetresPerUnit(cm);
    notes.apply(cm == 1.0 ? format("units: centimetres (%s): not scaled", why.c_str())
                          : format("units: %s (%s): scaled by %g to the host's centimetres",
                                   unitText(cm).c_str(), why.c_str(), cm));

    int axis[3], sign[3];
    if (metaAxes(scene, axis, sign)) {
        if (space.setAxes(axis, sign)) {
            notes.apply(space.axesChanged()
                            ? format("axes: %s up, %s front, %s right turned to the host's Y up",
                                     axisName(axis[1], sign[1]), axisName(axis[2], sign[2]),
                                     axisName(axis[0], sign[0]))
                            : std::string("axes: Y up as the host: unchanged"));
        } else {
            notes.drop("axis system of the file: not a right-handed one the host can take "
                       "by turning; the axes are taken as they are (Y up)");
        }
    } else {
        notes.apply("axes: Y up (as the format gives it): unchanged");
    }
    return space;
}

SpaceConversion hostToModel(const std::string& ext, ModelNotes& notes) {
    SpaceConversion toModel;
    double cm = 1.0;
    if (isOneOf(ext, {"gltf", "glb", "dae"})) {
        cm = kMetre;
    } else if (ext == "3mf") {
        cm = kMillimetre;
    }
    toModel.setCentimetresPerUnit(1.0 / cm);
    notes.apply(cm == 1.0 ? std::string("units: written in the host's centimetres")
                          : format("units: centimetres scaled by %g to %s", 1.0 / cm,
                                   unitText(cm).c_str()));
    notes.apply("axes: Y up, as the host");
    return toModel;
}

} // namespace model
} // namespace yfx
