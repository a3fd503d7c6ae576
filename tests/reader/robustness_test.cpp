// Damaged files of every layout: every truncation gives the status of the
// region it cuts; seeded random byte flips and hostile counts load without
// crash or sanitizer report, with a documented status, an empty document on
// failure and no giant allocation.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "format/header_codec.h"
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
    bool packed = false; // a container around the stream
};

std::vector<Sample> samples() {
    std::vector<Sample> out;
    CraftedScene full;
    full.bad_polygons = true;
    for (int version : {6, 8, 9, 10, 11, 29, 30, 31, 32, 33}) {
        out.push_back({"v" + std::to_string(version), craftFile(version, full)});
    }
    out.push_back({"v9 packed", craftContainer(craftFile(9)), true});
    out.push_back({"v31 packed", craftContainer(craftFile(31)), true});
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

// Where a plain stream of the crafted scene (versions 6 to 33) is cut, as
// its own header lays it out: the header, each section from the offset its
// header entry gives, and the info strings that close the stream.
struct StreamLayout {
    std::size_t header = 0;                                    // 96 or 128 bytes
    std::vector<std::pair<std::size_t, std::string>> sections; // start, name
    std::size_t info = 0;                                      // start of the info strings
    std::size_t size = 0;

    explicit StreamLayout(const std::vector<std::uint8_t>& file) : size(file.size()) {
        const bool late = yfx::loadU32(file.data() + 4) >= 30;
        header = late ? 128 : 96;
        std::vector<std::string> names = {"lights", "cameras", "materials", "groups", "vertices"};
        if (late) {
            names.insert(names.end(), {"face links", "uv sets"});
        }
        names.insert(names.end(), {"meshes", "bones", "animations"});
        for (std::size_t k = 0; k < names.size(); ++k) {
            sections.push_back({yfx::loadU32(file.data() + 20 + 8 * k), names[k]});
        }
        info = yfx::loadU32(file.data() + 20 + 8 * names.size());
    }

    // The section whose bytes hold the first byte that a cut at `cut` lacks.
    std::string sectionAt(std::size_t cut) const {
        std::string name = "header";
        for (const auto& s : sections) {
            if (cut >= s.first) {
                name = s.second;
            }
        }
        return name;
    }
};

// The status of a stream cut at `cut` (0 < cut <= size) whose size field
// has been made to agree, and the start of the reason it fails with:
//   cut in                        status  reason
//   [1, header)                     0     "header": the version's header
//                                         words do not fit
//   [section k, section k + 1)      0     section k: its count or a record
//                                         runs past the end (counting pass)
//   [info strings, size]            1     the info strings are never read:
//                                         only their count, from the header
int expectedAtCut(const StreamLayout& layout, std::size_t cut, std::string* reason) {
    *reason = cut < layout.info ? layout.sectionAt(cut) + ": " : "";
    return cut < layout.info ? 0 : 1;
}

// The same with the size field left as it was:
//   [0, header)        0     "header": too short for the header words
//   [header, size)    -7     "header": the size field names more bytes than
//                            are present
// A cut container is a damaged compressed body once its 24 header words are
// there, whatever its size field says: status 0 throughout.
int expectedAtCut(const Sample& s, const StreamLayout& layout, std::size_t cut, bool sized,
                  std::string* reason) {
    if (s.packed) {
        *reason = cut < 96 ? "header: " : "compressed body: ";
        return 0;
    }
    if (sized) {
        return expectedAtCut(layout, cut, reason);
    }
    *reason = cut < layout.header ? "header: " : "header: the header gives";
    return cut < layout.header ? 0 : -7;
}

// Every truncation gives the status of the region it cuts, with the size
// field as it was and made to agree with the cut.
TEST(Robustness, EveryTruncationGivesTheStatusOfItsRegion) {
    for (const Sample& s : samples()) {
        const StreamLayout layout(s.bytes); // of the container's header when packed: unused
        for (std::size_t cut = 0; cut < s.bytes.size(); ++cut) {
            Bytes b;
            b.data.assign(s.bytes.begin(), s.bytes.begin() + static_cast<long>(cut));
            for (bool sized : {false, true}) {
                if (sized && cut < 16) {
                    continue; // no size field to make agree
                }
                if (sized) {
                    b.putU32(12, static_cast<std::uint32_t>(cut));
                }
                const std::string what =
                    s.name + (sized ? " sized" : "") + " cut at " + std::to_string(cut);
                yfx::SceneDoc doc;
                std::string reason;
                const int status = load(doc, b.data, &reason);
                expectSane(doc, status, what);
                std::string expectedReason;
                ASSERT_EQ(status, expectedAtCut(s, layout, cut, sized, &expectedReason))
                    << what << ": " << reason;
                ASSERT_EQ(reason.rfind(expectedReason, 0), 0u) << what << ": " << reason;
            }
        }
    }
}

// The inner stream of a container cut anywhere, its size field and the
// container's agreeing with the cut: once inflated, the cut stream is judged
// as a plain one (the table of expectedAtCut), and an empty one inflates to
// nothing, which is no image.
TEST(Robustness, TruncatedInnerStreamsOfAContainer) {
    for (int version : {9, 31}) {
        const std::vector<std::uint8_t> inner = craftFile(version);
        const StreamLayout layout(inner);
        for (std::size_t cut = 0; cut <= inner.size(); ++cut) {
            const std::string what =
                "version " + std::to_string(version) + " inner cut at " + std::to_string(cut);
            Bytes b;
            b.data.assign(inner.begin(), inner.begin() + static_cast<long>(cut));
            if (cut >= 16) {
                b.putU32(12, static_cast<std::uint32_t>(cut));
            }
            yfx::SceneDoc doc;
            std::string reason;
            const int status = load(doc, craftContainer(b.data), &reason);
            expectSane(doc, status, what);
            std::string expectedReason = "compressed body: ";
            const int expected = cut == 0 ? 0 : expectedAtCut(layout, cut, &expectedReason);
            ASSERT_EQ(status, expected) << what << ": " << reason;
            ASSERT_EQ(reason.rfind(expectedReason, 0), 0u) << what << ": " << reason;
            if (status == 1) {
                // The whole scene, and the info count from the header.
                EXPECT_EQ(doc.version, version);
                EXPECT_EQ(doc.section_counts[yfx::kSectionInfoStrings], 3) << what;
                EXPECT_EQ(doc.lights.size(), 1u) << what;
                ASSERT_EQ(doc.animations.size(), 1u) << what;
                EXPECT_EQ(doc.animations[0].tracks[1].scale_keys.size(), 1u) << what;
            }
        }
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
            if (!s.packed && round % 4 != 0) {
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
    int seen = 0;
    for (const std::string& name : entriesOf(folder)) {
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
    EXPECT_GT(seen, 0);
}

} // namespace
