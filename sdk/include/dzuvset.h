// DzUVSet: a named set of texture coordinates (a FLOAT2_MAP vertex map).
#pragma once

#include "dzvertexmap.h"

class DZ_EXPORT DzUVSet : public DzVertexMap {
    Q_OBJECT
public:
    DzUVSet();
    ~DzUVSet() override;
};
