// Embedded files of the chunked layout: written once into the project
// folder with exactly their bytes, never over an existing file, never
// outside the folder, and never failing the load.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

#include "reader/chunked_builder.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

struct Embedded {
    std::wstring name;
    std::string content;
};

ByteList embeddedChunk(const std::vector<Embedded>& files) {
    ChunkWriter w;
    w.begin(tag::kEmbedded).i32(static_cast<std::int32_t>(files.size()));
    for (const Embedded& f : files) {
        w.wname(f.name);
        w.u32(static_cast<std::uint32_t>(f.content.size()));
        w.data.insert(w.data.end(), f.content.begin(), f.content.end());
    }
    return w.end().data;
}

ByteList lightsChunk() {
    ChunkWriter w;
    w.begin(tag::kLights).i32(1);
    lightRecord(w, L"L", 1);
    return w.end().data;
}

// project/ inside a fresh folder, so that a file written beside the project
// folder (one level up) would be seen too.
class EmbeddedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.ready());
        root_ = scratch_.path() + "/";
        folder_ = root_ + "project/";
        ASSERT_TRUE(makeFolder(folder_));
    }

    int loadFromFolder(const ByteList& file, std::string* reason = nullptr) {
        const std::string path = folder_ + "scene.yfx";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        // Handed over in the host convention, as the import driver does.
        yfx::SceneDoc doc;
        const int status = expectLoadGuarantees(doc, yfx::loadFile(doc, hostPath(path), reason));
        last_ = std::move(doc);
        return status;
    }

    std::string read(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    ScratchFolder scratch_{"chunked_embedded_"};
    std::string root_;
    std::string folder_;
    yfx::SceneDoc last_;
};

TEST_F(EmbeddedFiles, WrittenOnceWithExactlyTheirBytes) {
    const std::string content("\x89PNG\0\r\n\x1a binary \xff", 17);
    const ByteList file = chunkedFile(
        0, {lightsChunk(),
            embeddedChunk({{L"D:\\maker\\textures\\skin.png", content}, {L"empty.png", ""}})});
    std::string reason;
    ASSERT_EQ(loadFromFolder(file, &reason), 1) << reason;
    EXPECT_EQ(read(folder_ + "skin.png"), content);
    EXPECT_EQ(entriesOf(folder_), (std::set<std::string>{"scene.yfx", "skin.png"})); // S = 0: none

    // A second load finds the file and leaves it as it is.
    std::ofstream(folder_ + "skin.png", std::ios::binary) << "mine";
    ASSERT_EQ(loadFromFolder(file), 1);
    EXPECT_EQ(read(folder_ + "skin.png"), "mine");
}

TEST_F(EmbeddedFiles, AnExistingFileIsNeverReplacedNorFollowed) {
    // A link in the folder that points outside it: creating the file
    // exclusively refuses the link, so the target is not written through it.
    const std::string outside = root_ + "outside.txt";
    const std::string why = makeFileLink(outside, folder_ + "link.png");
    if (!why.empty()) {
        GTEST_SKIP() << "symbolic links cannot be made here (" << why
                     << "), so writing through one is not checked";
    }
    ASSERT_EQ(loadFromFolder(chunkedFile(0, {lightsChunk(), embeddedChunk({{L"link.png", "x"}})})),
              1);
    EXPECT_EQ(entriesOf(root_), (std::set<std::string>{"project"}));
}

