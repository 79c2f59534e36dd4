#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

struct sqlite3;
struct sqlite3_context;

namespace kq {

// Rows held in memory, offered to SQL as a table, so that "insert ...
// select" moves them at the engine's own pace instead of one bound statement
// per row. Registered on the connection under its name for the object's life.
class InMemoryTable {
  public:
    // Writes column col of row row into the result.
    using Cell = std::function<void(qsizetype row, int col, sqlite3_context* result)>;

    // columns: the table's column definitions, as in "create table"
    // ("\"日期\" DATETIME"); a declared type gives its column the affinity
    // it has in comparisons.
    InMemoryTable(sqlite3* db, QString name, const QStringList& columns);
    ~InMemoryTable();
    InMemoryTable(const InMemoryTable&) = delete;
    InMemoryTable& operator=(const InMemoryTable&) = delete;

    const QString& name() const { return name_; }
    const QByteArray& schema() const { return schema_; }

    // What the table holds from now on.
    void show(qsizetype rows, Cell cell);

    qsizetype rows() const { return rows_; }
    void cell(qsizetype row, int col, sqlite3_context* result) const { cell_(row, col, result); }

  private:
    sqlite3* db_;
    QString name_;
    QByteArray schema_;
    qsizetype rows_ = 0;
    Cell cell_;
};

}  // namespace kq
