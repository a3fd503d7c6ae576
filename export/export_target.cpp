#include "export/export_target.h"

#include "platform/path.h"
#include "platform/replace_file.h"
#include "platform/temp_file.h"
#include "platform/utf8.h"

namespace yfx {
namespace exporter {

std::wstring exportTargetPath(const QString& filename) {
    std::wstring path = filename.toStdWString();
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

std::string shownPath(const std::wstring& hostPath) {
#if defined(_WIN32)
    return wideToUtf8(hostPath);
#else
    return nativePath(hostPath);
#endif
}

bool checkExportTarget(const std::wstring& target, std::string& failure) {
    if (fileNameOf(target).empty()) {
        failure = "\"" + shownPath(target) + "\" names no file";
        return false;
    }
    if (target.size() > kExportPathLimit) {
        failure = "the path \"" + shownPath(target) + "\" has " + std::to_string(target.size()) +
                  " characters; at most " + std::to_string(kExportPathLimit) + " are supported";
        return false;
    }
    if (hostIsFolder(target)) {
        failure = "\"" + shownPath(target) + "\" is a folder";
        return false;
    }
    return true;
}

} // namespace exporter
} // namespace yfx
