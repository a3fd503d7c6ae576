#include "format/time_text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace yfx {
namespace {

// The seconds SOURCE_DATE_EPOCH names, or false when it is unset or not a
// plain non-negative decimal number that the C library's time can hold.
bool sourceDateEpoch(std::time_t& out) {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (text == nullptr || *text == 0) {
        return false;
    }
    for (const char* p = text; *p != 0; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long seconds = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != 0 ||
        seconds > static_cast<unsigned long long>(std::numeric_limits<std::time_t>::max())) {
        return false;
    }
    out = static_cast<std::time_t>(seconds);
    return true;
}

bool brokenDown(std::time_t t, bool utc, std::tm& out) {
#if defined(_WIN32)
    return (utc ? gmtime_s(&out, &t) : localtime_s(&out, &t)) == 0;
#else
    return (utc ? gmtime_r(&t, &out) : localtime_r(&t, &out)) != nullptr;
#endif
}

} // namespace

std::wstring ctimeText(const std::tm& time) {
    static const char* const kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* day = time.tm_wday >= 0 && time.tm_wday < 7 ? kDays[time.tm_wday] : "???";
    const char* month = time.tm_mon >= 0 && time.tm_mon < 12 ? kMonths[time.tm_mon] : "???";
    char text[64];
    // The layout of asctime: "Www Mmm dd hh:mm:ss yyyy", the day padded to two places.
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", day, month, time.tm_mday,
                  time.tm_hour, time.tm_min, time.tm_sec, 1900 + time.tm_year);
    std::wstring out;
    for (const char* p = text; *p != 0; ++p) {
        out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    return out;
}

std::wstring exportTimeText() {
    std::time_t t = 0;
    const bool fixed = sourceDateEpoch(t);
    if (!fixed) {
        t = std::time(nullptr);
    }
    std::tm parts{};
    if (!brokenDown(t, fixed, parts)) {
        return std::wstring();
    }
    return ctimeText(parts);
}

} // namespace yfx
