// yfx convert of the demo export to glTF and GLB, with textures of four
// formats: every image the model names is PNG or JPEG by its bytes (JPEG and
// PNG files named as they are, TGA and BMP converted to PNG beside the glTF
// or into the GLB, showing the same colour), and no existing file is replaced.
#include "model_test_support.h"

#include "document/scene_doc.h"
#include "format/load_file.h"
#include "tools/yfx/model_convert.h"
#include "tools/yfx/project_output.h"
#include "tools/yfx/texture_image.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QProcess>
#include <QtGui/QImage>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

namespace modeltest {
namespace {

using nlohmann::json;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string kindOf(const QByteArray& bytes) {
    if (bytes.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8))) {
        return "png";
    }
    return bytes.startsWith(QByteArray("\xFF\xD8\xFF", 3)) ? "jpeg" : "other";
}

// The colour of the picture's middle pixel, from PNG bytes.
QColor middleColour(const QByteArray& png) {
    const QImage image = QImage::fromData(png, "PNG");
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

// The demo scene exported by the tool into `folder`, its colour maps of the
// head, the legs and the crate then switched to a JPEG, a BMP and a PNG file.
QString demoProject(const QString& folder) {
    const QString project = QDir(folder).filePath(QStringLiteral("demo.yfx"));
    QProcess tool;
    tool.start(QStringLiteral(YFX_TOOL_PATH),
               {QStringLiteral("export"), QStringLiteral("--demo"), project});
    EXPECT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const std::map<std::string, std::pair<const char*, const char*>> switched = {
        {"head_color.tga", {"photo.jpg", "JPG"}},
        {"legs_color.tga", {"paint.bmp", "BMP"}},
        {"crate_color.tga", {"flat.png", "PNG"}}};
    for (const auto& s : switched) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(QColor(10, 200, 30));
        EXPECT_TRUE(image.save(QDir(folder).filePath(s.second.first), s.second.second));
    }
    yfx::SceneDoc doc;
    std::string reason;
    const std::wstring host = QDir::toNativeSeparators(project).toStdWString();
    EXPECT_EQ(yfx::loadFile(doc, host, &reason), 1) << reason;
    int changed = 0;
    for (yfx::DocMaterial& material : doc.materials) {
        for (auto& map : material.maps) {
            const std::string name =
                map ? QFileInfo(QString::fromWCharArray(map->path.wide).replace('\\', '/'))
                          .fileName()
                          .toStdString()
                    : std::string();
            const auto s = switched.find(name);
            if (s != switched.end()) {
                map->path.setAnsi(s->second.first);
                ++changed;
            }
        }
    }
    EXPECT_EQ(changed, 3);
    EXPECT_TRUE(yfx::saveProjectFile(doc, false, project.toStdString(), reason)) << reason;
    return project;
}

yfx::ConvertOutcome convert(const QString& project, const QString& model) {
    yfx::ProjectToModel request;
    request.project = project;
    request.model = model;
    request.flags = defaultConvertImportFlags();
    yfx::ConvertOutcome outcome;
    EXPECT_TRUE(yfx::convertProjectToModel(filterModule(), request, "convert", outcome))
        << outcome.problem.toStdString();
    return outcome;
}

// The glTF's images: each one's bytes, by its file name (the embedded ones
// by their index).
std::map<std::string, QByteArray> images(const json& gltf, const QString& folder,
                                         const QByteArray& binary) {
    std::map<std::string, QByteArray> out;
    std::size_t index = 0;
    for (const json& image : gltf.value("images", json::array())) {
        if (image.contains("uri")) {
            const QString uri = QString::fromStdString(image["uri"].get<std::string>());
            out[QFileInfo(uri).fileName().toStdString()] =
                readAll(QFileInfo(QDir(folder), uri).absoluteFilePath());
        } else {
            const json& view = gltf["bufferViews"][image["bufferView"].get<std::size_t>()];
            EXPECT_EQ(image["mimeType"], "image/png");
            out["embedded " + std::to_string(index)] =
                binary.mid(view.value("byteOffset", 0), view["byteLength"].get<int>());
        }
        ++index;
    }
    return out;
}

