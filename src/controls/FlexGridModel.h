#pragma once

#include <QAbstractTableModel>
#include <memory>

#include "data/Recordset.h"

namespace kq::ui {

// The data rows and columns of a FlexGrid: the grid's fixed row 0 is the
// horizontal header (the field names), its fixed column 0 the vertical one.
// Cells are formatted only when they are shown, so a large result stays cheap.
class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit FlexGridModel(QObject* parent = nullptr);

    void setRows(std::shared_ptr<const RowSet> rows);
    void clear();  // back to one empty data row and column
    bool isBound() const { return rows_ != nullptr; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    QString cellText(int row, int column) const;  // data coordinates
    QString columnName(int column) const;

  private:
    std::shared_ptr<const RowSet> rows_;
};

}  // namespace kq::ui
