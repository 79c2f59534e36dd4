#pragma once

#include <QHash>
#include <QTableView>
#include <vector>

#include "data/Recordset.h"

namespace kq::ui {

class FlexGridModel;

// A grid with one fixed row (the field names) and one fixed column ahead of
// the data. Rows and columns are counted from 0 and include the fixed ones,
// so a grid bound to three records reports four rows. Before any binding it
// has two rows and two columns.
class FlexGrid : public QTableView {
    Q_OBJECT
  public:
    explicit FlexGrid(QWidget* parent = nullptr);

    // Replaces the whole content; the rows stay after the recordset is gone.
    void setDataSource(const Recordset& recordset);
    void setDataSource(std::shared_ptr<const RowSet> rows);

    int rows() const;
    int cols() const;
    QString textMatrix(int row, int column) const;

    // Widths in twips. A width asked for a column that does not exist yet is
    // applied when a binding brings that column. Each binding fits the data
    // columns to their header and their texts (the rows in view and a sample
    // of the rest); a width asked for stays the column's smallest.
    void setColWidth(int column, int twipsWidth);
    int colWidth(int column) const;

  private:
    // Fitting reads the rows in view and this many more spread over the
    // rest, so a grid of hundreds of thousands of rows binds as fast as a
    // small one.
    static constexpr int kFittedRows = 100;

    std::vector<int> measuredRows() const;
    void fitColumns();
    void applyColumnWidths();

    FlexGridModel* model_;
    QHash<int, int> requestedWidths_;  // column -> twips
};

}  // namespace kq::ui
