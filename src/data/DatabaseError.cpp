#include "data/DatabaseError.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include "data/SystemErrorCode.h"

namespace kq {
namespace {

ErrorKind kindOf(DatabaseFault fault) {
    switch (fault) {
        case DatabaseFault::Damaged:
            return ErrorKind::DatabaseDamaged;
        case DatabaseFault::NotAFile:
            return ErrorKind::DatabaseNotAFile;
        case DatabaseFault::ReadOnly:
            return ErrorKind::DatabaseReadOnly;
        case DatabaseFault::FolderUnwritable:
            return ErrorKind::FolderUnwritable;
        case DatabaseFault::DiskFull:
            return ErrorKind::DiskFull;
        case DatabaseFault::NetworkLost:
            return ErrorKind::NetworkUnavailable;
        case DatabaseFault::Locked:
            return ErrorKind::DatabaseLocked;
        case DatabaseFault::Other:
            break;
    }
    return ErrorKind::DiskError;
}

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

const QString kRebuild = QStringLiteral(
    "所有数据表都可以从程序文件夹中的三个工作簿（ry.xls、yd.xls、pb."
    "xls）重新生成：有了新的数据库后，"
    "请依次点击“更新打卡”“更新排班”“开始统计”。");

struct WriteRefusals {
    QMutex mutex;
    QHash<const sqlite3*, DatabaseFault> byConnection;
};

WriteRefusals& writeRefusals() {
    static WriteRefusals refusals;
    return refusals;
}

}  // namespace

void noteWriteRefusal(sqlite3* db, DatabaseFault why) {
    WriteRefusals& refusals = writeRefusals();
    const QMutexLocker lock(&refusals.mutex);
    refusals.byConnection.insert(db, why);
}

void forgetWriteRefusal(sqlite3* db) {
    WriteRefusals& refusals = writeRefusals();
    const QMutexLocker lock(&refusals.mutex);
    refusals.byConnection.remove(db);
}

std::optional<DatabaseFault> writeRefusalOf(sqlite3* db) {
    WriteRefusals& refusals = writeRefusals();
    const QMutexLocker lock(&refusals.mutex);
    const auto it = refusals.byConnection.constFind(db);
    if (it == refusals.byConnection.constEnd()) return std::nullopt;
    return *it;
}

DatabaseError::DatabaseError(DatabaseFault fault, const QString& databasePath,
                             const QString& details)
    : Error(kindOf(fault), databaseFaultDescription(fault, databasePath), details),
      fault_(fault),
      path_(databasePath) {}

QString DatabaseError::folder() const { return QFileInfo(path_).absolutePath(); }

DatabaseFault classifyDatabaseFault(int extendedCode, int systemErrno,
                                    const QString& databasePath) {
    const QFileInfo file(databasePath);
    const QFileInfo folder(file.absolutePath());
    switch (extendedCode & 0xff) {
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return DatabaseFault::Damaged;
        case SQLITE_FULL:
            return DatabaseFault::DiskFull;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return DatabaseFault::Locked;
        case SQLITE_READONLY:
            // Without a journal beside it the file cannot be written, however
            // writable the file itself is.
            if (extendedCode == SQLITE_READONLY_DIRECTORY || !folder.isWritable())
                return DatabaseFault::FolderUnwritable;
            return DatabaseFault::ReadOnly;
        case SQLITE_PERM:
            return DatabaseFault::ReadOnly;
        case SQLITE_CANTOPEN:
        case SQLITE_IOERR:
            // Asked first: on a share that went away the file and its folder
            // no longer exist, which would read as a folder we may not write.
            switch (classifySystemError(kThisPlatform, systemErrno)) {
                case SystemFault::DiskFull:
                    return DatabaseFault::DiskFull;
                case SystemFault::NetworkLost:
                    return DatabaseFault::NetworkLost;
                case SystemFault::Unknown:
                    break;
            }
            if (file.isDir() || (file.exists() && !file.isReadable()))
                return DatabaseFault::NotAFile;
            if (!folder.isDir() || !folder.isWritable()) return DatabaseFault::FolderUnwritable;
            return DatabaseFault::Other;
        default:
            return DatabaseFault::Other;
    }
}

QString databaseFaultDescription(DatabaseFault fault, const QString& databasePath) {
    const QString file = native(databasePath);
    switch (fault) {
        case DatabaseFault::Damaged:
            return QStringLiteral("数据库文件“%1”已损坏，其中的数据无法可靠读写。\n").arg(file) +
                   kRebuild;
        case DatabaseFault::NotAFile:
            return QStringLiteral(
                       "“%1”%2，无法作为数据库打开。\n请把它改名或移出程序文件夹，"
                       "程序会自动新建一个空数据库。")
                       .arg(file, QFileInfo(databasePath).isDir()
                                      ? QStringLiteral("是一个文件夹，不是数据库文件")
                                      : QStringLiteral("无法读取（没有读取权限）")) +
                   kRebuild;
        case DatabaseFault::ReadOnly:
            return QStringLiteral(
                       "数据库文件“%1”是只读的，无法写入，这一步操作没有完成。\n"
                       "请取消这个文件的只读属性（或请管理员给予写入权限）后重试。")
                .arg(file);
        case DatabaseFault::FolderUnwritable:
            return QStringLiteral(
                       "程序文件夹“%1”不允许写入，数据库文件“%2”无法建立或修改"
                       "（修改时要在同一文件夹中建立临时文件），这一步操作没有完成。\n"
                       "请给这个文件夹写入权限，或把整个程序文件夹复制到可以写入的位置后重试。")
                .arg(native(QFileInfo(databasePath).absolutePath()), file);
        case DatabaseFault::DiskFull:
            return QStringLiteral(
                       "磁盘已满，数据库文件“%1”无法写入，这一步操作没有完成。\n"
                       "请删除这个磁盘上不需要的文件、腾出空间后重试。")
                .arg(file);
        case DatabaseFault::NetworkLost:
            return QStringLiteral(
                       "程序文件夹“%1”所在的网络位置现在无法访问（网络断开，或共享文件夹"
                       "已关闭、改名或移走），数据库文件“%2”无法读写，这一步操作没有完成。\n"
                       "请检查网络连接，确认能在文件管理器中打开这个文件夹后重试；"
                       "如果这个共享不再提供，请把整个程序文件夹复制到本机磁盘上使用。")
                .arg(native(QFileInfo(databasePath).absolutePath()), file);
        case DatabaseFault::Locked:
            return QStringLiteral(
                       "数据库文件“%1”正被其他程序使用（例如另一个本程序窗口正在导入或"
                       "统计），这一步操作没有完成。\n请等其他程序完成或关闭它后重试。")
                .arg(file);
        case DatabaseFault::Other:
            break;
    }
    return QStringLiteral(
               "读写数据库文件“%1”时出错，这一步操作没有完成。\n"
               "请重试；如果仍然出错，请把这条消息的详细信息告诉技术支持。")
        .arg(file);
}

void throwDatabaseError(sqlite3* db, const QString& databasePath, const QString& sql) {
    const int code = db ? sqlite3_extended_errcode(db) : SQLITE_CANTOPEN;
    const int systemErrno = db ? sqlite3_system_errno(db) : 0;
    QString details = QStringLiteral("SQLite：%1（错误码 %2）")
                          .arg(db ? QString::fromUtf8(sqlite3_errmsg(db))
                                  : QString::fromUtf8(sqlite3_errstr(code)))
                          .arg(code);
    if (systemErrno != 0) details += QStringLiteral("\n系统：%1").arg(qt_error_string(systemErrno));
    if (!sql.trimmed().isEmpty()) details += QStringLiteral("\n语句：") + sql.trimmed();
    const std::optional<DatabaseFault> refused =
        db && (code & 0xff) == SQLITE_READONLY ? writeRefusalOf(db) : std::nullopt;
    throw DatabaseError(refused ? *refused : classifyDatabaseFault(code, systemErrno, databasePath),
                        databasePath, details);
}

}  // namespace kq
