#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

struct sqlite3;
struct sqlite3_context;

namespace kq {

// Rows held in memory, offered to SQL as a table (日期, 姓名, 时间, grp), so
// that "insert ... select" moves them at the engine's own pace instead of one
// bound statement per row. Registered on the connection under its name for
// the object's life. The rows come in grp order; a query ordered or grouped
// by grp alone is not sorted again.
class CollectedRowsTable {
  public:
    // Writes column col (0..3) of row row into the result.
    using Cell = std::function<void(qsizetype row, int col, sqlite3_context* result)>;

    // types: the declared types of 日期, 姓名 and 时间, which give them their
    // affinities in comparisons; none when empty.
    CollectedRowsTable(sqlite3* db, QString name, const QStringList& types = {});
    ~CollectedRowsTable();
    CollectedRowsTable(const CollectedRowsTable&) = delete;
    CollectedRowsTable& operator=(const CollectedRowsTable&) = delete;

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
