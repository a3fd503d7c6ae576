// DzFacet: one face of a facet mesh: up to four vertex indices (a negative fourth
// index makes a triangle), matching UV indices into the mesh's active UV map,
// normal, edge and cage indices, and the face's material group and face group.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QMetaType>

#define DZ_ORPHAN_FACE_BIT 0x1
#define DZ_HIDDEN_FACE_BIT 0x2
#define DZ_SELECTED_FACE_BIT 0x4
#define DZ_LOCKED_FACE_BIT 0x8

class DZ_EXPORT DzFacet {
public:
    unsigned short m_materialIdx;
    unsigned short m_faceGroupIdx;
    int m_vertIdx[4];
    int m_uvwIdx[4];
    int m_normIdx[4];
    int m_edges[4];
    int m_cageIdx;

    DzFacet() { clear(); }
    // Material and face group 0, every other index -1.
    void clear();
    bool isQuad() const { return m_vertIdx[3] >= 0; }
    bool isTri() const { return m_vertIdx[3] < 0; }
    bool operator==(const DzFacet& f) const;
    bool operator!=(const DzFacet& f) const { return !(*this == f); }
};

Q_DECLARE_METATYPE(DzFacet)
