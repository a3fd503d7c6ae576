// The container step's compression: plain zlib inflates what it makes, at
// every length, and the same input gives the same bytes on every build (this
// suite also runs in the 32-bit preset against the same recorded digests).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>
#include <zlib.h>

#include "format/compress_stream.h"
#include "format/container.h"
#include "format/writer_v31.h"
#include "format/writer_v9.h"
#include "test_scene.h"

namespace yfx_test {
namespace {

using namespace yfx;
using ByteList = std::vector<std::uint8_t>;

// A reproducible generator, the same on every build.
struct Lcg {
    std::uint32_t state;
    std::uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state;
    }
};

// Bytes shaped like a project stream: runs of little-endian floats that
// change a little from record to record, and repeated names.
ByteList projectLike(std::size_t size) {
    ByteList out;
    out.reserve(size);
    Lcg lcg{7};
    while (out.size() < size) {
        const std::uint32_t word = 0x3F800000u + (lcg.next() >> 22);
        for (int k = 0; k < 4 && out.size() < size; ++k) {
            out.push_back(std::uint8_t(word >> (8 * k)));
        }
        if ((lcg.next() & 63) == 0) {
            for (char c : std::string("Bone_LeftForearm")) {
                if (out.size() < size) {
                    out.push_back(std::uint8_t(c));
                }
            }
        }
    }
    return out;
}

ByteList noise(std::size_t size) {
    ByteList out(size);
    Lcg lcg{12345};
    for (std::uint8_t& b : out) {
        b = std::uint8_t(lcg.next() >> 24);
    }
    return out;
}

ByteList compressed(const ByteList& in) {
    ByteBuffer out;
    EXPECT_TRUE(compressStream(in.data(), in.size(), out));
    return ByteList(out.data(), out.data() + out.size());
}

TEST(CompressStream, PlainZlibInflatesEveryLength) {
    constexpr std::size_t kMiB = std::size_t(1) << 20;
    const struct {
        const char* name;
        ByteList input;
    } cases[] = {
        {"empty", {}},
        {"one byte", {42}},
        {"one byte short of 64 KiB", projectLike(65535)},
        {"64 KiB", projectLike(65536)},
        {"one byte past 64 KiB", projectLike(65537)},
        {"exactly 1 MiB", projectLike(kMiB)},
        {"3 MiB and a byte", projectLike(3 * kMiB + 1)},
        {"incompressible, 1 MiB and 7 bytes", noise(kMiB + 7)},
        {"one value repeated", ByteList(kMiB, 0xAB)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ByteList packed = compressed(c.input);
        ASSERT_GE(packed.size(), 6u); // zlib header and checksum at least
        EXPECT_LE(packed.size(), compressedRoom(c.input.size()));
        ByteList back(c.input.size() + 1);
        uLongf length = uLongf(back.size());
        ASSERT_EQ(uncompress(back.data(), &length, packed.data(), uLong(packed.size())), Z_OK);
        back.resize(length);
        EXPECT_TRUE(back == c.input);
    }
    // The room follows the rule n + 12 + a tenth of n while that is enough.
    EXPECT_EQ(compressedRoom(1000000), 1000000u + 12u + 100000u);
}

std::uint32_t crcOf(const ByteList& bytes) {
    return std::uint32_t(crc32(crc32(0, nullptr, 0), bytes.data(), uInt(bytes.size())));
}

// The plain stream a writer makes of the document with every option on.
ByteList plainOf(const SceneDoc& doc, bool version9) {
    MemorySink sink;
    if (version9) {
        FileHeaderV2 header;
        EXPECT_EQ(writeDocumentV2(doc, allOptions(), sink, header), 1);
    } else {
        FileHeader header;
        EXPECT_EQ(writeDocument(doc, allOptions(), sink, header), 1);
    }
    return ByteList(sink.data(), sink.data() + sink.size());
}

ByteList containerOf(const SceneDoc& doc, bool version9) {
    const ByteList plain = plainOf(doc, version9);
    ByteList out;
    EXPECT_TRUE(buildContainer(plain.data(), plain.size(), version9 ? 96 : 128, out));
    return out;
}

// Digests of the bytes fixed inputs give, recorded from the 64-bit build. The
// 32-bit build must give the same. They change only with the writers or the
// compressor (libdeflate 1.14 at a fixed level): a change there is a change
// of the files users get, to be recorded here on purpose.
TEST(CompressStream, SameBytesOnEveryBuild) {
    const struct {
        const char* name;
        ByteList bytes;
        std::size_t size;
        std::uint32_t crc;
    } cases[] = {
        {"plain version 31 stream of the full scene", plainOf(makeFullScene(), false), 3760,
         0xf43b7fa9},
        {"plain version 9 stream of the full scene", plainOf(makeFullScene(), true), 1711,
         0xd4f7de17},
        {"container of an empty document", containerOf(SceneDoc(), false), 250, 0x82e894fa},
        {"container of the full scene", containerOf(makeFullScene(), false), 1005, 0x82123d15},
        {"version 9 container of the full scene", containerOf(makeFullScene(), true), 698,
         0x524bf200},
        {"3 MiB of project-like bytes", compressed(projectLike(3 << 20)), 1408324, 0x12ef538e},
        {"incompressible bytes", compressed(noise((1 << 20) + 7)), 1048679, 0xd220d583},
    };
    for (const auto& c : cases) {
        char got[64];
        std::snprintf(got, sizeof got, "%zu, 0x%08x", c.bytes.size(),
                      static_cast<unsigned>(crcOf(c.bytes)));
        EXPECT_TRUE(c.bytes.size() == c.size && crcOf(c.bytes) == c.crc)
            << c.name << ": size and crc32 are " << got << " on this build";
    }
}

} // namespace
} // namespace yfx_test
