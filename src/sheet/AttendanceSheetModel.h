#pragma once

#include <QAbstractTableModel>
#include <memory>

#include "reports/AttendanceSheetTable.h"

namespace kq::ui {

// The sheet for a table view: the header row becomes the horizontal header
// and the names (and 合计) the vertical one, so both stay in place while the
// days scroll. Every text is the table's; marks also carry their fill.
class AttendanceSheetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit AttendanceSheetModel(QObject* parent = nullptr);

    void setSheet(reports::AttendanceSheet sheet);
    const reports::AttendanceSheet& sheet() const { return *sheet_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    // What a cell of the table shows, for the grid's cells and its headers.
    QVariant cellData(int row, int col, int role) const;

    std::unique_ptr<reports::AttendanceSheet> sheet_;
    std::unique_ptr<reports::AttendanceSheetTable> table_;
};

}  // namespace kq::ui
