#include "dzgeometry.h"

DzGeometry::DzGeometry() = default;

DzGeometry::~DzGeometry() = default;
