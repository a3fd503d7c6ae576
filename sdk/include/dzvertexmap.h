// DzVertexMap: a map with one value per vertex; DzUVSet: a named set of
// texture coordinates (a FLOAT2_MAP vertex map). The host declares both in
// this header (there is no header of DzUVSet's own).
//
// What still differs from the host: DzUVSet is not also a DzSceneAsset (the
// plug-in never asks a UV set for its asset identity), and the host's
// per-vertex record class (DzDctVertex) is left out.
#pragma once

#include "dzmap.h"

class DzVertexMap;
class DzUVSet;
class DzGeometry;

class DZ_EXPORT DzVertexMap : public DzMap {
    Q_OBJECT
public:
    explicit DzVertexMap(MapType type = FLOAT_MAP);
    ~DzVertexMap() override;
};

class DZ_EXPORT DzUVSet : public DzVertexMap {
    Q_OBJECT
public:
    DzUVSet();
    ~DzUVSet() override;
};
