// `yfx convert` as a command: it chooses its way by the extensions, refuses
// what it cannot read or write before touching anything, takes each way's own
// flags only, and lists the model formats in its help.
#include "model_test_support.h"

#include <QtCore/QProcess>

#include <gtest/gtest.h>

namespace modeltest {
namespace {

struct ToolRun {
    int status;
    std::string out, err;
};

ToolRun convert(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(YFX_TOOL_PATH), QStringList{QStringLiteral("convert")} + args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

TEST(ConvertCommand, ChoosesItsWayByExtension) {
    Scratch scratch;
    const QString missing = scratch.path(QStringLiteral("missing"));
    const struct {
        QStringList args;
        int status;
        const char* says; // on stderr (stdout for --help)
    } cases[] = {
        {{"--help"}, 0, "--unit-cm"},
        {{missing + ".obj", missing + ".gltf"}, 2, "one of IN and OUT must be a project file"},
        {{missing + ".xyz", missing + ".yfx"}, 2, "no reader for files of extension 'xyz'"},
        {{missing + ".yfx", missing + ".x3d"}, 2, "no writer for files of extension 'x3d'"},
        {{missing + ".yfx", missing + ".gltf", "--unit-cm", "2"}, 2, "--unit-cm"},
        {{missing + ".obj", missing + ".yfx", "--scale", "2"}, 2, "--scale"},
        {{missing + ".obj", missing + ".yfx", "--lights", "--no-lights"},
         2,
         "cannot both be given"},
        {{missing + ".obj", missing + ".yfx"}, 1, "missing.obj"},
        {{missing + ".yfx", missing + ".gltf"}, 1, "missing.yfx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun run = convert(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.says), std::string::npos) << run.err;
    }
    const ToolRun help = convert({"--help"});
    for (const char* format : {" gltf", " fbx", " dae", " obj", " lwo", " glb"}) {
        EXPECT_NE(help.out.find(format), std::string::npos) << format;
    }
}

} // namespace
} // namespace modeltest
