#include "tools/yfx/export_flags.h"

#include "export/export_option_keys.h"

namespace yfx {

const std::vector<ExportFlagPair>& exportFlagPairs() {
    // The starting states are those of the export dialog's check boxes.
    static const std::vector<ExportFlagPair> pairs = {
        {"--lights", "--no-lights", 1, "lights"},
        {"--materials", "--no-materials", 1, "materials"},
        {"--uvs", "--no-uvs", 1, "texture coordinates"},
        {"--uvsets", "--no-uvsets", 1, "every UV set, not only the first"},
        {"--joints", "--no-joints", 1, "bones and skin weights"},
        {"--animation", "--no-animation", 1, "animation keys, one per frame of the play range"},
        {"--visible-only", "--hidden-too", 1, "skip hidden nodes / gather them too"},
        {"--zero-pose", "--no-zero-pose", 0, "gather the figure with every bone rotation at zero"},
        {"--merge-materials", "--no-merge-materials", 0, "merge materials"},
        {"--collapse-uvs", "--no-collapse-uvs", 1, "move UDIM tiles back onto the unit square"},
        {"--high-res", "--no-high-res", 0, "take the high-resolution (cached) geometry"},
        {"--copy-textures", "--no-copy-textures", 1, "copy the textures beside OUT"},
        {"--v2", "--current", 0, "write version 9 / the current version 31"},
    };
    static_assert(kExportOptionCount == 13, "one flag pair per export option");
    return pairs;
}

namespace {

// The pair `arg` belongs to and the value it gives (1 on, 0 off); -1 for an
// argument that is no check-box flag.
int findFlag(const std::vector<ExportFlagPair>& pairs, const std::string& arg, int& value) {
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (arg == pairs[i].on || arg == pairs[i].off) {
            value = arg == pairs[i].on ? 1 : 0;
            return int(i);
        }
    }
    return -1;
}

} // namespace

bool takeExportFlags(std::vector<std::string>& args, std::vector<int>& values, std::string& error) {
    return takeFlagPairs(exportFlagPairs(), args, values, error);
}

bool takeFlagPairs(const std::vector<ExportFlagPair>& pairs, std::vector<std::string>& args,
                   std::vector<int>& values, std::string& error) {
    values.clear();
    for (const ExportFlagPair& pair : pairs) {
        values.push_back(pair.start);
    }
    std::vector<int> given(pairs.size(), -1);
    std::vector<std::string> rest;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        optionsEnded = optionsEnded || arg == "--";
        int value = 0;
        const int pair = optionsEnded ? -1 : findFlag(pairs, arg, value);
        if (pair < 0) {
            rest.push_back(arg);
            continue;
        }
        if (given[std::size_t(pair)] >= 0 && given[std::size_t(pair)] != value) {
            error = std::string(pairs[std::size_t(pair)].on) + " and " +
                    pairs[std::size_t(pair)].off + " cannot both be given";
            return false;
        }
        given[std::size_t(pair)] = value;
        values[std::size_t(pair)] = value;
    }
    args.swap(rest);
    return true;
}

void printFlagPairs(std::FILE* out, const std::vector<ExportFlagPair>& pairs) {
    for (const ExportFlagPair& pair : pairs) {
        std::fprintf(out, "  %s%-20s %s%-20s %s\n", pair.start == 1 ? "*" : " ", pair.on,
                     pair.start == 0 ? "*" : " ", pair.off, pair.help);
    }
}

} // namespace yfx
