#include "dzweightmap.h"

#include <cmath>

DzWeightMap::DzWeightMap(const QString& name) : DzElement(name) {}

DzWeightMap::DzWeightMap(int nWeights, const QString& name) : DzElement(name) {
    setNumWeights(nWeights, false);
}

DzWeightMap::~DzWeightMap() = default;

unsigned short* DzWeightMap::getWeights() {
    return m_weights.empty() ? nullptr : m_weights.data();
}

const unsigned short* DzWeightMap::getWeights() const {
    return m_weights.empty() ? nullptr : m_weights.data();
}

unsigned short DzWeightMap::getWeight(int index) const {
    return index >= 0 && index < int(m_weights.size()) ? m_weights[size_t(index)] : 0;
}

void DzWeightMap::setWeight(int index, unsigned short weight) {
    if (index >= 0 && index < int(m_weights.size())) {
        m_weights[size_t(index)] = weight;
    }
}

unsigned short DzWeightMap::floatToWeight(float w) {
    if (!(w > 0.0f)) { // also NaN
        return 0;
    }
    if (w >= 1.0f) {
        return DZ_WEIGHT_FULL;
    }
    return static_cast<unsigned short>(std::lround(w * float(DZ_WEIGHT_FULL)));
}

float DzWeightMap::weightToFloat(unsigned short w) {
    return w >= DZ_WEIGHT_FULL ? 1.0f : float(w) / float(DZ_WEIGHT_FULL);
}

double DzWeightMap::getFloatWeight(int index) const {
    if (index < 0 || index >= int(m_weights.size())) {
        return 0.0;
    }
    const unsigned short w = m_weights[size_t(index)];
    return w >= DZ_WEIGHT_FULL ? 1.0 : double(w) / double(DZ_WEIGHT_FULL);
}

void DzWeightMap::setNumWeights(int n, bool keepExisting) {
    const size_t count = n > 0 ? size_t(n) : 0;
    if (!keepExisting) {
        m_weights.assign(count, 0);
    } else {
        m_weights.resize(count, 0);
    }
}

bool DzWeightMap::isEmpty() const {
    for (unsigned short w : m_weights) {
        if (w != 0) {
            return false;
        }
    }
    return true;
}

void DzWeightMap::beginEdit() {
    if (!inEdit()) {
        m_saved = m_weights;
        m_hasSaved = true;
    }
    DzElement::beginEdit();
}

void DzWeightMap::finishEdit() {
    DzElement::finishEdit();
    if (!inEdit()) {
        m_saved.clear();
        m_hasSaved = false;
    }
}

void DzWeightMap::cancelEdit() {
    if (m_hasSaved) {
        m_weights = m_saved;
    }
    while (inEdit()) {
        DzElement::finishEdit();
    }
    m_saved.clear();
    m_hasSaved = false;
}
