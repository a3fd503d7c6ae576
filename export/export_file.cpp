#include "export/export_file.h"

#include "export/export_target.h"
#include "format/container.h"
#include "format/file_layout.h"
#include "format/writer_v31.h"
#include "format/writer_v9.h"
#include "platform/replace_file.h"
#include "platform/temp_file.h"

#include <cstdio>

namespace yfx {
namespace exporter {

namespace {

// The header record the writer of a layout fills and the container step reads.
struct LayoutHeaders {
    FileHeader current;
    FileHeaderV2 version2;
};

// Writes the stream of the layout into the temporary file; false when it
// cannot be opened, the writer fails or the file cannot be closed.
bool writeStream(const SceneDoc& doc, const WriterOptions& options, FileLayout layout,
                 const std::wstring& tempPath, LayoutHeaders& headers, std::string& failure) {
    std::FILE* stream = openHostFile(tempPath, "wb");
    if (stream == nullptr) {
        failure = "the temporary file \"" + shownPath(tempPath) + "\" cannot be opened for writing";
        return false;
    }
    const int written = layout == FileLayout::kVersion2
                            ? writeDocumentV2(doc, options, stream, headers.version2)
                            : writeDocument(doc, options, stream, headers.current);
    const bool closed = std::fclose(stream) == 0;
    if (written != 1 || !closed) {
        failure = "writing the scene into the temporary file \"" + shownPath(tempPath) +
                  "\" failed (the disk may be full)";
        return false;
    }
    return true;
}

// Packs the temporary file (which the container step deletes) into a new
// file beside the target and puts that in place of the target.
bool packBeside(FileLayout layout, const LayoutHeaders& headers, const std::wstring& tempPath,
                const std::wstring& target, std::string& failure) {
    std::wstring beside;
    if (!createFileBeside(target, beside, failure)) {
        deleteHostFile(tempPath);
        return false;
    }
    const int packed = layout == FileLayout::kVersion2
                           ? packContainerV2(headers.version2, tempPath, beside)
                           : packContainer(headers.current, tempPath, beside);
    if (packed != 1) {
        deleteHostFile(beside);
        failure = "packing the scene into \"" + shownPath(beside) +
                  "\" failed (the temporary file could not be read back, compressed or written)";
        return false;
    }
    if (!renameOver(beside, target, failure)) {
        deleteHostFile(beside);
        return false;
    }
    return true;
}

} // namespace

bool writeExportFile(const SceneDoc& doc, const WriterOptions& options, FileLayout layout,
                     const std::wstring& target, std::string& failure) {
    std::wstring tempPath;
    if (createTempFile(tempPath) != 1) {
        failure = "no temporary file can be made in \"" + shownPath(systemTempDirectory()) + "\"";
        return false;
    }
    LayoutHeaders headers;
    if (!writeStream(doc, options, layout, tempPath, headers, failure)) {
        deleteHostFile(tempPath);
        return false;
    }
    return packBeside(layout, headers, tempPath, target, failure);
}

} // namespace exporter
} // namespace yfx
