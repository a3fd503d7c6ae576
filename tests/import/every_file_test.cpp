// Every file the tests have, imported whole under three sets of options:
// the files in tests/data, the reader tests' crafted files of every
// sectioned version (with damaged polygons) and containers, and the
// writers' full scene. Nothing may fault, and every mesh built must be sound.
#include "import_support.h"

#include "reader/crafted_file.h"

#include <QtCore/QDir>

#include <string>

using namespace importtest;

namespace {

struct Sample {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

std::vector<Sample> samples() {
    std::vector<Sample> out;
    const QDir data(QStringLiteral(YFX_TEST_DATA_DIR));
    for (const QFileInfo& info : data.entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            out.push_back({info.fileName().toStdString(),
                           std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
        }
    }
    yfx_test::CraftedScene damaged;
    damaged.bad_polygons = true;
    for (int version : {6, 8, 9, 10, 11, 29, 30, 31, 32, 33}) {
        out.push_back({"v" + std::to_string(version), yfx_test::craftFile(version, damaged)});
    }
    out.push_back({"v9 packed", yfx_test::craftContainer(yfx_test::craftFile(9))});
    out.push_back({"v31 packed", yfx_test::craftContainer(yfx_test::craftFile(31))});
    out.push_back({"full scene", writtenBytes(yfx_test::makeFullScene())});
    return out;
}

// The options of the import dialog as it opens.
ImportOptions dialogDefaults() {
    ImportOptions o;
    o.import_lights = o.import_materials = o.import_uvs = o.import_uvsets = 1;
    o.import_scale_factor = 1.0f;
    return o;
}

} // namespace

TEST_F(ImportTest, EveryTestFileImportsUnderEveryOptionSet) {
    ImportOptions groups = dialogDefaults();
    groups.import_groups = 1;
    const std::pair<const char*, ImportOptions> optionSets[] = {
        {"every option", everyOption()}, {"groups", groups}, {"defaults", dialogDefaults()}};
    int built = 0;
    for (const Sample& sample : samples()) {
        for (const auto& options : optionSets) {
            freshScene();
            yfx::SceneDoc doc;
            if (yfx::loadFromMemory(doc, sample.bytes.data(), sample.bytes.size(), kSourcePath) !=
                1) {
                continue;
            }
            build(std::move(doc), options.second, 2.0f);
            ++built;
            for (int i = 0; i < dzScene->getNumNodes(); ++i) {
                if (facetMeshOf(dzScene->getNode(i)) != nullptr) {
                    SCOPED_TRACE(sample.name + ", " + options.first);
                    expectSoundFacets(dzScene->getNode(i));
                }
            }
        }
    }
    EXPECT_GE(built, 3 * 13); // the crafted files and the full scene all load
}
