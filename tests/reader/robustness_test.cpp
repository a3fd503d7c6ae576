// Damaged files of every layout: every truncation, seeded random byte flips
// and hostile counts load without crash or sanitizer report, with a
// documented status, an empty document on failure and no giant allocation.
#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <iterator>
#include <random>

#include "reader/crafted_file.h"
#include "reader/largest_allocation.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

// No load of a file this small may ask for more than this in one piece.
constexpr std::size_t kAllocationLimit = 1 << 20;

struct Sample {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

std::vector<Sample> samples() {
    std::vector<Sample> out;
    CraftedScene full;
    full.bad_polygons = true;
    for (int version : {6, 8, 9, 10, 11, 29, 30, 31, 32, 33}) {
        out.push_back({"v" + std::to_string(version), craftFile(version, full)});
    }
    out.push_back({"v9 packed", craftContainer(craftFile(9))});
    out.push_back({"v31 packed", craftContainer(craftFile(31))});
    return out;
}

bool documentedStatus(int status) {
    return status == 1 || status == 0 || status == -5 || status == -6 || status == -7;
}

void expectSane(const yfx::SceneDoc& doc, int status, const std::string& what) {
    ASSERT_TRUE(documentedStatus(status)) << what << ": status " << status;
    if (status != 1) {
        ASSERT_TRUE(isEmpty(doc)) << what;
    }
    // Whatever loaded names no vertex outside the pool.
    for (const yfx::DocMesh& mesh : doc.meshes) {
        for (const yfx::DocPolygon& p : mesh.polygons) {
            for (const yfx::DocCorner& c : p.corners) {
                ASSERT_TRUE(c.vertex >= 0 && std::size_t(c.vertex) < doc.vertices.size()) << what;
            }
        }
    }
}

TEST(Robustness, EveryTruncationIsRefused) {
    for (const Sample& s : samples()) {
        for (std::size_t cut = 0; cut < s.bytes.size(); ++cut) {
            Bytes b;
            b.data.assign(s.bytes.begin(), s.bytes.begin() + static_cast<long>(cut));
            yfx::SceneDoc doc;
            const int asIs = load(doc, b.data);
            expectSane(doc, asIs, s.name + " cut at " + std::to_string(cut));
            EXPECT_NE(asIs, 1) << s.name << " cut at " << cut;
            // With the size field agreeing, the parse itself meets the end.
            if (cut >= 16) {
                b.putU32(12, static_cast<std::uint32_t>(cut));
                const int status = load(doc, b.data);
                expectSane(doc, status, s.name + " sized cut at " + std::to_string(cut));
                // Only the info strings at the very end are never read.
                if (s.name.find("packed") == std::string::npos && status == 1) {
                    EXPECT_GT(cut, s.bytes.size() - 48) << s.name;
                }
            }
        }
    }
}

TEST(Robustness, TruncatedInnerStreamsOfAContainer) {
    const std::vector<std::uint8_t> inner = craftFile(31);
    for (std::size_t cut = 96; cut < inner.size(); cut += 3) {
        Bytes b;
        b.data.assign(inner.begin(), inner.begin() + static_cast<long>(cut));
        b.putU32(12, static_cast<std::uint32_t>(cut));
        yfx::SceneDoc doc;
        expectSane(doc, load(doc, craftContainer(b.data)), "inner cut " + std::to_string(cut));
    }
}

TEST(Robustness, SeededByteFlips) {
    std::mt19937 random(20240531u);
    for (const Sample& s : samples()) {
        for (int round = 0; round < 1500; ++round) {
            std::vector<std::uint8_t> bytes = s.bytes;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int k = 0; k < flips; ++k) {
                const std::size_t at = random() % bytes.size();
                bytes[at] = static_cast<std::uint8_t>(random());
            }
            // Mostly keep the size field right, so the parse gets going.
            if (s.name.find("packed") == std::string::npos && round % 4 != 0) {
                Bytes b;
                b.data = bytes;
                b.putU32(12, static_cast<std::uint32_t>(bytes.size()));
                bytes = b.data;
            }
            yfx::SceneDoc doc;
            resetLargestAllocation();
            expectSane(doc, load(doc, bytes), s.name + " round " + std::to_string(round));
            ASSERT_LT(largestAllocation(), kAllocationLimit) << s.name << " round " << round;
        }
    }
}

TEST(Robustness, HostileCountsAtEveryWord) {
    for (int version : {9, 30, 31, 33}) {
        const std::vector<std::uint8_t> file = craftFile(version);
        const std::size_t header = version >= 30 ? 128 : 96;
        for (std::size_t at = header; at + 4 <= file.size(); ++at) {
            for (std::uint32_t value : {0x7FFFFFFFu, 0x40000000u, 0x80000000u, 0xFFFFFFFFu}) {
                Bytes b;
                b.data = file;
                b.putU32(at, value);
                yfx::SceneDoc doc;
                resetLargestAllocation();
                expectSane(doc, load(doc, b.data), "word at " + std::to_string(at));
                ASSERT_LT(largestAllocation(), kAllocationLimit)
                    << "version " << version << ", word at " << at << " = " << value;
            }
        }
    }
}

// Every file kept in tests/data as reader_* (crashes found by fuzzing and
// crafted cases) loads with a documented status.
TEST(Robustness, RegressionFiles) {
    const std::string folder = YFX_TEST_DATA_DIR;
    DIR* dir = opendir(folder.c_str());
    ASSERT_NE(dir, nullptr);
    int seen = 0;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.rfind("reader_", 0) != 0) {
            continue;
        }
        std::ifstream in(folder + "/" + name, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
        yfx::SceneDoc doc;
        resetLargestAllocation();
        expectSane(doc, load(doc, bytes), name);
        EXPECT_LT(largestAllocation(), std::size_t(64) << 20) << name;
        ++seen;
    }
    closedir(dir);
    EXPECT_GT(seen, 0);
}

} // namespace
