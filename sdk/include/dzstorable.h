// DzStorable: base of host data that is not an element (geometry, maps).
#pragma once

#include "dzbase.h"

class DZ_EXPORT DzStorable : public DzBase {
    Q_OBJECT
public:
    ~DzStorable() override;

protected:
    DzStorable();
};
