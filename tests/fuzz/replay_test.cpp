// Every committed fuzz input, the regression inputs of found faults among
// them, and every test data file through both fuzz targets' entry points, so
// that the sanitizer builds keep every fix. An input that faults ends the
// program; the last name printed is the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int replayReaderInput(const std::uint8_t* data, std::size_t size);
extern "C" int replayImportInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

const std::string kReaderCorpus = YFX_FUZZ_CORPUS_DIR "/reader";
const std::string kImportCorpus = YFX_FUZZ_CORPUS_DIR "/import";
const std::string kTestData = YFX_TEST_DATA_DIR;

// The import target's option bytes: groups off with every other option,
// groups on, the dialog's defaults.
constexpr std::uint8_t kOptionBytes[] = {0, 1, 2};

std::vector<fs::path> filesIn(const std::string& folder) {
    std::vector<fs::path> out;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            out.push_back(entry.path());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

void announce(const fs::path& path, int optionByte = -1) {
    std::fprintf(stderr, "replaying %s%s\n", path.string().c_str(),
                 optionByte < 0 ? ""
                                : (" after option byte " + std::to_string(optionByte)).c_str());
}

} // namespace

TEST(FuzzReplayTest, ReaderTakesEveryCorpusAndTestDataFile) {
    std::size_t replayed = 0;
    for (const std::string& folder : {kReaderCorpus, kTestData}) {
        for (const fs::path& path : filesIn(folder)) {
            announce(path);
            const std::vector<std::uint8_t> bytes = bytesOf(path);
            replayReaderInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    EXPECT_GE(replayed, 20u); // the corpus is there
}

TEST(FuzzReplayTest, ImportTakesEveryCorpusFileAndEveryFileUnderEachOptionSet) {
    std::size_t replayed = 0;
    for (const fs::path& path : filesIn(kImportCorpus)) {
        announce(path);
        const std::vector<std::uint8_t> bytes = bytesOf(path);
        replayImportInput(bytes.data(), bytes.size());
        ++replayed;
    }
    for (const std::string& folder : {kReaderCorpus, kTestData}) {
        for (const fs::path& path : filesIn(folder)) {
            const std::vector<std::uint8_t> file = bytesOf(path);
            for (std::uint8_t option : kOptionBytes) {
                announce(path, option);
                // The option byte, then the file (sized once: GCC 12 warns
                // wrongly on an insert into a one-byte vector).
                std::vector<std::uint8_t> input(file.size() + 1);
                input[0] = option;
                std::copy(file.begin(), file.end(), input.begin() + 1);
                replayImportInput(input.data(), input.size());
            }
        }
    }
    EXPECT_GE(replayed, 20u);
}
