// Runs the built yfx tool as a child process and collects what it prints,
// and gives each test a scratch folder of its own.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "document/scene_doc.h"
#include "support/test_files.h"

namespace yfx_test {

struct ToolRun {
    int status = -1; // exit status; -1 when the tool did not exit normally
    std::string out;
    std::string err;
    long peak_resident_kib = 0; // the child's peak resident memory (ru_maxrss)
    double seconds = 0;         // wall time from start to exit
};

// yfx ARGS..., with environment variables NAME=VALUE set (over the
// process's own).
ToolRun runTool(const std::vector<std::string>& args,
                const std::vector<std::string>& environment = {});

// A fresh, empty folder, removed with everything in it on destruction (a
// ScratchFolder of support/test_files.h that throws when it cannot be made).
class ScratchDir {
public:
    ScratchDir();

    const std::string& path() const { return folder_.path(); }
    std::string file(const std::string& name) const { return folder_.file(name); }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    ScratchFolder folder_;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// The document as the version 31 container, or the version 9 one, that an
// export with every option on writes (made with the writers directly).
std::vector<std::uint8_t> containerOf(const yfx::SceneDoc& doc, bool version9 = false);

// `yfx dump --json FILE`, parsed; fails the test when the tool fails.
nlohmann::json dumpJson(const std::string& path);

} // namespace yfx_test
