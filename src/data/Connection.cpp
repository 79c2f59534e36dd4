#include "data/Connection.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>

#include "data/Error.h"
#include "data/JetSql.h"
#include "data/TableCatalogue.h"

namespace kq {

Connection::Connection(const QString& programFolder) : folder_(programFolder) {
    const QString path = QDir(programFolder).filePath(databaseFileName());
    const QByteArray utf8 = path.toUtf8();
    const int rc = sqlite3_open_v2(utf8.constData(), &db_,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
        sqlite3_close(db_);
        db_ = nullptr;
        throw Error(errc::kDatabase,
                    QStringLiteral("无法打开数据库文件“%1”：%2。请检查程序文件夹是否可写。")
                        .arg(QDir::toNativeSeparators(path), message));
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

void Connection::close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

sqlite3* Connection::handle() const {
    if (!db_) throw Error(errc::kDatabase, QStringLiteral("数据库连接已关闭，无法执行操作。"));
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

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.executeNative(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction() {
    if (open_ && connection_.isOpen())
        sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    connection_.executeNative(QStringLiteral("COMMIT"));
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
