#include "controls/FlexGrid.h"

#include <QHeaderView>

#include "controls/FlexGridModel.h"
#include "controls/Twips.h"

namespace kq::ui {

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new FlexGridModel(this)) {
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    // Uniform rows keep scrolling through hundreds of thousands of rows smooth.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(1);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(1);
    applyColumnWidths();
}

void FlexGrid::setDataSource(const Recordset& recordset) { setDataSource(recordset.rows()); }

void FlexGrid::setDataSource(std::shared_ptr<const RowSet> rows) {
    model_->setRows(std::move(rows));
    applyColumnWidths();
}

int FlexGrid::rows() const { return model_->rowCount() + 1; }
int FlexGrid::cols() const { return model_->columnCount() + 1; }

QString FlexGrid::textMatrix(int row, int column) const {
    if (row <= 0 || column <= 0)
        return row == 0 && column > 0 ? model_->columnName(column - 1) : QString();
    return model_->cellText(row - 1, column - 1);
}

void FlexGrid::setColWidth(int column, int twipsWidth) {
    requestedWidths_.insert(column, twipsWidth);
    applyColumnWidths();
}

int FlexGrid::colWidth(int column) const {
    if (column == 0) return toTwips(verticalHeader()->width());
    if (column >= cols()) return 0;
    return toTwips(columnWidth(column - 1));
}

void FlexGrid::applyColumnWidths() {
    for (auto it = requestedWidths_.cbegin(); it != requestedWidths_.cend(); ++it) {
        const int px = std::max(1, twips(it.value()));
        if (it.key() == 0)
            verticalHeader()->setFixedWidth(px);
        else if (it.key() < cols())
            setColumnWidth(it.key() - 1, px);
    }
}

}  // namespace kq::ui
