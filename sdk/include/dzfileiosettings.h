// DzFileIOSettings: the settings object an exporter or importer gets from the
// host for one operation; a DzSettings that adds nothing.
//
// What still differs from the host: the copying constructor is explicit here.
#pragma once

#include "dzsettings.h"

class DZ_EXPORT DzFileIOSettings : public DzSettings {
    Q_OBJECT
public:
    DzFileIOSettings() = default;
    explicit DzFileIOSettings(const DzFileIOSettings* other) : DzSettings(other) {}
};
