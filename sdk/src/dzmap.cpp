#include "dzmap.h"

#include <algorithm>

namespace {

int dimensions(DzMap::MapType type) {
    switch (type) {
    case DzMap::FLOAT2_MAP:
        return 2;
    case DzMap::FLOAT3_MAP:
        return 3;
    default:
        return 1;
    }
}

} // namespace

DzMap::DzMap(MapType type) : m_type(type) {}

DzMap::~DzMap() = default;

int DzMap::getNumValues() const {
    return int(m_data.size() / size_t(dimensions(m_type)));
}

int DzMap::getNumDimensions() const {
    return dimensions(m_type);
}

void DzMap::appendPnt2Value(const DzPnt2 v) {
    if (m_type == FLOAT2_MAP) {
        m_data.push_back(v[0]);
        m_data.push_back(v[1]);
    }
}

void DzMap::appendPnt2Values(int n, const DzPnt2* v) {
    if (m_type != FLOAT2_MAP || n <= 0 || !v) {
        return;
    }
    m_data.reserve(m_data.size() + size_t(n) * 2);
    for (int i = 0; i < n; ++i) {
        appendPnt2Value(v[i]);
    }
}

void DzMap::appendPnt3Value(const DzPnt3 v) {
    if (m_type == FLOAT3_MAP) {
        m_data.insert(m_data.end(), v, v + 3);
    }
}

void DzMap::setPnt2Value(int index, const DzPnt2 v) {
    if (m_type == FLOAT2_MAP && index >= 0 && index < getNumValues()) {
        m_data[size_t(index) * 2] = v[0];
        m_data[size_t(index) * 2 + 1] = v[1];
    }
}

DzPnt2* DzMap::getPnt2ArrayPtr() const {
    return m_type == FLOAT2_MAP && !m_data.empty() ? reinterpret_cast<DzPnt2*>(m_data.data())
                                                   : nullptr;
}

DzPnt3* DzMap::getPnt3ArrayPtr() const {
    return m_type == FLOAT3_MAP && !m_data.empty() ? reinterpret_cast<DzPnt3*>(m_data.data())
                                                   : nullptr;
}

float* DzMap::getFloatArrayPtr() const {
    return m_type == FLOAT_MAP && !m_data.empty() ? m_data.data() : nullptr;
}

const float* DzMap::getPnt2Value(int index) const {
    if (m_type != FLOAT2_MAP || index < 0 || index >= getNumValues()) {
        return nullptr;
    }
    return &m_data[size_t(index) * 2];
}

void DzMap::setMapType(MapType type, bool keepData) {
    if (!keepData) {
        m_data.clear();
        m_type = type;
        return;
    }
    const int from = dimensions(m_type), to = dimensions(type);
    const size_t n = m_data.size() / size_t(from);
    std::vector<float> out(n * size_t(to), 0.0f);
    for (size_t i = 0; i < n; ++i) {
        for (int c = 0; c < std::min(from, to); ++c) {
            out[i * size_t(to) + size_t(c)] = m_data[i * size_t(from) + size_t(c)];
        }
    }
    m_data.swap(out);
    m_type = type;
}

void DzMap::setNumValues(int n) {
    m_data.resize(size_t(std::max(n, 0)) * size_t(dimensions(m_type)), 0.0f);
}

void DzMap::preSize(int n) {
    if (n > 0) {
        m_data.reserve(size_t(n) * size_t(dimensions(m_type)));
    }
}

void DzMap::clearAllData() {
    m_data.clear();
}

void DzMap::appendFloatValue(float v) {
    if (dimensions(m_type) == 1) {
        m_data.push_back(v);
    }
}

void DzMap::appendPnt2Vec(const DzVec3& v) {
    const DzPnt2 p = {v.m_x, v.m_y};
    appendPnt2Value(p);
}

void DzMap::setPnt2Vec(int index, const DzVec3& v) {
    const DzPnt2 p = {v.m_x, v.m_y};
    setPnt2Value(index, p);
}

DzVec3 DzMap::getPnt2Vec(int index) const {
    const float* p = getPnt2Value(index);
    return p ? DzVec3(p[0], p[1], 0.0f) : DzVec3(0.0f, 0.0f, 0.0f);
}
