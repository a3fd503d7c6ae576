#include "dzfacetmesh.h"

#include "dzfacegroup.h"
#include "dzvertexmap.h"

#include <algorithm>

namespace {

// The facet stores group indices in 16 bits.
const int kMaxGroups = 65536;

} // namespace

const QString DzFacetMesh::c_defaultFaceGroupName = QStringLiteral("default");

DzFacetMesh::DzFacetMesh() = default;

DzFacetMesh::~DzFacetMesh() {
    clearAll();
}

DzFacet* DzFacetMesh::getFacetsPtr() const {
    return m_facets.empty() ? nullptr : m_facets.data();
}

unsigned char* DzFacetMesh::getFacetFlagsPtr() const {
    return m_flags.empty() ? nullptr : m_flags.data();
}

void DzFacetMesh::addFacet(const int vertIdx[4], const int uvwIdx[4], unsigned char flags) {
    DzFacet f;
    std::copy(vertIdx, vertIdx + 4, f.m_vertIdx);
    std::copy(uvwIdx, uvwIdx + 4, f.m_uvwIdx);
    f.m_materialIdx = static_cast<unsigned short>(m_activeMaterial);
    f.m_faceGroupIdx = static_cast<unsigned short>(m_activeFaceGroup);
    m_facets.push_back(f);
    m_flags.push_back(flags);
    if (m_activeMaterial < int(m_materialGroups.size())) {
        ++m_materialGroups[size_t(m_activeMaterial)]->m_count;
    }
    if (m_activeFaceGroup < int(m_faceGroups.size())) {
        ++m_faceGroups[size_t(m_activeFaceGroup)]->m_count;
    }
}

DzVertexMesh* DzFacetMesh::makeCopy(bool, bool) const {
    auto* copy = new DzFacetMesh();
    copyVerticesTo(*copy);
    copy->m_facets = m_facets;
    copy->m_flags = m_flags;
    for (const DzFaceGroup* g : m_faceGroups) {
        auto* twin = new DzFaceGroup(g->getName());
        twin->m_count = g->m_count;
        copy->m_faceGroups.push_back(twin);
    }
    for (const DzFaceGroup* g : m_materialGroups) {
        auto* twin = new DzMaterialFaceGroup(g->getName());
        twin->m_count = g->m_count;
        copy->m_materialGroups.push_back(twin);
    }
    copy->m_faceGroupIndex = m_faceGroupIndex;
    copy->m_materialGroupIndex = m_materialGroupIndex;
    copy->m_activeMaterial = m_activeMaterial;
    copy->m_activeFaceGroup = m_activeFaceGroup;
    // The UV sets first, so that the UV list does not make a set of its own.
    for (DzUVSet* set : m_uvSets) {
        copy->addUVSet(set);
    }
    copy->setUVList(m_uvs);
    return copy;
}

DzFacet DzFacetMesh::getFacet(int index) const {
    if (index < 0 || index >= int(m_facets.size())) {
        return DzFacet();
    }
    return m_facets[size_t(index)];
}

DzError DzFacetMesh::preSizeFacets(int n) {
    if (n < 0) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    m_facets.reserve(size_t(n));
    m_flags.reserve(size_t(n));
    return DZ_NO_ERROR;
}

int DzFacetMesh::addGroup(std::vector<DzFaceGroup*>& groups, QHash<QString, int>& index,
                          const QString& name, bool material) {
    if (int(groups.size()) >= kMaxGroups) {
        return -1;
    }
    groups.push_back(material ? new DzMaterialFaceGroup(name) : new DzFaceGroup(name));
    const int at = int(groups.size()) - 1;
    index.insert(name, at);
    return at;
}

int DzFacetMesh::groupAtIndex(std::vector<DzFaceGroup*>& groups, QHash<QString, int>& index, int at,
                              bool material) {
    if (at < 0 || at >= kMaxGroups) {
        return -1;
    }
    while (int(groups.size()) <= at) {
        const QString base = QLatin1String(material ? "Material" : "Group");
        QString name = base + QString::number(groups.size());
        // A name taken by an earlier, named group gets a suffix.
        for (int n = 1; index.contains(name); ++n) {
            name = base + QString::number(groups.size()) + QLatin1Char('_') + QString::number(n);
        }
        addGroup(groups, index, name, material);
    }
    return at;
}

int DzFacetMesh::activateMaterial(const QString& name) {
    const int at = createMaterialGroup(name);
    if (at >= 0) {
        m_activeMaterial = at;
    }
    return at;
}

void DzFacetMesh::activateMaterial(int index) {
    if (groupAtIndex(m_materialGroups, m_materialGroupIndex, index, true) >= 0) {
        m_activeMaterial = index;
    }
}

