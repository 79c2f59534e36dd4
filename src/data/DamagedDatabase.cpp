#include "data/DamagedDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "data/Connection.h"
#include "data/Error.h"

namespace kq {
namespace {

// The engine's companion files of a database, by suffix.
const QStringList kCompanions = {QStringLiteral("-journal"), QStringLiteral("-wal"),
                                 QStringLiteral("-shm")};

// A plain rename: unlike QFile::rename it never falls back to copy and
// delete.
bool renameFile(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

}  // namespace

QString damagedDatabaseName(const QString& programFolder, const QDateTime& when) {
    const QDir folder(programFolder);
    const QString base = Connection::databaseFileName() + QStringLiteral(".damaged-") +
                         when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(folder.filePath(name)); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

void setAsideDatabase(const QString& programFolder, const QString& newName) {
    const QDir folder(programFolder);
    const QString database = folder.filePath(Connection::databaseFileName());
    if (QFileInfo::exists(folder.filePath(newName)) ||
        !renameFile(database, folder.filePath(newName))) {
        const int error = errno;
        throw Error(errc::kDatabaseCannotOpen,
                    QStringLiteral("无法把数据库文件“%1”改名为“%2”，数据库保持原样。\n"
                                   "请关闭可能正在使用它的程序，并确认程序文件夹允许写入后重试。")
                        .arg(QDir::toNativeSeparators(database), newName),
                    QString::fromLocal8Bit(std::strerror(error)));
    }
    for (const QString& suffix : kCompanions) {
        const QString companion = database + suffix;
        if (QFileInfo::exists(companion)) renameFile(companion, folder.filePath(newName + suffix));
    }
}

}  // namespace kq
