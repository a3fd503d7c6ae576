// `yfx validate` on files whose compressed bodies declare gigabytes over
// nothing of the kind: each is turned down as a damaged compressed body, in
// well under a second and in little memory, and nothing is written.
#include <gtest/gtest.h>

#include "reader/bomb_files.h"
#include "tool_runner.h"

// The sanitizer's shadow memory and quarantine inflate the resident size and
// the run time, so those are judged only in builds without it.
#if defined(__SANITIZE_ADDRESS__)
#define YFX_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define YFX_TEST_SANITIZED 1
#endif
#endif

namespace yfx_test {
namespace {

constexpr long kPeakResidentLimitKib = 100 * 1024;
constexpr double kSecondsLimit = 1.0;

TEST(Validate, TurnsDownCompressionBombsQuicklyInLittleMemory) {
    ScratchDir dir;
    const struct {
        const char* name;
        ByteList bytes;
    } bombs[] = {
        {"nested.yfx", nestedChunkedBomb()},
        {"container.yfx", containerBomb()},
    };
    std::vector<ToolRun> runs;
    for (const auto& bomb : bombs) {
        writeBytes(dir.file(bomb.name), bomb.bytes);
        runs.push_back(runTool({"validate", dir.file(bomb.name)}));
        const ToolRun& run = runs.back();
        EXPECT_EQ(run.status, 1) << bomb.name;
        EXPECT_TRUE(run.out.empty()) << run.out;
        // The bytes under the declared size are no deflate stream.
        EXPECT_EQ(run.err.rfind(dir.file(bomb.name) + ": FAILED (status 0): compressed body: ", 0),
                  0u)
            << run.err;
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"container.yfx", "nested.yfx"}));

#ifdef YFX_TEST_SANITIZED
    GTEST_SKIP() << "peak memory and time are not judged under the address sanitizer";
#endif
    for (std::size_t k = 0; k < runs.size(); ++k) {
        EXPECT_LT(runs[k].peak_resident_kib, kPeakResidentLimitKib) << bombs[k].name;
        EXPECT_LT(runs[k].seconds, kSecondsLimit) << bombs[k].name;
    }
}

} // namespace
} // namespace yfx_test
