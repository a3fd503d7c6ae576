#include "dzfacegroup.h"

DzFaceGroup::~DzFaceGroup() = default;

DzMaterialFaceGroup::~DzMaterialFaceGroup() = default;
