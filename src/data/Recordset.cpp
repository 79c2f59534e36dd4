#include "data/Recordset.h"

#include <QHash>

#include "data/Error.h"
#include "data/Statement.h"

namespace kq {

void RowSet::append(Value value) {
    if (size_ % kChunkCells == 0) {
        chunks_.emplace_back();
        chunks_.back().reserve(kChunkCells);
    }
    chunks_.back().push_back(std::move(value));
    ++size_;
}

bool operator==(const RowSet& a, const RowSet& b) {
    if (a.columns != b.columns || a.size_ != b.size_) return false;
    for (std::size_t i = 0; i < a.chunks_.size(); ++i)
        if (a.chunks_[i] != b.chunks_[i]) return false;
    return true;
}

std::shared_ptr<const RowSet> RowSet::read(Statement& statement) {
    auto rows = std::make_shared<RowSet>();
    const int n = statement.columnCount();
    for (int i = 0; i < n; ++i) rows->columns << statement.columnName(i);
    // Names and codes repeat on every row; sharing them keeps a large result
    // small in memory.
    QHash<QString, QString> pool;
    while (statement.step()) {
        for (int i = 0; i < n; ++i) {
            Value v = statement.column(i);
            if (v.type() == Value::Type::Text) {
                auto it = pool.constFind(v.textValue());
                if (it == pool.constEnd()) it = pool.insert(v.textValue(), v.textValue());
                v = Value::text(it.value());
            }
            rows->append(std::move(v));
        }
    }
    return rows;
}

Recordset::Recordset(std::shared_ptr<const RowSet> rows) : rows_(std::move(rows)) {}

QString Recordset::fieldName(int i) const {
    if (i < 0 || i >= fieldCount())
        throw Error(ErrorKind::FieldNotFound, QStringLiteral("结果中没有第%1列。").arg(i));
    return rows_->columns.at(i);
}

void Recordset::moveNext() {
    if (eof()) throw Error(ErrorKind::NoCurrentRecord, QStringLiteral("已经没有下一条记录。"));
    ++position_;
}

int Recordset::fieldIndex(const QString& name) const { return int(rows_->columns.indexOf(name)); }

const Value& Recordset::field(int i) const {
    if (eof())
        throw Error(
            ErrorKind::NoCurrentRecord,
            QStringLiteral("没有当前记录：已读到结果的末尾（共%1条）。").arg(recordCount()));
    if (i < 0 || i >= fieldCount())
        throw Error(ErrorKind::FieldNotFound, QStringLiteral("结果中没有第%1列。").arg(i));
    return rows_->cell(position_, i);
}

const Value& Recordset::field(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        throw Error(ErrorKind::FieldNotFound, QStringLiteral("结果中没有“%1”列。").arg(name));
    return field(i);
}

}  // namespace kq
