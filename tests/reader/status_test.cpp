// Every load status from its cause, and the failure reason that goes with it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <winioctl.h>
#endif

#include "format/header_codec.h"
#include "reader/chunked_builder.h"
#include "reader/largest_allocation.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

// A body of nine zero counts: a well-formed early file without records.
std::vector<std::uint8_t> emptyEarlyBody() {
    return std::vector<std::uint8_t>(8 * 4, 0);
}

TEST(LoadStatus, TooShortForTheMagicIsAReadError) {
    yfx::SceneDoc doc;
    std::string reason;
    EXPECT_EQ(load(doc, {'Y', 'F', 'X'}, &reason), 0);
    EXPECT_EQ(reason, "header: needs 4 bytes at offset 0, 3 left");
    EXPECT_EQ(load(doc, {}), 0);
}

TEST(LoadStatus, WrongMagic) {
    yfx::SceneDoc doc;
    EXPECT_EQ(load(doc, {'Y', 'F', 'X', 'G'}), -5);
    std::vector<std::uint8_t> file = craftFile(31);
    file[3] = 'h';
    EXPECT_EQ(load(doc, file), -5);
    EXPECT_TRUE(isEmpty(doc));
}

TEST(LoadStatus, VersionsOutsideTheReadableRange) {
    yfx::SceneDoc doc;
    for (std::uint32_t version : {0u, 5u, 35u, 0xFFFFFFFFu}) {
        std::string reason;
        EXPECT_EQ(load(doc, craftRaw(version, 0, emptyEarlyBody()), &reason), -6) << version;
        EXPECT_NE(reason.find("version"), std::string::npos);
    }
    // 34 goes to the chunked layout's reader, which finds no directory here.
    std::string reason;
    EXPECT_EQ(load(doc, craftRaw(34, 0, emptyEarlyBody()), &reason), 0);
    EXPECT_EQ(reason.find("not a readable version"), std::string::npos) << reason;
}

TEST(LoadStatus, SizeFieldMustMatchTheImage) {
    yfx::SceneDoc doc;
    std::vector<std::uint8_t> file = craftFile(31);
    Bytes b;
    b.data = file;
    b.putU32(12, static_cast<std::uint32_t>(file.size() + 1));
    std::string reason;
    EXPECT_EQ(load(doc, b.data, &reason), -7);
    EXPECT_NE(reason.find("are present"), std::string::npos);
    b.putU32(12, static_cast<std::uint32_t>(file.size() - 1));
    EXPECT_EQ(load(doc, b.data), -7);
    EXPECT_TRUE(isEmpty(doc));
}

// `file` with the u32 at `at` replaced.
std::vector<std::uint8_t> patched(std::vector<std::uint8_t> file, std::size_t at,
                                  std::uint32_t value) {
    Bytes b;
    b.data = std::move(file);
    b.putU32(at, value);
    return b.data;
}

// The sectioned container inflates one level and judges what comes out as a
// file of its own: magic, size field, version. A container inside it is not
// inflated again; a chunked image inflates its own levels.
TEST(LoadStatus, WhatAContainerHolds) {
    const std::vector<std::uint8_t> v31 = craftFile(31);
    const std::vector<std::uint8_t> inner = craftContainer(v31);
    std::vector<std::uint8_t> wrongMagic = v31;
    wrongMagic[0] = 'X';
    const struct {
        const char* name;
        std::vector<std::uint8_t> inner;
        int status;
        const char* reason; // how the reason begins; null: with a section's name
    } cases[] = {
        {"another magic", wrongMagic, -5, "compressed body: "},
        {"version 5", patched(v31, 4, 5), -6, "header: "},
        {"a size field 4 short", patched(v31, 12, std::uint32_t(v31.size() - 4)), -7,
         "compressed body: "},
        {"a size field 4 long", patched(v31, 12, std::uint32_t(v31.size() + 4)), -7, "header: "},
        // A second container as the writer packs it: its size field gives
        // the length of the stream inside it, not its own.
        {"a container", inner, -7, "header: "},
        // The same with its own length: its compressed bytes are read as the
        // sections of a version 8 stream, whose counts run past the end.
        {"a container giving its own length", patched(inner, 12, std::uint32_t(inner.size())), 0,
         nullptr},
        // A plain stream carrying the container flag is read as it stands.
        {"a plain stream flagged compressed", patched(v31, 8, 2 | 16), 1, ""},
        {"a compressed chunked image", compressedChunked(sceneFile()), 1, ""},
    };
    for (const auto& c : cases) {
        yfx::SceneDoc doc;
        std::string reason;
        EXPECT_EQ(load(doc, craftContainer(c.inner), &reason), c.status)
            << c.name << ": " << reason;
        if (c.reason != nullptr) {
            EXPECT_EQ(reason.rfind(c.reason, 0), 0u) << c.name << ": " << reason;
        } else {
            EXPECT_NE(reason.rfind("compressed body: ", 0), 0u) << c.name << ": " << reason;
            EXPECT_NE(reason.rfind("header: ", 0), 0u) << c.name << ": " << reason;
        }
        if (c.status == 1) {
            EXPECT_FALSE(doc.lights.empty()) << c.name;
            EXPECT_EQ(doc.meshes[0].polygons.size(), 2u) << c.name;
        } else {
            EXPECT_TRUE(isEmpty(doc)) << c.name;
        }
    }
}