TEST(GltfTextures, EveryImageIsPngOrJpegAndNoFileIsReplaced) {
    Scratch scratch;
    const QString project = demoProject(scratch.folder(QStringLiteral("project")));
    const QString out = scratch.folder(QStringLiteral("out"));
    // The name the skin's colour map would take is held by another file.
    const QString taken = QDir(out).filePath(QStringLiteral("skin_color.png"));
    {
        QFile file(taken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not this picture");
    }

    const yfx::ConvertOutcome first = convert(project, QDir(out).filePath("demo.gltf"));
    EXPECT_EQ(readAll(taken), QByteArray("not this picture"));
    const json gltf = json::parse(readAll(QDir(out).filePath("demo.gltf")).toStdString());
    const std::map<std::string, QByteArray> named = images(gltf, out, QByteArray());
    std::set<std::string> names;
    for (const auto& image : named) {
        names.insert(image.first);
        EXPECT_NE(kindOf(image.second), "other") << image.first;
    }
    EXPECT_EQ(kindOf(named.at("photo.jpg")), "jpeg");
    EXPECT_EQ(kindOf(named.at("flat.png")), "png");
    EXPECT_EQ(names.count("skin_color.png"), 0u);
    // Converted: the TGA's colour and the BMP's.
    EXPECT_EQ(middleColour(named.at("skin_color_1.png")), QColor(224, 172, 140));
    EXPECT_EQ(middleColour(named.at("paint.png")), QColor(10, 200, 30));
    std::set<std::string> listed;
    for (const QString& file : first.modelFiles) {
        listed.insert(QFileInfo(file).fileName().toStdString());
    }
    EXPECT_EQ(listed.count("skin_color_1.png"), 1u);
    EXPECT_EQ(listed.count("paint.png"), 1u);
    for (const std::string& file : listed) { // no picture the glTF does not name
        EXPECT_TRUE(file.rfind("demo.", 0) == 0 || names.count(file) == 1) << file;
    }

    // A second conversion beside the first finds its pictures there already.
    const QStringList before = QDir(out).entryList(QDir::Files);
    const yfx::ConvertOutcome second = convert(project, QDir(out).filePath("again.gltf"));
    const QStringList after = QDir(out).entryList(QDir::Files);
    EXPECT_EQ(after.size(), before.size() + 2) << after.join(' ').toStdString(); // glTF, bin
    EXPECT_EQ(second.modelFiles.size(), 2u);

    // A GLB holds the converted pictures and names the others.
    const QString glbFolder = scratch.folder(QStringLiteral("glb"));
    convert(project, QDir(glbFolder).filePath("demo.glb"));
    EXPECT_EQ(QDir(glbFolder).entryList(QDir::Files), QStringList{"demo.glb"});
    const QByteArray glb = readAll(QDir(glbFolder).filePath("demo.glb"));
    ASSERT_GT(glb.size(), 28);
    ASSERT_TRUE(glb.startsWith("glTF"));
    std::uint32_t jsonLength = 0;
    std::memcpy(&jsonLength, glb.constData() + 12, 4);
    ASSERT_LE(20 + qint64(jsonLength) + 8, glb.size());
    const json header = json::parse(glb.mid(20, int(jsonLength)).toStdString());
    const QByteArray binary = glb.mid(20 + int(jsonLength) + 8);
    int embedded = 0;
    for (const auto& image : images(header, glbFolder, binary)) {
        EXPECT_NE(kindOf(image.second), "other") << image.first;
        embedded += image.first.rfind("embedded", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(embedded, int(named.size()) - 2); // all but the JPEG and the PNG
}

} // namespace
} // namespace modeltest
