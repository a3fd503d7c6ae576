// Damaged chunked files: every truncation, seeded random byte flips and
// hostile counts load without crash or sanitizer report, with a documented
// status, an empty document on failure and no giant allocation.
#include <gtest/gtest.h>

#include <random>

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

} // namespace
