#pragma once

#include <QString>
#include <functional>

struct sqlite3;
struct sqlite3_context;

namespace kq {

// Rows held in memory, offered to SQL as the table kq_collected (日期, 姓名,
// 时间), so that "insert ... select" moves them at the engine's own pace
// instead of one bound statement per row. Registered on the connection for
// the object's life.
class CollectedRowsTable {
  public:
    // Writes column col (0..2) of row row into the result.
    using Cell = std::function<void(qsizetype row, int col, sqlite3_context* result)>;

    explicit CollectedRowsTable(sqlite3* db);
    ~CollectedRowsTable();
    CollectedRowsTable(const CollectedRowsTable&) = delete;
    CollectedRowsTable& operator=(const CollectedRowsTable&) = delete;

    static QString name() { return QStringLiteral("kq_collected"); }

    // What the table holds from now on.
    void show(qsizetype rows, Cell cell);

    qsizetype rows() const { return rows_; }
    void cell(qsizetype row, int col, sqlite3_context* result) const { cell_(row, col, result); }

  private:
    sqlite3* db_;
    qsizetype rows_ = 0;
    Cell cell_;
};

}  // namespace kq
