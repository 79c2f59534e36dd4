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
    // Fitting measures the rows in view and at most this many more, so that
    // a grid of hundreds of thousands of rows binds as fast as a small one.
    horizontalHeader()->setResizeContentsPrecision(kFittedRows);
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

void FlexGrid::fitColumns() {
    // No column grows wider than the grid itself: a longer text stays
    // readable by scrolling.
    const int widest = std::max(1, width());
    for (int section = 0; section < model_->columnCount(); ++section) {
        const int fitted =
            std::max(sizeHintForColumn(section), horizontalHeader()->sectionSizeHint(section));
        const int requested = twips(requestedWidths_.value(section + 1, 0));
        setColumnWidth(section, std::max(std::min(fitted, widest), requested));
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
