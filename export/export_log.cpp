#include "export/export_log.h"

#include "export/log_text.h"
#include "platform/path.h"
#include "platform/temp_file.h"

#include <cstdarg>
#include <cstdio>
#include <new>

namespace yfx {
namespace exporter {

namespace {

constexpr std::size_t kLogPathCapacity = 260;

// The process-wide log state: where lines go, and whether the process has
// opened a log yet (the first open truncates, every later one appends).
struct LogState {
    std::wstring path;
    bool opened = false;
};

LogState& logState() {
    static LogState state;
    return state;
}

void appendToLog(const std::string& bytes) {
    LogState& state = logState();
    if (state.path.empty()) {
        return;
    }
    std::FILE* file = openHostFile(state.path, state.opened ? "ab" : "wb");
    if (file == nullptr) {
        return; // the line is lost; the export goes on
    }
    state.opened = true;
    if (!bytes.empty()) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    }
    std::fclose(file);
}

} // namespace

bool setLogPathFor(const std::wstring& targetPath) {
    try {
        std::wstring path = directoryOf(targetPath) + L"logfile.txt";
        if (path.size() >= kLogPathCapacity) {
            return false;
        }
        logState().path.swap(path);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::wstring logPath() {
    return logState().path;
}

void log_printf(const wchar_t* format, ...) {
    // A line that cannot be made for want of memory is lost like one that
    // cannot be written.
    std::wstring text;
    bool formatted = true;
    std::va_list args;
    va_start(args, format);
    try {
        text = formatLogText(format, args);
    } catch (const std::bad_alloc&) {
        formatted = false;
    }
    va_end(args);
    if (!formatted) {
        return;
    }
    try {
        appendToLog(logBytes(text));
    } catch (const std::bad_alloc&) {
    }
}

void resetLogFirstOpen() {
    logState().opened = false;
}

} // namespace exporter
} // namespace yfx
