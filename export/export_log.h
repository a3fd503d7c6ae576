// The export log "logfile.txt" beside the exported file: 8-bit text, one
// formatted append per call, lines ending in CR LF on every platform. The
// log's path and whether the process has opened a log yet are process-wide:
// the first open of the process truncates, every later one appends (also to
// the log of another folder).
#pragma once

#include <string>

namespace yfx {
namespace exporter {

// Makes the log path the drive and directory of the target followed by
// "logfile.txt". False (the path unchanged) when that would need 260 or
// more characters.
bool setLogPathFor(const std::wstring& targetPath);

// The current log path; empty before the first setLogPathFor.
std::wstring logPath();

// Formats like the C library's wide printf (so "%s" takes a wide text) into
// at most 2047 characters, converts the text to Windows-1252 (from the first
// character it cannot hold the rest of that line is dropped, its line end
// kept), "\n" to CR LF, and appends it to the log. A log that cannot be
// opened loses the line.
void log_printf(const wchar_t* format, ...);

// For tests: the process forgets that it has opened a log, so the next line
// truncates again.
void resetLogFirstOpen();

} // namespace exporter
} // namespace yfx
