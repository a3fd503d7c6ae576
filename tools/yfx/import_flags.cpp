#include "tools/yfx/import_flags.h"

#include "import/import_option_keys.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace yfx {

const std::vector<ExportFlagPair>& importFlagPairs() {
    // The starting states are those of the import dialog's check boxes.
    static const std::vector<ExportFlagPair> pairs = {
        {"--lights", "--no-lights", 1, "lights"},
        {"--groups", "--no-groups", 0, "one node per group (no joints, no animation then)"},
        {"--materials", "--no-materials", 1, "materials and their texture maps"},
        {"--uvs", "--no-uvs", 1, "texture coordinates"},
        {"--uvsets", "--no-uvsets", 1, "UV sets (stored; only the first set is imported)"},
        {"--joints", "--no-joints", 0, "the figure's bones, skin binding and selection map"},
        {"--animation", "--no-animation", 0, "animation keys (needs --joints)"},
    };
    static_assert(kImportOptionCount == 7, "one flag pair per import option");
    return pairs;
}

const std::vector<ExportFlagPair>& convertImportFlagPairs() {
    static const std::vector<ExportFlagPair> pairs = [] {
        std::vector<ExportFlagPair> p = importFlagPairs();
        p[5].start = 1; // joints
        p[6].start = 1; // animation
        return p;
    }();
    return pairs;
}

namespace {

// A finite number written out in full ("1.5", "-2", "1e-3"); false for
// anything else.
bool parseScale(const std::string& text, float& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(parsed) ||
        std::fabs(parsed) > 3.4028234663852886e38) {
        return false;
    }
    value = static_cast<float>(parsed);
    return true;
}

} // namespace

bool takeImportFlags(std::vector<std::string>& args, ImportFlags& flags, std::string& error) {
    return takeImportFlags(args, flags, error, importFlagPairs());
}

bool takeImportFlags(std::vector<std::string>& args, ImportFlags& flags, std::string& error,
                     const std::vector<ExportFlagPair>& pairs) {
    std::vector<std::string> rest;
    bool optionsEnded = false;
    bool scaleGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        optionsEnded = optionsEnded || args[i] == "--";
        if (optionsEnded || args[i] != "--scale") {
            rest.push_back(args[i]);
            continue;
        }
        float scale = 0.0f;
        if (i + 1 == args.size() || !parseScale(args[i + 1], scale)) {
            error = i + 1 == args.size()
                        ? std::string("--scale needs a number")
                        : "--scale needs a finite number, not '" + args[i + 1] + "'";
            return false;
        }
        if (scaleGiven && scale != flags.scale) {
            error = "--scale given twice with different values";
            return false;
        }
        flags.scale = scale;
        scaleGiven = true;
        ++i;
    }
    if (!takeFlagPairs(pairs, rest, flags.options, error)) {
        return false;
    }
    args.swap(rest);
    return true;
}

} // namespace yfx
