#include "dzvertexmap.h"

DzVertexMap::DzVertexMap(MapType type) : DzMap(type) {}

DzVertexMap::~DzVertexMap() = default;

DzUVSet::DzUVSet() : DzVertexMap(FLOAT2_MAP) {}

DzUVSet::~DzUVSet() = default;
