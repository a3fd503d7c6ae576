// Placeholder images and texture copies in real folders under the system's
// temporary directory; the placeholders are read back with the test decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "document/tga_decoder.h"
#include "prepare/texture_files.h"

namespace yfx {
namespace prepare {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary directory, removed with
// everything in it at the end of the test.
class TempFolder {
public:
    TempFolder() {
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
            const fs::path candidate = fs::temp_directory_path() /
                                       ("yfx-textures-" + std::to_string(seed() % 1000000000u));
            if (fs::create_directory(candidate)) {
                root_ = candidate;
            }
        }
        EXPECT_FALSE(root_.empty());
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // A folder inside, created.
    fs::path folder(const std::string& name) const {
        const fs::path out = root_ / name;
        fs::create_directories(out);
        return out;
    }

    const fs::path& root() const { return root_; }

private:
    fs::path root_;
};

// A path as the plug-in holds it: backslashes.
std::wstring host(const fs::path& path) {
    std::wstring out = path.wstring();
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

void writeFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> out;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        out.insert(entry.path().filename().string());
    }
    return out;
}

DocSurface surface(const wchar_t* colour, const wchar_t* opacity, std::int32_t w, std::int32_t h) {
    DocSurface s;
    s.colour_path.set(colour);
    s.opacity_path.set(opacity);
    s.texture_sizes[kTextureOpacity][0] = w;
    s.texture_sizes[kTextureOpacity][1] = h;
    s.texture_sizes[kTextureColour][0] = 5; // to see whether the pass touched it
    s.texture_sizes[kTextureColour][1] = 5;
    return s;
}

void expectBlackTga(const fs::path& file, unsigned w, unsigned h) {
    const std::string bytes = readFile(file);
    const tgatest::Decoded d = tgatest::decodeTga(tgatest::Bytes(bytes.begin(), bytes.end()));
    ASSERT_TRUE(d.ok) << file;
    EXPECT_EQ(d.width, w);
    EXPECT_EQ(d.height, h);
    EXPECT_EQ(d.depth, 24u);
    EXPECT_TRUE(
        std::all_of(d.pixels.begin(), d.pixels.end(), [](unsigned char b) { return b == 0; }));
}

TEST(PlaceholderTextures, OpacityOnlySurfacesGetABlackColourTexture) {
    TempFolder temp;
    const fs::path out = temp.folder("out");
    // Something of the first name is there already: it is replaced.
    writeFile(out / "black512x256.tga", "stale");
    struct Case {
        DocSurface surface;
        const wchar_t* file; // expected colour texture in the folder; null: left alone
        std::int32_t w, h;
    };
    const Case cases[] = {
        {surface(L"", L"op.png", 512, 256), L"black512x256.tga", 512, 256},
        {surface(L"", L"op.png", 0, 0), L"black1024x1024.tga", 1024, 1024},
        {surface(L"", L"op.png", 0, -3), L"black1024x1024.tga", 1024, 1024},
        {surface(L"", L"op.png", -4, 16), nullptr, 0, 0},
        {surface(L"", L"op.png", 16, -1), nullptr, 0, 0},
        {surface(L"c.png", L"op.png", 8, 8), nullptr, 0, 0},
        {surface(L"", L"", 8, 8), nullptr, 0, 0},
        {surface(L"", L"op.png", 70000, 4), nullptr, 0, 0}, // no TGA holds it
        {surface(L"", L"op.png", 3, 2), L"black3x2.tga", 3, 2},
        {surface(L"", L"other.png", 3, 2), L"black3x2.tga", 3, 2},
    };
    SceneDoc doc;
    for (const Case& c : cases) {
        doc.surfaces.push_back(c.surface);
    }
    writePlaceholderTextures(doc, host(out / "scene.yfx"));

    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const DocSurface& got = doc.surfaces[i];
        if (cases[i].file != nullptr) {
            EXPECT_EQ(std::wstring(got.colour_path.text), host(out) + L"\\" + cases[i].file) << i;
            EXPECT_EQ(got.texture_sizes[kTextureColour][0], cases[i].w) << i;
            EXPECT_EQ(got.texture_sizes[kTextureColour][1], cases[i].h) << i;
        } else {
            EXPECT_STREQ(got.colour_path.text, cases[i].surface.colour_path.text) << i;
            EXPECT_EQ(got.texture_sizes[kTextureColour][0], 5) << i;
        }
    }
    EXPECT_EQ(namesIn(out),
              (std::set<std::string>{"black512x256.tga", "black1024x1024.tga", "black3x2.tga"}));
    expectBlackTga(out / "black512x256.tga", 512, 256);
    expectBlackTga(out / "black1024x1024.tga", 1024, 1024);
    expectBlackTga(out / "black3x2.tga", 3, 2);
}

