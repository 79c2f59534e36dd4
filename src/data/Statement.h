#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "data/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kq {

// A prepared SQLite statement (native SQL, no dialect), finalized on
// destruction. Columns declared DATETIME read back as date/time values.
class Statement {
  public:
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const Value& value);  // 1-based, like SQLite
    void bindNull(int index);
    void bind(int index, double value);
    void bind(int index, const QString& value);

    // Advances to the next row; false when done. Throws kq::Error.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int i) const;
    bool columnIsDateTime(int i) const;
    Value column(int i) const;
    // For bulk reads that look at the stored values before making Values of them.
    sqlite3_stmt* handle() const { return stmt_; }

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
    mutable std::vector<signed char> isDateTime_;  // per column; -1 until looked up
    std::vector<QByteArray> texts_;                // the texts bound, by parameter
};

// Turns an SQLite failure into a kq::Error whose description names the
// table or column involved, or into a DatabaseError for a fault of the file.
[[noreturn]] void throwSqliteError(sqlite3* db, const QString& sql);

}  // namespace kq
