// Damaged chunked files: every truncation, seeded random byte flips, hostile
// counts and hostile values at every byte offset load without crash or
// sanitizer report, with a documented status, an empty document on failure,
// the guarantees of a load on success, no giant allocation, and embedded
// files written nowhere but the project folder.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>
#include <set>

#include "reader/chunked_builder.h"
#include "reader/largest_allocation.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

constexpr std::size_t kAllocationLimit = 1 << 20;

struct Sample {
    std::string name;
    ByteList bytes;
};

std::vector<Sample> samples() {
    MeshSpec a;
    a.links = 1;
    MeshSpec b;
    b.base = 10;
    b.vertices = 4;
    b.triangles = {{0, 1, 2}, {1, 2, 3}};
    std::vector<ByteList> chunks = sceneChunks(kAllVertexFlags);
    chunks.push_back(meshContainer(kAllVertexFlags, {a, b}));
    ChunkWriter files;
    files.begin(tag::kEmbedded).i32(1);
    files.wname(L"t.png");
    files.u32(3);
    files.zeros(3);
    chunks.push_back(files.end().data);
    const ByteList full = chunkedFile(kAllVertexFlags, chunks);
    return {{"scene", sceneFile()},
            {"two meshes, files", full},
            {"no vertex flags", sceneFile(0)},
            {"compressed", compressedChunked(full)},
            {"compressed twice", compressedChunked(compressedChunked(sceneFile()))}};
}

bool documentedStatus(int status) {
    return status == 1 || status == 0 || status == -5 || status == -6 || status == -7;
}

void expectSane(const yfx::SceneDoc& doc, int status, const std::string& what) {
    ASSERT_TRUE(documentedStatus(status)) << what << ": status " << status;
    if (status != 1) {
        ASSERT_TRUE(isEmpty(doc)) << what;
    }
    for (const yfx::DocMesh& mesh : doc.meshes) {
        for (const yfx::DocPolygon& p : mesh.polygons) {
            for (const yfx::DocCorner& c : p.corners) {
                ASSERT_TRUE(c.vertex >= 0 && std::size_t(c.vertex) < doc.vertices.size()) << what;
            }
        }
    }
}

// Loads from memory with no project path, so no embedded file is written.
int loadQuietly(yfx::SceneDoc& doc, const ByteList& bytes) {
    return load(doc, bytes, nullptr, L"");
}

TEST(ChunkedRobustness, EveryTruncationIsHandled) {
    for (const Sample& s : samples()) {
        yfx::SceneDoc doc;
        ASSERT_EQ(loadQuietly(doc, s.bytes), 1) << s.name;
        for (std::size_t n = 0; n < s.bytes.size(); ++n) {
            ByteList cut(s.bytes.begin(), s.bytes.begin() + n);
            const std::string what = s.name + " cut to " + std::to_string(n);
            int status = loadQuietly(doc, cut);
            expectSane(doc, status, what);
            ASSERT_NE(status, 1) << what; // the size field no longer matches
            if (n >= 16 && s.name.find("compressed") == std::string::npos) {
                // With the size field telling the truth the walk itself must
                // notice; a cut at a chunk boundary is a smaller valid file.
                cut[12] = std::uint8_t(n);
                cut[13] = std::uint8_t(n >> 8);
                cut[14] = std::uint8_t(n >> 16);
                cut[15] = std::uint8_t(n >> 24);
                status = loadQuietly(doc, cut);
                expectSane(doc, status, what + " (size fixed)");
            }
        }
    }
}

TEST(ChunkedRobustness, RandomByteFlipsAreHandled) {
    std::mt19937 random(20260);
    for (const Sample& s : samples()) {
        for (int round = 0; round < 400; ++round) {
            ByteList bytes = s.bytes;
            const int flips = 1 + int(random() % 4);
            for (int k = 0; k < flips; ++k) {
                bytes[random() % bytes.size()] ^= std::uint8_t(1 + random() % 255);
            }
            yfx::SceneDoc doc;
            resetLargestAllocation();
            const int status = loadQuietly(doc, bytes);
            expectSane(doc, status, s.name + " round " + std::to_string(round));
            ASSERT_LT(largestAllocation(), 64u * kAllocationLimit) << s.name << " " << round;
        }
    }
}