int DzFacetMesh::activateFaceGroup(const QString& name) {
    auto it = m_faceGroupIndex.constFind(name);
    const int at = it != m_faceGroupIndex.constEnd()
                       ? it.value()
                       : addGroup(m_faceGroups, m_faceGroupIndex, name, false);
    if (at >= 0) {
        m_activeFaceGroup = at;
    }
    return at;
}

void DzFacetMesh::activateFaceGroup(int index) {
    if (groupAtIndex(m_faceGroups, m_faceGroupIndex, index, false) >= 0) {
        m_activeFaceGroup = index;
    }
}

bool DzFacetMesh::createFaceGroup(const QString& name) {
    if (m_faceGroupIndex.contains(name)) {
        return false;
    }
    return addGroup(m_faceGroups, m_faceGroupIndex, name, false) >= 0;
}

int DzFacetMesh::createMaterialGroup(const QString& name) {
    auto it = m_materialGroupIndex.constFind(name);
    if (it != m_materialGroupIndex.constEnd()) {
        return it.value();
    }
    return addGroup(m_materialGroups, m_materialGroupIndex, name, true);
}

DzFaceGroup* DzFacetMesh::getFaceGroup(int index) const {
    return index >= 0 && index < int(m_faceGroups.size()) ? m_faceGroups[size_t(index)] : nullptr;
}

DzFaceGroup* DzFacetMesh::findFaceGroup(const QString& name, int* index) const {
    auto it = m_faceGroupIndex.constFind(name);
    const int at = it == m_faceGroupIndex.constEnd() ? -1 : it.value();
    if (index) {
        *index = at;
    }
    return getFaceGroup(at);
}

DzMaterialFaceGroup* DzFacetMesh::getMaterialGroup(int index) const {
    return index >= 0 && index < int(m_materialGroups.size())
               ? static_cast<DzMaterialFaceGroup*>(m_materialGroups[size_t(index)])
               : nullptr;
}

DzMaterialFaceGroup* DzFacetMesh::findMaterialGroup(const QString& name, int* index) const {
    auto it = m_materialGroupIndex.constFind(name);
    const int at = it == m_materialGroupIndex.constEnd() ? -1 : it.value();
    if (index) {
        *index = at;
    }
    return getMaterialGroup(at);
}

DzUVSet* DzFacetMesh::getUVSet(int index) const {
    return index >= 0 && index < int(m_uvSets.size()) ? m_uvSets[size_t(index)] : nullptr;
}

void DzFacetMesh::setUVList(DzMap* map) {
    if (map == m_uvs) {
        return;
    }
    if (map) {
        map->ref();
    }
    if (m_uvs) {
        m_uvs->deref();
    }
    m_uvs = map;
    if (map && m_uvSets.empty()) {
        auto* set = new DzUVSet();
        set->setLabel(QStringLiteral("Default"));
        const int n = map->getNumValues();
        set->preSize(n);
        const DzPnt3* uvw = map->getPnt3ArrayPtr();
        const float* u = map->getFloatArrayPtr();
        for (int i = 0; i < n; ++i) {
            // Other map types keep their first two components (missing ones are 0).
            const float* p2 = map->getPnt2Value(i);
            const DzPnt2 p = {p2    ? p2[0]
                              : uvw ? uvw[i][0]
                              : u   ? u[i]
                                    : 0.0f,
                              p2    ? p2[1]
                              : uvw ? uvw[i][1]
                                    : 0.0f};
            set->appendPnt2Value(p);
        }
        addUVSet(set);
    }
}

void DzFacetMesh::addUVSet(DzUVSet* uvSet) {
    if (!uvSet || std::find(m_uvSets.begin(), m_uvSets.end(), uvSet) != m_uvSets.end()) {
        return;
    }
    uvSet->ref();
    m_uvSets.push_back(uvSet);
}

int DzFacetMesh::findUVSetIndexByLabel(const QString& label) const {
    for (size_t i = 0; i < m_uvSets.size(); ++i) {
        if (m_uvSets[i]->getLabel() == label) {
            return int(i);
        }
    }
    return -1;
}

void DzFacetMesh::clearAll() {
    DzVertexMesh::clearAll();
    m_facets.clear();
    m_flags.clear();
    for (DzFaceGroup* g : m_faceGroups) {
        delete g;
    }
    for (DzFaceGroup* g : m_materialGroups) {
        delete g;
    }
    m_faceGroups.clear();
    m_materialGroups.clear();
    m_faceGroupIndex.clear();
    m_materialGroupIndex.clear();
    m_activeMaterial = 0;
    m_activeFaceGroup = 0;
    for (DzUVSet* set : m_uvSets) {
        set->deref();
    }
    m_uvSets.clear();
    if (m_uvs) {
        m_uvs->deref();
        m_uvs = nullptr;
    }
}
