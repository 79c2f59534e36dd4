#include "data/DamagedDatabase.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#endif

#include <QDir>
#include <QFileInfo>

#include "data/Connection.h"
#include "data/Error.h"

namespace kq {
namespace {

// The engine's companion files of a database, by suffix.
const QStringList kCompanions = {QStringLiteral("-journal"), QStringLiteral("-wal"),
                                 QStringLiteral("-shm")};

// A plain rename: unlike QFile::rename it never falls back to copy and
// delete. Empty when done, else the system's reason. Windows takes the
// names in UTF-16: its narrow calls lose what the code page cannot spell.
QString renameFile(const QString& from, const QString& to) {
#ifdef _WIN32
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    if (MoveFileExW(reinterpret_cast<LPCWSTR>(source.utf16()),
                    reinterpret_cast<LPCWSTR>(target.utf16()), 0))
        return {};
    return qt_error_string(int(GetLastError()));
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return {};
    return qt_error_string(errno);
#endif
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
    const QString failure = QFileInfo::exists(folder.filePath(newName))
                                ? QStringLiteral("“%1”已存在").arg(newName)
                                : renameFile(database, folder.filePath(newName));
    if (!failure.isEmpty()) {
        throw Error(ErrorKind::DatabaseRenameFailed,
                    QStringLiteral("无法把数据库文件“%1”改名为“%2”，数据库保持原样。\n"
                                   "请关闭可能正在使用它的程序，并确认程序文件夹允许写入后重试。")
                        .arg(QDir::toNativeSeparators(database), newName),
                    failure);
    }
    for (const QString& suffix : kCompanions) {
        const QString companion = database + suffix;
        if (QFileInfo::exists(companion)) renameFile(companion, folder.filePath(newName + suffix));
    }
}

}  // namespace kq
