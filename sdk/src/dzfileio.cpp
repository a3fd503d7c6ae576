#include "dzfileio.h"

#include "dzfileiosettings.h"

DzFileIO::DzFileIO() = default;

DzFileIO::~DzFileIO() = default;

bool DzFileIO::getOptions(DzFileIOSettings* options, bool, const QString&) const {
    if (options == nullptr) {
        return false;
    }
    getDefaultOptions(options);
    return true;
}
