// What a conversion did to a model that the user should know: the unit and
// axis changes it applied, and everything it left out with the reason. Every
// loss is said here; nothing is dropped silently.
#pragma once

#include <string>
#include <vector>

namespace yfx {
namespace model {

struct ModelNotes {
    std::vector<std::string> applied; // "units: ...", "up axis: ..."
    std::vector<std::string> dropped; // "<what>: <why>"

    void apply(std::string text) { applied.push_back(std::move(text)); }
    void drop(std::string text) { dropped.push_back(std::move(text)); }
    // The same loss for many things (every mesh's own normals) is said once,
    // naming them: "<what> of <subjects>: <why>".
    void dropFor(const std::string& what, const std::string& subject, const std::string& why);

    // `dropped`, then each grouped loss as one line.
    std::vector<std::string> droppedLines() const;

private:
    struct Group {
        std::string what, why;
        std::vector<std::string> subjects;
    };
    std::vector<Group> m_groups;
};

// printf-style formatting into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

} // namespace model
} // namespace yfx
