#include "dzskinbinding.h"

#include "dzfigure.h"
#include "dzweightmap.h"

#include <algorithm>

DzSkinBinding::DzSkinBinding(DzFigure* owner) : m_figure(owner) {}

DzSkinBinding::~DzSkinBinding() {
    removeAllBindings();
}

DzFigure* DzSkinBinding::getFigure() const {
    return m_figure.data();
}

bool DzSkinBinding::isLocal() {
    for (const DzBoneBinding* b : m_bindings) {
        if (b->hasLocalWeights()) {
            return true;
        }
    }
    return false;
}

DzBoneBinding* DzSkinBinding::getBoneBinding(int index) const {
    return index >= 0 && index < int(m_bindings.size()) ? m_bindings[size_t(index)] : nullptr;
}

DzBoneBinding* DzSkinBinding::findBoneBinding(DzNode* bone) const {
    if (!bone) {
        return nullptr;
    }
    for (DzBoneBinding* b : m_bindings) {
        if (b->getBone() == bone) {
            return b;
        }
    }
    return nullptr;
}

DzError DzSkinBinding::addBoneBinding(DzBoneBinding* binding) {
    if (!binding) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    if (qobject_cast<DzSkinBinding*>(binding->parent())) {
        return DZ_ILLEGAL_OPERATION_ERROR;
    }
    binding->setParent(this);
    if (!binding->getFigure()) {
        binding->setFigure(m_figure);
    }
    m_bindings.push_back(binding);
    return DZ_NO_ERROR;
}

DzError DzSkinBinding::removeBoneBinding(DzBoneBinding* binding) {
    auto it = std::find(m_bindings.begin(), m_bindings.end(), binding);
    if (!binding || it == m_bindings.end()) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    m_bindings.erase(it);
    delete binding;
    return DZ_NO_ERROR;
}

void DzSkinBinding::removeAllBindings() {
    std::vector<DzBoneBinding*> bindings;
    bindings.swap(m_bindings);
    for (DzBoneBinding* b : bindings) {
        delete b;
    }
}

DzError DzSkinBinding::convertToGeneralMaps(DzBoneBinding::LocalAveragingOptions opt) {
    DzError result = DZ_NO_ERROR;
    for (DzBoneBinding* b : m_bindings) {
        if (!b->hasLocalWeights()) {
            continue;
        }
        DzWeightMap* general = b->createAveragedGeneralMap(opt);
        if (!general) {
            result = DZ_OPERATION_FAILED_ERROR;
            continue;
        }
        b->setWeights(general);
        for (int axis = 0; axis < 3; ++axis) {
            b->setLocalWeights(nullptr, axis);
        }
    }
    return result;
}
