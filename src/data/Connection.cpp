#include "data/Connection.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>

#include "data/DatabaseError.h"
#include "data/Error.h"
#include "data/IntegrityCheck.h"
#include "data/JetSql.h"
#include "data/TableCatalogue.h"

namespace kq {

Connection::Connection(const QString& programFolder, const WritableProbe& writable)
    : folder_(programFolder) {
    const QString path = databasePath();
    writeRefusal_ = databaseWriteRefusal(path, writable);
    if (writeRefusal_ && !QFileInfo::exists(path))
        throw DatabaseError(*writeRefusal_, path,
                            QStringLiteral("无法在“%1”中建立文件。")
                                .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    const QByteArray utf8 = path.toUtf8();
    // A connection serves one thread at a time: no lock around every call.
    const int flags =
        SQLITE_OPEN_NOMUTEX |
        (writeRefusal_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const int rc = sqlite3_open_v2(utf8.constData(), &db_, flags, nullptr);
    if (rc == SQLITE_OK && writeRefusal_) noteWriteRefusal(db_, *writeRefusal_);
    if (rc != SQLITE_OK) {
        try {
            throwDatabaseError(db_, path, QString());
        } catch (...) {
            close();
            throw;
        }
    }
    sqlite3_busy_timeout(db_, 2000);
    try {
        ensureCatalogue(*this);
    } catch (...) {
        close();
        throw;
    }
}

Connection::~Connection() { close(); }

QString Connection::databasePath() const { return QDir(folder_).filePath(databaseFileName()); }

void Connection::verifyIntact() { throwIfDamaged(handle(), databasePath()); }

void Connection::close() {
    if (db_) {
        forgetWriteRefusal(db_);
        sqlite3_close_v2(db_);
    }
    db_ = nullptr;
}

sqlite3* Connection::handle() const {
    if (!db_)
        throw Error(ErrorKind::ConnectionClosed,
                    QStringLiteral("数据库连接已关闭，无法执行操作。"));
    return db_;
}

Statement Connection::prepare(const QString& sql) { return Statement(handle(), sql); }

void Connection::executeNative(const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(handle(), sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        sqlite3_free(message);
        throwSqliteError(db_, sql);
    }
}

void Connection::execute(const QString& jetSql) { executeNative(jetsql::toSqlite(jetSql)); }

Recordset Connection::open(const QString& jetSql) {
    Statement statement = prepare(jetsql::toSqlite(jetSql));
    return Recordset(RowSet::read(statement));
}

Transaction::Transaction(Connection& connection, Scope scope)
    : connection_(connection), nested_(!sqlite3_get_autocommit(connection.handle())) {
    if (nested_)
        connection_.executeNative(QStringLiteral("SAVEPOINT kq_nested"));
    else
        connection_.executeNative(scope == Scope::Immediate ? QStringLiteral("BEGIN IMMEDIATE")
                                                            : QStringLiteral("BEGIN"));
}

Transaction::~Transaction() {
    if (!open_ || !connection_.isOpen()) return;
    // A failure may have ended the whole transaction already: then these
    // fail too, harmlessly.
    sqlite3_exec(connection_.handle(),
                 nested_ ? "ROLLBACK TO kq_nested; RELEASE kq_nested" : "ROLLBACK", nullptr,
                 nullptr, nullptr);
}

void Transaction::commit() {
    connection_.executeNative(nested_ ? QStringLiteral("RELEASE kq_nested")
                                      : QStringLiteral("COMMIT"));
    open_ = false;
}

bool TableExist(Connection& connection, const QString& strTableName) {
    if (!connection.isOpen()) return false;
    try {
        Statement s = connection.prepare(QStringLiteral(
            "select 1 from sqlite_master where type = 'table' and name = ?1 collate nocase"));
        s.bind(1, strTableName);
        return s.step();
    } catch (const Error&) {
        return false;
    }
}

}  // namespace kq
