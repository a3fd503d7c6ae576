// Units and axes between a model file and the host, which works in
// centimetres with Y up (right-handed). A conversion is a uniform scale times
// a signed permutation of the axes, K = s * A, applied to every point
// (K p), to every transform by conjugation (K M K^-1, so a node's local
// matrix stays rigid) and to keys by their parts.
#pragma once

#include "model/model_notes.h"
#include "model/space_math.h"

#include <string>

struct aiScene;

namespace yfx {
namespace model {

class SpaceConversion {
public:
    // The identity: centimetres, Y up.
    SpaceConversion() = default;

    // Host axis i takes source axis axis[i] times sign[i]; false (and no
    // change) unless the axes are a permutation, the signs are +1 or -1, and
    // the result keeps right-handedness.
    bool setAxes(const int axis[3], const int sign[3]);
    // The scale s: centimetres per model unit; ignored unless finite and > 0.
    void setCentimetresPerUnit(double cm);

    double centimetresPerUnit() const { return m_scale; }
    bool axesChanged() const;
    bool isIdentity() const { return m_scale == 1.0 && !axesChanged(); }

    Vec3 point(const Vec3& p) const;     // K p
    Vec3 direction(const Vec3& d) const; // A d
    Mat4 transform(const Mat4& m) const; // K m K^-1
    Quat rotation(const Quat& q) const;  // A q A^-1
    Vec3 scale(const Vec3& s) const;     // per-axis scale moved to the host's axes

    // The conversion the other way (host to model).
    SpaceConversion inverse() const;

private:
    Mat4 axesMatrix() const;
    double m_scale = 1.0;
    int m_axis[3] = {0, 1, 2};
    int m_sign[3] = {1, 1, 1};
};

// How a model read from a file of this extension (lower case, without the
// dot) goes into the host: the format's unit (glTF, Collada as Assimp gives
// it, LightWave: metres; FBX: its unit scale; 3MF: millimetres; formats
// without a unit: 1 unit = 1 cm) unless `cmPerUnitOverride` > 0 names one,
// and the axis system the scene's metadata gives (UpAxis, FrontAxis,
// CoordAxis and their signs, as FBX files carry them; Y up otherwise). What
// was applied goes into `notes`.
SpaceConversion modelToHost(const aiScene& scene, const std::string& extension,
                            double cmPerUnitOverride, ModelNotes& notes);

// How a host scene goes into a file of this extension: the unit the
// format's writer declares (glTF and Collada metres, FBX centimetres, 3MF
// millimetres; centimetres for formats without a unit), Y up.
SpaceConversion hostToModel(const std::string& extension, ModelNotes& notes);

} // namespace model
} // namespace yfx