TEST(LoadStatus, FileThatCannotBeOpened) {
    yfx::SceneDoc doc;
    std::string reason;
    EXPECT_EQ(yfx::loadFile(doc, L"/nonexistent/dir/scene.yfx", &reason), -8);
    EXPECT_FALSE(reason.empty());
}

// A file of `size` zero bytes that takes no disk space: its length is set,
// nothing is written (on Windows the C runtime would write every zero).
bool makeSparseFile(const std::string& path, std::uint64_t size) {
#if defined(_WIN32)
    HANDLE file = CreateFileW(fs::u8path(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    return CloseHandle(file) && sized;
#else
    std::ofstream(path, std::ios::binary).put('\0');
    std::error_code ec;
    fs::resize_file(path, size, ec);
    return !ec;
#endif
}

TEST(LoadStatus, FileOverFourGiBIsRefusedBeforeAllocating) {
    ScratchFolder scratch("reader_large_");
    ASSERT_TRUE(scratch.ready());
    const std::string path = scratch.file("large.yfx");
    ASSERT_TRUE(makeSparseFile(path, (std::uint64_t(1) << 32) + 16));
    yfx::SceneDoc doc;
    std::string reason;
    resetLargestAllocation();
    EXPECT_EQ(yfx::loadFile(doc, hostPath(path), &reason), 0);
    EXPECT_EQ(reason, "the file is larger than 4 GiB");
    EXPECT_LT(largestAllocation(), std::size_t(1) << 20);
    EXPECT_TRUE(isEmpty(doc));
}

TEST(LoadStatus, FileWithoutRecordsIsRefused) {
    yfx::SceneDoc doc;
    std::string reason;
    EXPECT_EQ(load(doc, craftRaw(9, 0, emptyEarlyBody()), &reason), 0);
    EXPECT_EQ(reason, "allocation: the file holds no records");
    // Negative counts count as empty sections.
    std::vector<std::uint8_t> body(8 * 4, 0xFF);
    EXPECT_EQ(load(doc, craftRaw(9, 0, body)), 0);
    EXPECT_TRUE(isEmpty(doc));
}

TEST(LoadStatus, DamagedCompressedBody) {
    yfx::SceneDoc doc;
    std::vector<std::uint8_t> packed = craftContainer(craftFile(31));
    for (std::size_t i = 100; i < packed.size(); i += 7) {
        packed[i] ^= 0x5A;
    }
    std::string reason;
    EXPECT_EQ(load(doc, packed, &reason), 0);
    EXPECT_EQ(reason.rfind("compressed body: ", 0), 0u) << reason;
}

TEST(LoadStatus, CompressedBodyOffsetBeyondTheEnd) {
    yfx::SceneDoc doc;
    std::vector<std::uint8_t> packed = craftContainer(craftFile(31));
    Bytes b;
    b.data = packed;
    b.putU32(20, static_cast<std::uint32_t>(packed.size() + 1));
    std::string reason;
    EXPECT_EQ(load(doc, b.data, &reason), 0);
    EXPECT_NE(reason.find("beyond the end"), std::string::npos);
    // At the very end: an empty body.
    b.putU32(20, static_cast<std::uint32_t>(packed.size()));
    EXPECT_EQ(load(doc, b.data), 0);
}

TEST(LoadStatus, ImpossibleInflatedSizeIsRefusedBeforeAllocating) {
    yfx::SceneDoc doc;
    std::vector<std::uint8_t> packed = craftContainer(craftFile(31));
    Bytes b;
    b.data = packed;
    b.putU32(12, 0xFFFFFFF0u);
    std::string reason;
    EXPECT_EQ(load(doc, b.data, &reason), 0);
    EXPECT_NE(reason.find("cannot come from"), std::string::npos) << reason;
    b.putU32(12, 0);
    EXPECT_EQ(load(doc, b.data), 0);
}

// The file cut at `cut` bytes, with its size field matching.
std::vector<std::uint8_t> cutAt(const std::vector<std::uint8_t>& file, std::size_t cut) {
    Bytes b;
    b.data.assign(file.begin(), file.begin() + static_cast<long>(cut));
    b.putU32(12, static_cast<std::uint32_t>(cut));
    return b.data;
}

TEST(LoadStatus, ReasonNamesSectionRecordPartAndOffset) {
    yfx::SceneDoc doc;
    const std::vector<std::uint8_t> file = craftFile(31);
    // Inside the rotation keys of track 1 of the animation: count, name
    // "Walk", four words, track count, 64 bytes of track 0, two key counts.
    const std::uint32_t animations = yfx::loadU32(file.data() + 16 + 9 * 8 + 4);
    const std::size_t keys = animations + 4 + 7 + 16 + 4 + 64 + 8;
    std::string reason;
    EXPECT_EQ(load(doc, cutAt(file, keys + 10), &reason), 0);
    EXPECT_EQ(reason, "animations: animation 0, track 1: needs 40 bytes at offset " +
                          std::to_string(keys) + ", 10 left");

    // Five maps cannot fit into what is left after the map count.
    const std::uint32_t materials = yfx::loadU32(file.data() + 16 + 2 * 8 + 4);
    const std::size_t maps = materials + 4 + 7 + 92 + 4;
    EXPECT_EQ(load(doc, cutAt(file, maps + 10), &reason), 0);
    EXPECT_EQ(reason, "materials: material 0: needs 240 bytes at offset " + std::to_string(maps) +
                          ", 10 left");
}

} // namespace