TEST(PlaceholderTextures, NothingIsWrittenWhereItCannotBeWhole) {
    TempFolder temp;
    // A folder whose path leaves room for "black1x1.tga" within 259
    // characters but not for "black10x1.tga".
    const std::size_t rootLength = host(temp.root()).size();
    const std::size_t nameLength = 259 - 12 - 2 - rootLength;
    ASSERT_GT(nameLength, 0u);
    ASSERT_LT(nameLength, 256u);
    const fs::path deep = temp.folder(std::string(nameLength, 'd'));
    ASSERT_EQ(host(deep).size() + 1 + 12, 259u);
    // A folder where a file should go.
    const fs::path blocked = temp.folder("blocked");
    fs::create_directory(blocked / "black4x4.tga");

    SceneDoc doc;
    doc.surfaces = {surface(L"", L"op.png", 1, 1), surface(L"", L"op.png", 10, 1),
                    surface(L"", L"op.png", 10, 10)};
    writePlaceholderTextures(doc, host(deep / "scene.yfx"));
    EXPECT_EQ(std::wstring(doc.surfaces[0].colour_path.text), host(deep) + L"\\black1x1.tga");
    EXPECT_TRUE(doc.surfaces[1].colour_path.empty()); // 260 characters
    EXPECT_TRUE(doc.surfaces[2].colour_path.empty());
    EXPECT_EQ(namesIn(deep), (std::set<std::string>{"black1x1.tga"}));

    doc.surfaces = {surface(L"", L"op.png", 4, 4), surface(L"", L"op.png", 5, 5)};
    writePlaceholderTextures(doc, host(blocked / "scene.yfx"));
    EXPECT_TRUE(doc.surfaces[0].colour_path.empty());
    EXPECT_EQ(std::wstring(doc.surfaces[1].colour_path.text), host(blocked) + L"\\black5x5.tga");

    // A missing target folder, or no target: nothing at all.
    doc.surfaces = {surface(L"", L"op.png", 4, 4)};
    writePlaceholderTextures(doc, host(temp.root() / "missing" / "scene.yfx"));
    writePlaceholderTextures(doc, L"");
    EXPECT_TRUE(doc.surfaces[0].colour_path.empty());
    EXPECT_FALSE(fs::exists(temp.root() / "missing"));
}

std::unique_ptr<DocMap> map(std::int32_t channel, const std::wstring& path, std::int32_t type = 1) {
    auto out = std::make_unique<DocMap>();
    out->channel = channel;
    out->map_type = type;
    out->path.setWide(path.c_str());
    return out;
}

struct Skip {
    std::wstring source;
    TextureSkip why;
    bool operator==(const Skip& o) const { return source == o.source && why == o.why; }
};

std::vector<Skip> skipsOf(const TextureCopyReport& report) {
    std::vector<Skip> out;
    for (const TextureNotCopied& n : report.not_copied) {
        out.push_back({n.source, n.why});
    }
    return out;
}