// A count in a chunk of an otherwise valid file set to a hostile value.
ByteList withCount(std::uint32_t chunkTag, std::int32_t count, bool insideMesh = false) {
    ChunkWriter w;
    if (insideMesh) {
        w.begin(tag::kMeshes).i32(1);
        w.begin(tag::kMesh);
        w.begin(chunkTag).i32(count).zeros(16);
        w.end().end().end();
    } else {
        w.begin(chunkTag).i32(count).zeros(16);
        w.end();
    }
    std::vector<ByteList> chunks = sceneChunks(kAllVertexFlags);
    chunks.push_back(w.data);
    return chunkedFile(kAllVertexFlags, chunks);
}

TEST(ChunkedRobustness, HostileCountsNeverTurnIntoGiantAllocations) {
    const std::int32_t hostile[] = {0x7FFFFFFF, 0x10000000, 100000, -1, std::int32_t(0x80000000u)};
    std::vector<std::pair<std::string, ByteList>> files;
    for (std::int32_t count : hostile) {
        const std::string c = std::to_string(count);
        for (std::uint32_t t :
             {tag::kLights, tag::kCameras, tag::kMaterials, tag::kEmbedded, tag::kGroups,
              tag::kMeshes, tag::kBones, tag::kAnimations, tag::kInfo}) {
            files.push_back(
                {"chunk " + std::to_string(t & 0xF) + " count " + c, withCount(t, count)});
        }
        for (std::uint32_t t : {tag::kVertices, tag::kFaceLinks, tag::kPolygons, tag::kUVSets}) {
            files.push_back({"mesh chunk " + std::to_string(t & 0xF) + " count " + c,
                             withCount(t, count, true)});
        }
    }
    for (const auto& f : files) {
        yfx::SceneDoc doc;
        resetLargestAllocation();
        const int status = loadQuietly(doc, f.second);
        expectSane(doc, status, f.first);
        EXPECT_LT(largestAllocation(), kAllocationLimit) << f.first;
    }
}

// A project folder inside a fresh scratch folder (root/project/), so that a
// file written beside the project folder is seen as well as one inside it.
// While it lives the working folder is root/work/, so that a file written
// relative to the working folder is seen too.
class ScratchProject {
public:
    ScratchProject() : scratch_("chunked_sweep_") {
        if (!scratch_.ready() || !makeFolder(scratch_.file("project")) ||
            !makeFolder(scratch_.file("work"))) {
            return;
        }
        working_.emplace(scratch_.file("work"));
        if (working_->entered()) {
            folder_ = scratch_.file("project/");
        }
    }
    ScratchProject(const ScratchProject&) = delete;
    ScratchProject& operator=(const ScratchProject&) = delete;

    bool ready() const { return !folder_.empty() && entriesOf(folder_).empty(); }

    // The folder in the host convention, as the import driver hands it over.
    std::wstring hostPath(const std::string& name = std::string()) const {
        return yfx_test::hostPath(folder_ + name);
    }

    // True when nothing but plain files in the project folder was written
    // (else `stray` says what was found).
    bool writtenOnlyInside(std::string& stray) const {
        const std::set<std::string> beside = entriesOf(scratch_.path());
        if (beside != std::set<std::string>{"project", "work"} ||
            !entriesOf(scratch_.file("work")).empty()) {
            stray = "a file beside the project folder or in the working folder";
            return false;
        }
        for (const std::string& name : entriesOf(folder_)) {
            if (!isPlainFile(folder_ + name)) {
                stray = "not a plain file: " + name;
                return false;
            }
        }
        return true;
    }

    // Removes the files in the project folder but `keep`; returns how many
    // there were.
    int clear(const std::string& keep = std::string()) const {
        int found = 0;
        for (const std::string& name : entriesOf(folder_)) {
            ++found;
            if (name != keep) {
                removeTree(folder_ + name);
            }
        }
        return found;
    }

private:
    // Declared first, removed last: the working folder is left before the
    // scratch folder that holds it is removed.
    ScratchFolder scratch_;
    std::optional<ScopedWorkingFolder> working_;
    std::string folder_;
};

