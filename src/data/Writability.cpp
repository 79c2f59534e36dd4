#include "data/Writability.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace kq {

bool isWritablePath(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) {
        QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".kq-write-probe-XXXXXX")));
        return probe.open();
    }
    if (!info.isFile()) return false;
    QFile file(path);
    return file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

std::optional<DatabaseFault> databaseWriteRefusal(const QString& databasePath,
                                                  const WritableProbe& writable) {
    const QFileInfo file(databasePath);
    // A folder that is not there (a share that went away, a path that could
    // not be made) is left to the engine, whose system error tells which.
    if (!QFileInfo(file.absolutePath()).isDir()) return std::nullopt;
    if (!writable(file.absolutePath())) return DatabaseFault::FolderUnwritable;
    if (file.isFile() && !writable(file.absoluteFilePath())) return DatabaseFault::ReadOnly;
    return std::nullopt;
}

}  // namespace kq
