#include "sheet/AttendanceSheetModel.h"

#include <QBrush>
#include <QColor>

namespace kq::ui {
namespace {

QVariant fillOf(reports::SheetCellStyle style) {
    const std::uint32_t fill = reports::sheetFill(style);
    if (fill == 0) return {};
    return QBrush(QColor(QRgb(fill)));
}

}  // namespace

AttendanceSheetModel::AttendanceSheetModel(QObject* parent)
    : QAbstractTableModel(parent),
      sheet_(std::make_unique<reports::AttendanceSheet>()),
      table_(std::make_unique<reports::AttendanceSheetTable>(*sheet_)) {}

void AttendanceSheetModel::setSheet(reports::AttendanceSheet sheet) {
    beginResetModel();
    *sheet_ = std::move(sheet);
    endResetModel();
}

int AttendanceSheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || sheet_->days.empty() ? 0 : table_->rows() - 1;
}

int AttendanceSheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || sheet_->days.empty() ? 0 : table_->cols() - 1;
}

QVariant AttendanceSheetModel::cellData(int row, int col, int role) const {
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return table_->text(row, col);
        case Qt::BackgroundRole:
            return fillOf(table_->style(row, col));
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        default:
            return {};
    }
}

QVariant AttendanceSheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    // Readable on every fill, in any palette.
    if (role == Qt::ForegroundRole) return QBrush(Qt::black);
    return cellData(index.row() + 1, index.column() + 1, role);
}

QVariant AttendanceSheetModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (sheet_->days.empty()) return {};
    return orientation == Qt::Horizontal ? cellData(0, section + 1, role)
                                         : cellData(section + 1, 0, role);
}

}  // namespace kq::ui
