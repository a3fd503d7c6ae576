#include "tool_runner.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "format/container.h"
#include "format/file_layout.h"
#include "format/test_scene.h"
#include "support/test_files.h"

extern char** environ;

namespace yfx_test {

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

ToolRun runTool(const std::vector<std::string>& args, const std::vector<std::string>& environment) {
    ScratchDir capture;
    const std::string outPath = capture.file("stdout");
    const std::string errPath = capture.file("stderr");

    std::vector<std::string> argStrings;
    argStrings.push_back(YFX_TOOL_PATH);
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings) {
        argv.push_back(&a[0]);
    }
    argv.push_back(nullptr);

    // The process's environment less the variables `environment` sets.
    const auto setHere = [&](const std::string& entry) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        for (const std::string& e : environment) {
            if (e.compare(0, name.size(), name) == 0) {
                return true;
            }
        }
        return false;
    };
    std::vector<std::string> envStrings;
    for (char** e = environ; *e != nullptr; ++e) {
        if (!setHere(*e)) {
            envStrings.push_back(*e);
        }
    }
    envStrings.insert(envStrings.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (std::string& e : envStrings) {
        envp.push_back(&e[0]);
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    ToolRun run;
    const auto start = std::chrono::steady_clock::now();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return run;
    }
    int wstatus = 0;
    struct rusage usage = {};
    ::wait4(pid, &wstatus, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peak_resident_kib = usage.ru_maxrss;
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    run.out = slurp(outPath);
    run.err = slurp(errPath);
    return run;
}

ScratchDir::ScratchDir() : folder_("yfx_tools_") {
    if (!folder_.ready()) {
        throw std::runtime_error("cannot create a scratch folder");
    }
}

std::vector<std::string> ScratchDir::entries() const {
    const std::set<std::string> names = entriesOf(path());
    return std::vector<std::string>(names.begin(), names.end());
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    const std::string text = slurp(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::vector<std::uint8_t> containerOf(const yfx::SceneDoc& doc, bool version9) {
    const std::vector<std::uint8_t> stream = writtenStream(doc, version9);
    if (stream.empty()) {
        throw std::runtime_error("the writer failed");
    }
    std::vector<std::uint8_t> out;
    if (!yfx::buildContainer(stream.data(), stream.size(),
                             version9 ? yfx::kHeaderSizeV2 : yfx::kHeaderSize, out)) {
        throw std::runtime_error("the container cannot be built");
    }
    return out;
}

nlohmann::json dumpJson(const std::string& path) {
    const ToolRun run = runTool({"dump", "--json", path});
    EXPECT_EQ(run.status, 0) << run.err;
    try {
        return nlohmann::json::parse(run.out);
    } catch (const nlohmann::json::exception& e) {
        ADD_FAILURE() << "not JSON: " << e.what() << "\n" << run.out.substr(0, 500);
        return nlohmann::json();
    }
}

} // namespace yfx_test
