#include "model/model_notes.h"

#include <cstdarg>
#include <cstdio>

namespace yfx {
namespace model {

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, args);
    va_end(args);
    std::string out;
    if (n > 0) {
        out.resize(std::size_t(n) + 1);
        std::vsnprintf(&out[0], out.size(), fmt, again);
        out.resize(std::size_t(n));
    }
    va_end(again);
    return out;
}

void ModelNotes::dropFor(const std::string& what, const std::string& subject,
                         const std::string& why) {
    for (Group& g : m_groups) {
        if (g.what == what && g.why == why) {
            g.subjects.push_back(subject);
            return;
        }
    }
    m_groups.push_back({what, why, {subject}});
}

std::vector<std::string> ModelNotes::droppedLines() const {
    constexpr std::size_t kNamed = 5; // subjects named before "and N more"
    std::vector<std::string> lines = dropped;
    for (const Group& g : m_groups) {
        std::string subjects;
        for (std::size_t i = 0; i < g.subjects.size() && i < kNamed; ++i) {
            subjects += (i > 0 ? ", '" : "'") + g.subjects[i] + "'";
        }
        if (g.subjects.size() > kNamed) {
            subjects += format(" and %zu more", g.subjects.size() - kNamed);
        }
        lines.push_back(g.what + " of " + subjects + ": " + g.why);
    }
    return lines;
}

} // namespace model
} // namespace yfx
