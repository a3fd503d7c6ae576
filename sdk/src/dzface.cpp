#include "dzface.h"

#include <algorithm>

void DzFacet::clear() {
    m_materialIdx = 0;
    m_faceGroupIdx = 0;
    std::fill(m_vertIdx, m_vertIdx + 4, -1);
    std::fill(m_uvwIdx, m_uvwIdx + 4, -1);
    std::fill(m_normIdx, m_normIdx + 4, -1);
    std::fill(m_edges, m_edges + 4, -1);
    m_cageIdx = -1;
}

bool DzFacet::operator==(const DzFacet& f) const {
    return m_materialIdx == f.m_materialIdx && m_faceGroupIdx == f.m_faceGroupIdx &&
           std::equal(m_vertIdx, m_vertIdx + 4, f.m_vertIdx) &&
           std::equal(m_uvwIdx, m_uvwIdx + 4, f.m_uvwIdx) &&
           std::equal(m_normIdx, m_normIdx + 4, f.m_normIdx) &&
           std::equal(m_edges, m_edges + 4, f.m_edges) && m_cageIdx == f.m_cageIdx;
}
