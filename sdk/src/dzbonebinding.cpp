#include "dzbonebinding.h"

#include "dzbone.h"
#include "dzfigure.h"
#include "dzweightmap.h"

#include <vector>

DzBoneBinding::DzBoneBinding() = default;

DzBoneBinding::~DzBoneBinding() {
    replace(m_general, nullptr);
    replace(m_scale, nullptr);
    for (DzWeightMap*& map : m_local) {
        replace(map, nullptr);
    }
}

void DzBoneBinding::replace(DzWeightMap*& slot, DzWeightMap* map) {
    if (slot == map) {
        return;
    }
    if (map) {
        map->ref();
    }
    DzWeightMap* old = slot;
    slot = map;
    if (old) {
        old->deref();
    }
}

DzNode* DzBoneBinding::getBone() const {
    return m_bone.data();
}

void DzBoneBinding::setBone(DzBone* bone) {
    m_bone = bone;
}

DzFigure* DzBoneBinding::getFigure() const {
    return m_figure.data();
}

void DzBoneBinding::setFigure(DzFigure* figure) {
    m_figure = figure;
}

DzError DzBoneBinding::setWeights(DzWeightMap* map) {
    replace(m_general, map);
    return DZ_NO_ERROR;
}

DzError DzBoneBinding::setScaleWeights(DzWeightMap* map) {
    replace(m_scale, map);
    return DZ_NO_ERROR;
}

DzWeightMap* DzBoneBinding::getLocalWeights(int axis) const {
    return axis >= 0 && axis < 3 ? m_local[axis] : nullptr;
}

DzError DzBoneBinding::setLocalWeights(DzWeightMap* map, int axis) {
    if (axis < 0 || axis >= 3) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    replace(m_local[axis], map);
    return DZ_NO_ERROR;
}

bool DzBoneBinding::hasLocalWeights() const {
    return m_local[0] || m_local[1] || m_local[2];
}

DzWeightMap* DzBoneBinding::createAveragedGeneralMap(LocalAveragingOptions opt) const {
    if ((opt & USE_GENERAL_MAP) && m_general) {
        auto* copy = new DzWeightMap(m_general->getNumWeights(), m_general->getName());
        for (int i = 0; i < m_general->getNumWeights(); ++i) {
            copy->setWeight(i, m_general->getWeight(i));
        }
        return copy;
    }
    // The axes in the order the bone rotates about them.
    const DzRotationOrder order = m_bone ? m_bone->getRotationOrder() : DzRotationOrder();
    std::vector<const DzWeightMap*> sources;
    const LocalAveragingOption axisFlags[3] = {FIRST_AXIS, SECOND_AXIS, THIRD_AXIS};
    for (int step = 0; step < 3; ++step) {
        if ((opt & axisFlags[step]) && m_local[order[step]]) {
            sources.push_back(m_local[order[step]]);
        }
    }
    if ((opt & SCALE_MAP) && m_scale) {
        sources.push_back(m_scale);
    }
    if (sources.empty()) {
        return nullptr;
    }
    const int n = sources.front()->getNumWeights();
    for (const DzWeightMap* src : sources) {
        if (src->getNumWeights() != n) {
            return nullptr;
        }
    }
    auto* out = new DzWeightMap(n);
    for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        for (const DzWeightMap* src : sources) {
            sum += src->getFloatWeight(i);
        }
        out->setWeight(i, DzWeightMap::floatToWeight(float(sum / double(sources.size()))));
    }
    return out;
}
