// DzBoneBinding: the weights by which one bone deforms a skin: a general weight
// map, a scale map and optional per-axis (TriAx local) maps.
// Weight maps are shared by reference count: the binding holds a reference to
// each map it is given and lets go of it when the map is replaced or the binding
// is deleted.
//
// What still differs from the host: createAveragedGeneralMap is const and gives
// a plain pointer the caller owns (the host's is not const and gives a shared
// pointer); getFigure is the stand-in's own. Bulge bindings, the binding matrix
// and locking are left out. The host's header includes dzweightmap.h; here
// DzWeightMap is only declared, so a caller that uses a map includes it.
#pragma once

#include "dzelement.h"

#include <QtCore/QPointer>

class DzBone;
class DzFigure;
class DzNode;
class DzWeightMap;

class DZ_EXPORT DzBoneBinding : public DzElement {
    Q_OBJECT
public:
    enum LocalAveragingOption {
        FIRST_AXIS = 0x01,
        SECOND_AXIS = 0x02,
        THIRD_AXIS = 0x04,
        SCALE_MAP = 0x08,
        USE_GENERAL_MAP = 0x10,
        DEFAULT_AVERAGE = USE_GENERAL_MAP | SECOND_AXIS | THIRD_AXIS
    };
    Q_DECLARE_FLAGS(LocalAveragingOptions, LocalAveragingOption)

    DzBoneBinding();
    ~DzBoneBinding() override;

    // A new general map (unreferenced, owned by the caller) averaged over the
    // selected maps: the local maps of the first, second and third axis of the
    // bone's rotation order and the scale map, each as selected and present.
    // With USE_GENERAL_MAP an existing general map is copied instead.
    // NULL when no selected map exists or the selected maps differ in length.
    DzWeightMap* createAveragedGeneralMap(LocalAveragingOptions opt = DEFAULT_AVERAGE) const;

public slots:
    // NULL when the bone is gone or was never set.
    DzNode* getBone() const;
    void setBone(DzBone* bone);
    DzFigure* getFigure() const;
    void setFigure(DzFigure* figure);

    DzWeightMap* getWeights() const { return m_general; }
    // Sets, or with NULL clears, the general map.
    DzError setWeights(DzWeightMap* map);
    DzWeightMap* getScaleWeights() const { return m_scale; }
    DzError setScaleWeights(DzWeightMap* map);
    // axis 0, 1, 2 = X, Y, Z; NULL for another axis.
    DzWeightMap* getLocalWeights(int axis) const;
    // DZ_ILLEGAL_ARGUMENT_ERROR for an axis outside 0..2.
    DzError setLocalWeights(DzWeightMap* map, int axis);
    bool hasLocalWeights() const;

private:
    static void replace(DzWeightMap*& slot, DzWeightMap* map);

    QPointer<DzBone> m_bone;
    QPointer<DzFigure> m_figure;
    DzWeightMap* m_general = nullptr;
    DzWeightMap* m_scale = nullptr;
    DzWeightMap* m_local[3] = {nullptr, nullptr, nullptr};
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DzBoneBinding::LocalAveragingOptions)