TEST(TextureCopies, EachNameIsCopiedOnceAndNothingIsOverwritten) {
    TempFolder temp;
    const fs::path a = temp.folder("a");
    const fs::path b = temp.folder("b");
    const fs::path out = temp.folder("out");
    for (const char* name : {"tex.png", "second.png", "six.png", "typetwo.png"}) {
        writeFile(a / name, name);
    }
    writeFile(a / "op.png", "op");
    writeFile(a / "shared.png", "shared");
    writeFile(a / "existing.png", "new");
    writeFile(b / "tex.png", "b's tex");
    writeFile(out / "existing.png", "old");
    writeFile(out / "inside.png", "inside");
    fs::create_directory(a / "folder.png"); // cannot be read as a file

    SceneDoc doc;
    doc.materials.resize(2);
    std::vector<std::unique_ptr<DocMap>>& first = doc.materials[0].maps;
    first.push_back(map(0, host(a / "tex.png")));
    first.push_back(map(0, host(a / "second.png"))); // not the channel's first map
    first.push_back(map(1, host(a / "op.png")));
    first.push_back(map(6, host(a / "six.png")));
    first.push_back(map(3, host(a / "typetwo.png"), 2));
    first.push_back(nullptr);
    first.push_back(map(2, host(out) + L"\\.\\inside.png")); // the target's own file
    first.push_back(map(4, host(a / "shared.png")));
    std::vector<std::unique_ptr<DocMap>>& second = doc.materials[1].maps;
    second.push_back(map(0, host(b / "tex.png")));
    second.push_back(map(1, host(a / "existing.png")));
    second.push_back(map(2, host(a / "missing.png")));
    second.push_back(map(3, host(a / "folder.png")));
    second.push_back(map(4, host(a / "shared.png")));
    second.push_back(map(5, host(a) + L"\\"));

    TextureCopyReport report;
    ASSERT_EQ(copyTexturesToTarget(doc, host(out / "scene.yfx"), &report), 1);
    const std::wstring o = host(out) + L"\\";
    EXPECT_EQ(report.copied,
              (std::vector<std::wstring>{o + L"tex.png", o + L"op.png", o + L"shared.png"}));
    EXPECT_EQ(skipsOf(report), (std::vector<Skip>{
                                   {host(b / "tex.png"), TextureSkip::kNameTaken},
                                   {host(a / "existing.png"), TextureSkip::kAlreadyThere},
                                   {host(a / "missing.png"), TextureSkip::kCopyFailed},
                                   {host(a / "folder.png"), TextureSkip::kCopyFailed},
                                   {host(a) + L"\\", TextureSkip::kCopyFailed},
                               }));
    EXPECT_EQ(report.not_copied[0].destination, o + L"tex.png");
    EXPECT_EQ(namesIn(out), (std::set<std::string>{"existing.png", "inside.png", "op.png",
                                                   "shared.png", "tex.png"}));
    EXPECT_EQ(readFile(out / "tex.png"), "tex.png");
    EXPECT_EQ(readFile(out / "existing.png"), "old");
    EXPECT_EQ(readFile(out / "inside.png"), "inside");
    EXPECT_EQ(readFile(out / "shared.png"), "shared");
    EXPECT_EQ(std::wstring(doc.materials[0].maps[0]->path.wide), host(a / "tex.png"));
}

TEST(TextureCopies, PassesThatCannotStartOrPathsTooLong) {
    TempFolder temp;
    const fs::path a = temp.folder("a");
    writeFile(a / "ab.png", "ab");
    writeFile(a / "abc.png", "abc");
    SceneDoc doc;
    TextureCopyReport report;
    EXPECT_EQ(copyTexturesToTarget(doc, host(a / "scene.yfx"), &report), 0); // no materials

    doc.materials.resize(1);
    doc.materials[0].maps.push_back(map(0, host(a / "ab.png")));
    doc.materials[0].maps.push_back(map(1, host(a / "abc.png")));
    EXPECT_EQ(copyTexturesToTarget(doc, host(a / "missing" / "scene.yfx"), &report), 0);
    EXPECT_EQ(copyTexturesToTarget(doc, L"", &report), 0);
    EXPECT_TRUE(report.copied.empty());
    EXPECT_TRUE(report.not_copied.empty());

    // A folder of 253 characters with its separator: "ab.png" makes 259,
    // "abc.png" 260.
    const std::size_t rootLength = host(temp.root()).size();
    const fs::path deep = temp.folder(std::string(253 - 2 - rootLength, 'd'));
    ASSERT_EQ(host(deep).size() + 1, 253u);
    ASSERT_EQ(copyTexturesToTarget(doc, host(deep / "scene.yfx"), &report), 1);
    EXPECT_EQ(report.copied, (std::vector<std::wstring>{host(deep) + L"\\ab.png"}));
    EXPECT_EQ(skipsOf(report),
              (std::vector<Skip>{{host(a / "abc.png"), TextureSkip::kPathTooLong}}));
    EXPECT_EQ(namesIn(deep), (std::set<std::string>{"ab.png"}));
}

} // namespace
} // namespace prepare
} // namespace yfx
