// The target of an export as the write step takes it: the host's file name
// in the host convention, checked before any work is done.
#pragma once

#include <QtCore/QString>

#include <string>

namespace yfx {
namespace exporter {

// The longest path the exporter keeps, in characters (the host's 260
// characters with the terminator).
constexpr std::size_t kExportPathLimit = 259;

// The file name with every "/" turned into "\", not cut.
std::wstring exportTargetPath(const QString& filename);

// A path as a message shows it: the platform's own form, UTF-8.
std::string shownPath(const std::wstring& hostPath);

// True when the write step can work on the target: it names a file, has at
// most kExportPathLimit characters and is not a folder. Otherwise false with
// `failure` saying what is wrong.
bool checkExportTarget(const std::wstring& target, std::string& failure);

} // namespace exporter
} // namespace yfx