// The four-byte hostile values written at an offset of an image of `size`
// bytes holding `was` there: the extremes, a length or size running one byte
// past the end of the image, a count of words just past it, and the field
// one larger than it was.
std::vector<std::uint32_t> hostileValues(std::size_t at, std::size_t size, std::uint32_t was) {
    const std::uint32_t rest = static_cast<std::uint32_t>(size - at - 4);
    return {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, rest + 1, rest / 4 + 1, was + 1};
}

std::uint32_t wordAt(const ByteList& bytes, std::size_t at) {
    return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
           std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

// Where the embedded files chunk of a plain sample begins (the last chunk
// of that tag; the directory names the tag too), or the size when it has
// none.
std::size_t embeddedChunkStart(const ByteList& bytes) {
    for (std::size_t at = bytes.size() >= 4 ? bytes.size() - 4 : 0; at-- > 48;) {
        if (wordAt(bytes, at) == tag::kEmbedded) {
            return at;
        }
    }
    return bytes.size();
}

// Hostile values at every byte offset of the samples (a two-byte name
// length running one byte past the end at every offset too), loaded with
// the embedded files written into a scratch project folder. A value inside
// the embedded files chunk meets an empty folder, so that the writing runs;
// elsewhere the sample's own file is left in place and each load only finds
// it there.
TEST(ChunkedRobustness, HostileValuesAtEveryOffset) {
    ScratchProject project;
    ASSERT_TRUE(project.ready());
    yfx::LoadOptions options;
    options.write_embedded_files = true;
    options.embedded_files_folder = project.hostPath();
    const std::wstring projectFile = project.hostPath("scene.yfx");

    const auto started = std::chrono::steady_clock::now();
    const std::clock_t cpuStarted = std::clock();
    int loads = 0;
    int loaded = 0;
    int written = 0; // loads into an empty folder that wrote a file
    for (const Sample& s : samples()) {
        if (s.name == "scene") {
            continue; // every chunk of it stands in "two meshes, files" too
        }
        const std::size_t chunk = embeddedChunkStart(s.bytes);
        const auto loadOne = [&](const ByteList& bytes, std::size_t at, const std::string& what) {
            const bool fresh = at >= chunk;
            if (fresh) {
                project.clear();
            }
            yfx::SceneDoc doc;
            resetLargestAllocation();
            const int status = load(doc, bytes, nullptr, projectFile, options);
            ++loads;
            loaded += status == 1;
            expectSane(doc, status, what);
            ASSERT_LT(largestAllocation(), kAllocationLimit) << what;
            std::string stray;
            ASSERT_TRUE(project.writtenOnlyInside(stray)) << what << ": " << stray;
            written += project.clear("t.png") > 0 && fresh;
        };
        for (std::size_t at = 0; at + 4 <= s.bytes.size(); ++at) {
            for (std::uint32_t value : hostileValues(at, s.bytes.size(), wordAt(s.bytes, at))) {
                ByteList bytes = s.bytes;
                for (int k = 0; k < 4; ++k) {
                    bytes[at + k] = std::uint8_t(value >> (8 * k));
                }
                loadOne(bytes, at,
                        s.name + ": " + std::to_string(value) + " at " + std::to_string(at));
                if (::testing::Test::HasFatalFailure()) {
                    return;
                }
            }
        }
        for (std::size_t at = 0; at + 2 <= s.bytes.size(); ++at) {
            const std::size_t past = s.bytes.size() - at - 2 + 1;
            if (past <= 0xFFFF) {
                ByteList bytes = s.bytes;
                bytes[at] = std::uint8_t(past);
                bytes[at + 1] = std::uint8_t(past >> 8);
                loadOne(bytes, at,
                        s.name + ": u16 " + std::to_string(past) + " at " + std::to_string(at));
                if (::testing::Test::HasFatalFailure()) {
                    return;
                }
            }
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double cpu = double(std::clock() - cpuStarted) / CLOCKS_PER_SEC;
    std::printf("%d loads (%d read), %d wrote an embedded file, %.2f s (%.2f s of processor)\n",
                loads, loaded, written, seconds, cpu);
    EXPECT_GT(loaded, 0);
    EXPECT_GT(written, 0); // the writing of embedded files was reached
}

} // namespace
