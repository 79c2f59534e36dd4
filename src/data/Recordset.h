#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "data/Value.h"

namespace kq {

class Statement;

// The rows of a result, held in memory: what a grid shows after its
// recordset and connection are gone. Cells are kept row-major in fixed-size
// chunks, so a large result grows without ever moving what it already holds.
class RowSet {
  public:
    QStringList columns;

    qsizetype rowCount() const { return columns.isEmpty() ? 0 : qsizetype(size_) / columns.size(); }
    const Value& cell(qsizetype row, qsizetype column) const {
        const std::size_t i = std::size_t(row * columns.size() + column);
        return chunks_[i / kChunkCells][i % kChunkCells];
    }
    // Appends the next cell, filling rows from left to right.
    void append(Value value);

    friend bool operator==(const RowSet& a, const RowSet& b);

    // Reads every row of a statement; equal texts share one string.
    static std::shared_ptr<const RowSet> read(Statement& statement);

  private:
    static constexpr std::size_t kChunkCells = std::size_t(1) << 15;
    std::vector<std::vector<Value>> chunks_;
    std::size_t size_ = 0;
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
