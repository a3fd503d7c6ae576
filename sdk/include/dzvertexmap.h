// DzVertexMap: a map with one value per vertex.
#pragma once

#include "dzmap.h"

class DZ_EXPORT DzVertexMap : public DzMap {
    Q_OBJECT
public:
    explicit DzVertexMap(MapType type = FLOAT_MAP);
    ~DzVertexMap() override;
};

#include "dzuvset.h"
