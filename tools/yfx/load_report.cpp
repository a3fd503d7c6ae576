#include "tools/yfx/load_report.h"

#include <new>

#include "format/reader.h"
#include "tools/yfx/cli_args.h"

namespace yfx {

const char* loadStatusText(int status) {
    switch (status) {
    case kLoadOk:
        return "read";
    case kLoadFailed:
        return "unreadable or inconsistent data";
    case kLoadBadMagic:
        return "not a project file (no \"YFXH\" at its start)";
    case kLoadBadVersion:
        return "a file version this reader does not know";
    case kLoadBadSize:
        return "the header's size does not match the file";
    case kLoadCannotOpen:
        return "the file cannot be opened";
    default:
        return "unknown status";
    }
}

int loadForCommand(SceneDoc& doc, const std::string& path, std::string& reason,
                   const LoadOptions& options) {
    reason.clear();
    int status = kLoadFailed;
    try {
        status = loadFile(doc, hostPathFromArg(path), &reason, options);
    } catch (const std::bad_alloc&) {
        status = kLoadFailed;
        reason = "out of memory";
    }
    if (status != kLoadOk && reason.empty()) {
        reason = loadStatusText(status);
    }
    return status;
}

} // namespace yfx
