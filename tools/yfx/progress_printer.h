// Shows the host's progress reports (DzProgress) on stderr while it lives:
// each progress when it starts, indented by its depth, and, when its total is
// known, each further quarter of it that is reached.
#pragma once

#include <QtCore/QHash>

#include <cstdio>

class DzProgress;

namespace yfx {

class ProgressPrinter {
public:
    // Prefixes every line with `prefix` ("yfx export").
    ProgressPrinter(std::FILE* out, const char* prefix);
    ~ProgressPrinter();
    ProgressPrinter(const ProgressPrinter&) = delete;
    ProgressPrinter& operator=(const ProgressPrinter&) = delete;

private:
    std::FILE* m_out;
    const char* m_prefix;
    QHash<const DzProgress*, int> m_quarters; // quarters shown per running progress
};

} // namespace yfx
