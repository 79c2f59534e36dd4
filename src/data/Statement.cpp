#include "data/Statement.h"

#include <sqlite3.h>

#include <QRegularExpression>

#include "data/DatabaseError.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"

namespace kq {

void throwSqliteError(sqlite3* db, const QString& sql) {
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    static const QRegularExpression noTable(QStringLiteral("no such table: (?:main\\.)?(\\S+)"));
    static const QRegularExpression noColumn(QStringLiteral("no such column: (\\S+)"));
    if (const auto m = noTable.match(message); m.hasMatch()) {
        // On a writable file opening would have created it: the write that
        // is missing is the one the file refuses.
        if (const auto refused = writeRefusalOf(db); refused && isCatalogueTable(m.captured(1)))
            throw DatabaseError(*refused, QString::fromUtf8(sqlite3_db_filename(db, "main")),
                                QStringLiteral("SQLite：%1\n语句：%2").arg(message, sql.trimmed()));
        throw Error(ErrorKind::TableNotFound,
                    QStringLiteral("数据库中找不到表“%1”。请先导入或重新统计相应的数据。")
                        .arg(m.captured(1)));
    }
    if (const auto m = noColumn.match(message); m.hasMatch())
        throw Error(
            ErrorKind::FieldNotFound,
            QStringLiteral("数据表中没有“%1”列。请检查导入的工作簿的列名。").arg(m.captured(1)));
    if (sqlite3_errcode(db) == SQLITE_ERROR)  // the statement, not the file
        throw Error(
            ErrorKind::Syntax,
            QStringLiteral("数据库无法执行这一步操作，操作没有完成。请检查输入的内容后重试；"
                           "如果仍然出错，请把这条消息的详细信息告诉技术支持。"),
            QStringLiteral("SQLite：%1\n语句：%2").arg(message, sql.trimmed()));
    throwDatabaseError(db, QString::fromUtf8(sqlite3_db_filename(db, "main")), sql);
}

Statement::Statement(sqlite3* db, const QString& sql) : db_(db), sql_(sql) {
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &stmt_, nullptr) !=
        SQLITE_OK)
        throwSqliteError(db_, sql_);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_),
      stmt_(other.stmt_),
      sql_(std::move(other.sql_)),
      isDateTime_(std::move(other.isDateTime_)),
      texts_(std::move(other.texts_)) {
    other.stmt_ = nullptr;
}

void Statement::bindNull(int index) { sqlite3_bind_null(stmt_, index); }

void Statement::bind(int index, double value) { sqlite3_bind_double(stmt_, index, value); }

void Statement::bind(int index, const QString& value) {
    // Held until the parameter is bound again or the statement goes, so
    // SQLite need not copy it: an import binds millions of texts.
    if (texts_.size() <= std::size_t(index)) texts_.resize(std::size_t(index) + 1);
    QByteArray& utf8 = texts_[std::size_t(index)];
    utf8 = value.toUtf8();
    sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_STATIC);
}

void Statement::bind(int index, const Value& value) {
    switch (value.type()) {
        case Value::Type::Null:
            bindNull(index);
            break;
        case Value::Type::Number:
        case Value::Type::DateTime:
            bind(index, value.toDouble());
            break;
        case Value::Type::Text:
            bind(index, value.textValue());
            break;
    }
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throwSqliteError(db_, sql_);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

QString Statement::columnName(int i) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

bool Statement::columnIsDateTime(int i) const {
    if (isDateTime_.size() != std::size_t(columnCount()))
        isDateTime_.assign(std::size_t(columnCount()), -1);
    signed char& known = isDateTime_[std::size_t(i)];
    if (known < 0) {
        const char* decl = sqlite3_column_decltype(stmt_, i);
        const QByteArray type = decl ? QByteArray(decl).toUpper() : QByteArray();
        known = type.contains("DATE") || type.contains("TIME") ? 1 : 0;
    }
    return known == 1;
}

Value Statement::column(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
            const double v = sqlite3_column_double(stmt_, i);
            return columnIsDateTime(i) ? Value::dateTime(v) : Value::number(v);
        }
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
            return Value::text(QString::fromUtf8(text, sqlite3_column_bytes(stmt_, i)));
        }
    }
}

}  // namespace kq
