// What an operation wrote into one folder: the files of the folder before it
// and after it, compared by size and modification time.
#pragma once

#include <QtCore/QHash>
#include <QtCore/QPair>
#include <QtCore/QString>
#include <QtCore/QStringList>

namespace yfx {

class FolderSnapshot {
public:
    // The plain files directly in `folder` (not its subfolders).
    explicit FolderSnapshot(const QString& folder);

    // Absolute paths of the files now in the folder that were not there at
    // the snapshot or have changed since, sorted.
    QStringList changedFiles() const;

private:
    QString m_folder;
    QHash<QString, QPair<qint64, qint64>> m_files; // name -> (size, modified ms)
};

} // namespace yfx
