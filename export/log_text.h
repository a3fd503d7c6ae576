// The text of one export log line: formatted in the wide printf convention of
// the host's C runtime, cut to the log's buffer, and turned into the bytes
// the log file holds.
#pragma once

#include <cstdarg>
#include <string>

namespace yfx {
namespace exporter {

// Wide characters one log call can hold, the terminator included.
constexpr std::size_t kLogBufferChars = 2048;

// The format with every "%s" and "%c" that has no length modifier given an
// "l", so that the C library reads a wide text or character there as the
// host's runtime does; everything else is kept.
std::wstring isoWideFormat(const wchar_t* format);

// Formats like the host's wide printf ("%s" takes a wide text) into at most
// kLogBufferChars - 1 characters; longer text is cut. A format the C library
// rejects gives the text formatted before the failure.
std::wstring formatLogText(const wchar_t* format, std::va_list args);

// The log bytes of a text: Windows-1252, each "\n" as CR LF. From a character
// the code page cannot hold, the rest of its line is dropped; the line end
// stays, so that the next line does not run on.
std::string logBytes(const std::wstring& text);

} // namespace exporter
} // namespace yfx
