#include "dzexporter.h"

#include "dzfileiosettings.h"

DzExporter::DzExporter(const QString& extension) : m_extension(extension) {}

DzExporter::~DzExporter() = default;

DzError DzExporter::writeFile(const QString& filename) {
    DzFileIOSettings options;
    if (!getOptions(&options, true, filename)) {
        return DZ_USER_CANCELLED_OPERATION;
    }
    return writeFile(filename, &options);
}

DzError DzExporter::writeFile(const QString& filename, const DzFileIOSettings* options) {
    if (!getPreIOErrorString().isEmpty()) {
        return DZ_OPERATION_FAILED_ERROR;
    }
    startIO();
    const DzError result = write(filename, options);
    finishIO();
    return result;
}
