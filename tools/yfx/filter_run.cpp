#include "tools/yfx/filter_run.h"

#include "tools/yfx/folder_changes.h"
#include "tools/yfx/module_host.h"
#include "tools/yfx/progress_printer.h"

#include "export/export_option_keys.h"
#include "import/import_option_keys.h"

#include <dzexporter.h>
#include <dzfileiosettings.h>
#include <dzimporter.h>
#include <dzplugin.h>

#include <QtCore/QFileInfo>

#include <cstdio>

namespace yfx {

namespace {

const char* kindOf(const QString& path, const QString& target) {
    const QFileInfo info(path);
    if (info.absoluteFilePath() == QFileInfo(target).absoluteFilePath()) {
        return "file";
    }
    if (info.fileName() == QLatin1String("logfile.txt")) {
        return "log";
    }
    return info.suffix().compare(QLatin1String("tga"), Qt::CaseInsensitive) == 0 ? "texture"
                                                                                 : "other";
}

bool handlesYfx(const QString& extension) {
    return extension.compare(QLatin1String("YFX"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool openFilterModule(const QString& path, FilterModule& module, QString& error) {
    if (!loadPluginModule(path, module.loaded, error)) {
        return false;
    }
    module.setSink = findMessageSink(module.loaded, error);
    return module.setSink != nullptr;
}

std::unique_ptr<DzExporter> createExporter(const LoadedPlugin& loaded, QString& error) {
    for (DzClassFactoryIterator it = loaded.plugin->getFactories(); it.hasNext();) {
        const DzClassFactory* factory = it.next();
        if (factory == nullptr) {
            continue;
        }
        std::unique_ptr<QObject> object(factory->createInstance());
        auto* exporter = qobject_cast<DzExporter*>(object.get());
        if (exporter != nullptr && handlesYfx(exporter->getExtension())) {
            object.release();
            return std::unique_ptr<DzExporter>(exporter);
        }
    }
    error = QStringLiteral("module %1 registers no exporter for YFX files").arg(loaded.path);
    return nullptr;
}

std::unique_ptr<DzImporter> createImporter(const LoadedPlugin& loaded, QString& error) {
    for (DzClassFactoryIterator it = loaded.plugin->getFactories(); it.hasNext();) {
        const DzClassFactory* factory = it.next();
        if (factory == nullptr) {
            continue;
        }
        std::unique_ptr<QObject> object(factory->createInstance());
        auto* importer = qobject_cast<DzImporter*>(object.get());
        if (importer == nullptr) {
            continue;
        }
        for (int i = 0; i < importer->getNumExtensions(); ++i) {
            if (handlesYfx(importer->getExtension(i))) {
                object.release();
                return std::unique_ptr<DzImporter>(importer);
            }
        }
    }
    error = QStringLiteral("module %1 registers no importer for YFX files").arg(loaded.path);
    return nullptr;
}

bool runExportStep(const FilterModule& module, const QString& targetPath,
                   const std::vector<int>& options, const char* command, ExportRun& run,
                   QString& error, bool showProgress) {
    std::unique_ptr<DzExporter> exporter = createExporter(module.loaded, error);
    if (!exporter) {
        return false;
    }
    DzFileIOSettings settings;
    settings.setIntValue(QString::fromLatin1(kExportDialogReturnedKey), 1);
    for (int i = 0; i < kExportOptionCount && std::size_t(i) < options.size(); ++i) {
        settings.setIntValue(QString::fromLatin1(kExportOptionKeys[i]), options[std::size_t(i)]);
    }
    const FolderSnapshot before(QFileInfo(targetPath).absolutePath());
    {
        MessageScope messages(module.setSink, command);
        const QByteArray prefix = QByteArray("yfx ") + command;
        std::unique_ptr<ProgressPrinter> progress;
        if (showProgress) {
            progress = std::make_unique<ProgressPrinter>(stderr, prefix.constData());
        }
        run.result = exporter->writeFile(targetPath, &settings);
    }
    run.written = before.changedFiles();
    return true;
}

QString exportRunProblem(const ExportRun& run, const QString& targetPath) {
    if (run.result == kFilterFailed) {
        return QStringLiteral("the write step failed (98)");
    }
    if (run.result != 0) {
        return QStringLiteral("the write step did not run (host error 0x%1)")
            .arg(run.result, 0, 16);
    }
    if (!run.written.contains(QFileInfo(targetPath).absoluteFilePath())) {
        return QStringLiteral("the write step reported success but wrote no %1").arg(targetPath);
    }
    return QString();
}

void listWrittenFiles(const QStringList& written, const QString& targetPath) {
    for (const char* kind : {"file", "log", "texture", "other"}) {
        for (const QString& path : written) {
            if (qstrcmp(kindOf(path, targetPath), kind) == 0) {
                std::printf("%-8s %s (%lld bytes)\n", (QByteArray(kind) + ':').constData(),
                            path.toUtf8().constData(),
                            static_cast<long long>(QFileInfo(path).size()));
            }
        }
    }
    std::fflush(stdout);
}

bool runImportStep(const FilterModule& module, const QString& path, const ImportFlags& flags,
                   const char* command, DzError& result, QString& error) {
    std::unique_ptr<DzImporter> importer = createImporter(module.loaded, error);
    if (!importer) {
        return false;
    }
    DzFileIOSettings settings;
    settings.setIntValue(QString::fromLatin1(kImportDialogReturnedKey), 1);
    for (int i = 0; i < kImportOptionCount && std::size_t(i) < flags.options.size(); ++i) {
        settings.setIntValue(QString::fromLatin1(kImportOptionKeys[i]),
                             flags.options[std::size_t(i)]);
    }
    settings.setFloatValue(QString::fromLatin1(kImportScaleFactorKey), double(flags.scale));
    MessageScope messages(module.setSink, command);
    const QByteArray prefix = QByteArray("yfx ") + command;
    ProgressPrinter progress(stderr, prefix.constData());
    result = importer->readFile(path, &settings);
    return true;
}

} // namespace yfx
