#include "tools/yfx/folder_changes.h"

#include <QtCore/QDateTime>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>

namespace yfx {

namespace {

QHash<QString, QPair<qint64, qint64>> filesIn(const QString& folder) {
    QHash<QString, QPair<qint64, qint64>> files;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& info : entries) {
        files.insert(info.fileName(),
                     qMakePair(info.size(), info.lastModified().toMSecsSinceEpoch()));
    }
    return files;
}

} // namespace

FolderSnapshot::FolderSnapshot(const QString& folder)
    : m_folder(folder), m_files(filesIn(folder)) {}

QStringList FolderSnapshot::changedFiles() const {
    const QHash<QString, QPair<qint64, qint64>> now = filesIn(m_folder);
    QStringList changed;
    for (auto it = now.constBegin(); it != now.constEnd(); ++it) {
        const auto before = m_files.constFind(it.key());
        if (before == m_files.constEnd() || before.value() != it.value()) {
            changed << QDir(m_folder).absoluteFilePath(it.key());
        }
    }
    changed.sort();
    return changed;
}

} // namespace yfx
