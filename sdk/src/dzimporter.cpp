#include "dzimporter.h"

#include "dzfileiosettings.h"

DzImporter::DzImporter() = default;

DzImporter::~DzImporter() = default;

DzError DzImporter::readFile(const QString& filename) {
    DzFileIOSettings options;
    if (!getOptions(&options, true, filename)) {
        return DZ_USER_CANCELLED_OPERATION;
    }
    return readFile(filename, &options);
}

DzError DzImporter::readFile(const QString& filename, const DzFileIOSettings* options) {
    if (!getPreIOErrorString().isEmpty()) {
        return DZ_OPERATION_FAILED_ERROR;
    }
    startIO();
    const DzError result = read(filename, options);
    finishIO();
    return result;
}
