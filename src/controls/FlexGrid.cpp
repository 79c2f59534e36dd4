#include "controls/FlexGrid.h"

#include <QHeaderView>
#include <algorithm>

#include "controls/FlexGridModel.h"
#include "controls/Twips.h"

namespace kq::ui {

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new FlexGridModel(this)) {
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    // Tab follows the window's order whatever the grid holds; the arrow keys
    // move between cells.
    setTabKeyNavigation(false);
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
    fitColumns();
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

std::vector<int> FlexGrid::measuredRows() const {
    const int count = model_->rowCount();
    std::vector<int> rows;
    // The rows in view (the first ones while the grid is not shown yet) ...
    const int first = std::max(0, rowAt(0));
    int last = isVisible() ? rowAt(viewport()->height() - 1) : -1;
    if (last < 0) last = std::min(count, first + kFittedRows) - 1;
    for (int row = first; row <= last; ++row) rows.push_back(row);
    // ... and rows spread evenly over the rest, so that a wider text further
    // down (a later date, a longer name) is seen without reading every row.
    const int step = std::max(1, count / kFittedRows);
    for (int row = 0; row < count; row += step)
        if (row < first || row > last) rows.push_back(row);
    return rows;
}

void FlexGrid::fitColumns() {
    const std::vector<int> rows = measuredRows();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int gridLine = showGrid() ? 1 : 0;
    // No column grows wider than the grid itself: a longer text stays
    // readable by scrolling.
    const int widest = std::max(1, width());
    for (int column = 0; column < model_->columnCount(); ++column) {
        int fitted = horizontalHeader()->sectionSizeHint(column);
        for (int row : rows) {
            const QModelIndex index = model_->index(row, column);
            fitted = std::max(
                fitted, itemDelegateForIndex(index)->sizeHint(option, index).width() + gridLine);
        }
        const int requested = twips(requestedWidths_.value(column + 1, 0));
        setColumnWidth(column, std::max(std::min(fitted, widest), requested));
    }
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
