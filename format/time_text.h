// The export time as the info strings and the log carry it.
#pragma once

#include <ctime>
#include <string>

namespace yfx {

// The C library's ctime text of the current local time without its closing
// line feed, e.g. "Thu Jan  1 00:00:00 1970". When the environment variable
// SOURCE_DATE_EPOCH holds a number of seconds since 1970 (digits only), that
// time is used instead, in UTC, as reproducible-build tools expect, so that
// the same scene exported twice gives the same bytes.
std::wstring exportTimeText();

// The ctime form (without line feed) of a broken-down time.
std::wstring ctimeText(const std::tm& time);

} // namespace yfx
