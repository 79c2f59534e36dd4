#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "data/Value.h"

namespace kq {

class Statement;

// The rows of a result, held in memory: what a grid shows after its
// recordset and connection are gone.
struct RowSet {
    QStringList columns;
    std::vector<Value> cells;  // row-major, columns.size() per row

    qsizetype rowCount() const { return columns.isEmpty() ? 0 : qsizetype(cells.size()) / columns.size(); }
    const Value& cell(qsizetype row, qsizetype column) const {
        return cells[std::size_t(row * columns.size() + column)];
    }

    // Reads every row of a statement; equal texts share one string.
    static std::shared_ptr<const RowSet> read(Statement& statement);
};

// A forward reader over a result: record count, fields by name and by
// position, move-next.
class Recordset {
public:
    explicit Recordset(std::shared_ptr<const RowSet> rows);

    qsizetype recordCount() const { return rows_->rowCount(); }
    int fieldCount() const { return int(rows_->columns.size()); }
    QString fieldName(int i) const;
    const QStringList& fieldNames() const { return rows_->columns; }

    bool eof() const { return position_ >= recordCount(); }
    void moveNext();
    void moveFirst() { position_ = 0; }

    // Throw kq::Error at end of file or for an unknown field.
    const Value& field(int i) const;
    const Value& field(const QString& name) const;
    int fieldIndex(const QString& name) const;  // -1 when absent

    const std::shared_ptr<const RowSet>& rows() const { return rows_; }

private:
    std::shared_ptr<const RowSet> rows_;
    qsizetype position_ = 0;
};

}  // namespace kq
