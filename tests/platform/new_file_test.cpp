// Exclusive creation: a new file is made and opened for writing; anything
// already at the path (a file, a folder) is left exactly as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/new_file.h"
#include "support/test_files.h"

namespace yfx_test {
namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(NewFile, CreatedOnceAndNeverOverAnythingThere) {
    ScratchFolder scratch("new_file_");
    ASSERT_TRUE(scratch.ready());
    ASSERT_TRUE(makeFolder(scratch.file("folder")));
    std::ofstream(scratch.file("mine.png"), std::ios::binary) << "mine";

    // Host convention (backslashes) and native paths alike.
    std::FILE* created = yfx::createNewHostFile(hostPath(scratch.file("new.png")));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(std::fwrite("\0\r\n\x1a", 1, 4, created), 4u);
    EXPECT_EQ(std::fclose(created), 0);
    EXPECT_EQ(contentOf(scratch.file("new.png")), std::string("\0\r\n\x1a", 4)); // binary mode

    for (const char* taken : {"mine.png", "new.png", "folder"}) {
        errno = 0;
        std::FILE* again = yfx::createNewHostFile(hostPath(scratch.file(taken)));
        EXPECT_EQ(again, nullptr) << taken;
        if (again != nullptr) {
            std::fclose(again);
        } else if (std::string(taken) != "folder") { // Windows says "access denied" there
            EXPECT_EQ(errno, EEXIST) << taken;
        }
    }
    EXPECT_EQ(contentOf(scratch.file("mine.png")), "mine");
    EXPECT_EQ(contentOf(scratch.file("new.png")).size(), 4u);
    EXPECT_EQ(yfx::createNewFile(fs::u8path(scratch.file("mine.png"))), nullptr);
    EXPECT_EQ(contentOf(scratch.file("mine.png")), "mine");
    EXPECT_EQ(entriesOf(scratch.path()), (std::set<std::string>{"folder", "mine.png", "new.png"}));
}

} // namespace
} // namespace yfx_test