TEST_F(EmbeddedFiles, UnsafeNamesNeverLeaveTheFolder) {
    const ByteList file =
        chunkedFile(0, {lightsChunk(), embeddedChunk({{L"..\\..\\evil.txt", "reduced"},
                                                      {L"../up.txt", "reduced too"},
                                                      {L"", "no name"},
                                                      {L"..", "parent"},
                                                      {L".", "self"},
                                                      {L"dir\\..", "parent again"},
                                                      {L"bad\x01name.png", "control"},
                                                      {L"tab\tname.png", "control"},
                                                      {L"C:stream.txt", "drive"},
                                                      {L"ab:c.txt", "colon"},
                                                      {L"del\x7f.png", "delete"},
                                                      {L"dir\\", "no last component"}})});
    std::string reason;
    ASSERT_EQ(loadFromFolder(file, &reason), 1) << reason;
    // Only the last components of the first two paths were written, and
    // nothing appeared beside the project folder.
    EXPECT_EQ(entriesOf(folder_),
              (std::set<std::string>{"scene.yfx", "evil.txt", "up.txt", "stream.txt"}));
    EXPECT_EQ(read(folder_ + "evil.txt"), "reduced");
    EXPECT_EQ(entriesOf(root_), (std::set<std::string>{"project"}));
}

TEST_F(EmbeddedFiles, AFileThatCannotBeWrittenDoesNotFailTheLoad) {
    // A folder where the file would go.
    ASSERT_TRUE(makeFolder(folder_ + "taken.png"));
    std::string reason;
    ASSERT_EQ(
        loadFromFolder(chunkedFile(0, {lightsChunk(), embeddedChunk({{L"taken.png", "data"}})}),
                       &reason),
        1)
        << reason;
    EXPECT_EQ(last_.lights.size(), 1u);
}

TEST_F(EmbeddedFiles, TruncatedContentFailsTheLoadBeforeWriting) {
    ByteList file = chunkedFile(0, {lightsChunk(), embeddedChunk({{L"cut.png", "0123456789"}})});
    file.resize(file.size() - 3);
    file[12] = static_cast<std::uint8_t>(file.size()); // the size field, small file
    file[13] = static_cast<std::uint8_t>(file.size() >> 8);
    EXPECT_EQ(loadFromFolder(file), 0);
    EXPECT_EQ(entriesOf(folder_), (std::set<std::string>{"scene.yfx"}));
}

TEST_F(EmbeddedFiles, OnlyMaterialsAfterTheFilesFindThem) {
    // A relative stored path through a sub-folder: kept, it names the
    // texture through sub\..; moved, it names it directly.
    ASSERT_TRUE(makeFolder(folder_ + "sub"));
    const std::wstring wfolder = hostPath(folder_);
    ChunkWriter materials;
    materials.begin(tag::kMaterials).i32(1);
    materialRecord(materials, L"M", L"sub\\..\\tex.png");
    materials.end();
    const ByteList files = embeddedChunk({{L"tex.png", "t"}});

    // Before the files chunk the texture does not exist yet: moved.
    ASSERT_EQ(loadFromFolder(chunkedFile(0, {materials.data, files})), 1);
    EXPECT_EQ(read(folder_ + "tex.png"), "t");
    EXPECT_EQ(wide(last_.materials[0].maps[0]->path), wfolder + L"tex.png");
    // After it, the file just written is found and the stored path kept.
    ASSERT_EQ(std::remove((folder_ + "tex.png").c_str()), 0);
    ASSERT_EQ(loadFromFolder(chunkedFile(0, {files, materials.data})), 1);
    EXPECT_EQ(wide(last_.materials[0].maps[0]->path), wfolder + L"sub\\..\\tex.png");
}

TEST(EmbeddedFileName, NothingIsWrittenWithoutAProjectFolder) {
    // Loaded from memory without a path: the working folder is not the
    // project's, so nothing may land there.
    ScratchFolder work("chunked_no_folder_");
    ScopedWorkingFolder inside(work.path());
    ASSERT_TRUE(inside.entered());
    yfx::SceneDoc doc;
    const ByteList file = chunkedFile(0, {lightsChunk(), embeddedChunk({{L"stray.png", "x"}})});
    ASSERT_EQ(load(doc, file, nullptr, L""), 1);
    EXPECT_TRUE(entriesOf(work.path()).empty());
}

} // namespace
