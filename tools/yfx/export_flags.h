// The export command's check-box flags: one pair per option of the export
// dialog, in the order of the option keys (export/export_option_keys.h), each option
// starting as the dialog's check box starts.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace yfx {

struct ExportFlagPair {
    const char* on;
    const char* off;
    int start; // 1 ticked, 0 not, as the export dialog opens
    const char* help;
};

// Thirteen pairs, index i carrying option key i.
const std::vector<ExportFlagPair>& exportFlagPairs();

// Takes the check-box flags out of `args` into `values` (one value per pair,
// starting values first) and leaves every other argument in `args`. A pair
// given both ways is a usage error: false with `error` saying which.
bool takeExportFlags(std::vector<std::string>& args, std::vector<int>& values, std::string& error);

// The same over any table of pairs (the import command has its own).
bool takeFlagPairs(const std::vector<ExportFlagPair>& pairs, std::vector<std::string>& args,
                   std::vector<int>& values, std::string& error);

// The help lines of a table of pairs, one pair a line, the starting state
// marked with "*".
void printFlagPairs(std::FILE* out, const std::vector<ExportFlagPair>& pairs);

} // namespace yfx
