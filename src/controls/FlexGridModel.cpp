#include "controls/FlexGridModel.h"

namespace kq::ui {

FlexGridModel::FlexGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void FlexGridModel::setRows(std::shared_ptr<const RowSet> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void FlexGridModel::clear() { setRows(nullptr); }

int FlexGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return rows_ ? int(rows_->rowCount()) : 1;
}

int FlexGridModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return rows_ ? int(rows_->columns.size()) : 1;
}

QString FlexGridModel::cellText(int row, int column) const {
    if (!rows_ || row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return {};
    return rows_->cell(row, column).toText();
}

QString FlexGridModel::columnName(int column) const {
    if (!rows_ || column < 0 || column >= columnCount()) return {};
    return rows_->columns.at(column);
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return cellText(index.row(), index.column());
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    // The fixed column carries no row numbers.
    if (orientation == Qt::Vertical) return QString();
    return columnName(section);
}

}  // namespace kq::ui
