#include "import/workbook/RowAssembler.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "import/workbook/FormatProblem.h"

namespace kq {

const Cell* SheetRow::at(int column) const {
    const auto it = std::lower_bound(cells.begin(), cells.end(), column,
                                     [](const RowCell& c, int col) { return c.column < col; });
    return it != cells.end() && it->column == column ? &it->cell : nullptr;
}

RowAssembler::RowAssembler(const RowSink& sink, int maxRows, int maxColumns)
    : sink_(sink), maxRows_(maxRows), maxColumns_(maxColumns) {}

void RowAssembler::put(int row, int column, Cell cell) {
    if (row < 0 || row >= maxRows_ || column < 0 || column >= maxColumns_)
        damaged(QStringLiteral("单元格超出工作表的最大范围 %1 行 × %2 列")
                    .arg(maxRows_)
                    .arg(maxColumns_));
    if (cell.isEmpty()) return;
    if (row != row_.index || row_.cells.empty()) {
        flush();
        row_.index = row;
    }
    if (!row_.cells.empty() && column <= row_.cells.back().column) unsorted_ = true;
    // A row has no more places than columns: one that holds twice as many
    // cells repeats places, and keeping only the last of each bounds the
    // memory a crafted row can take.
    if (unsorted_ && row_.cells.size() >= 2 * std::size_t(maxColumns_)) {
        sortRowCells(row_.cells);
        unsorted_ = false;
    }
    row_.cells.push_back({column, std::move(cell)});
}

void sortRowCells(std::vector<RowCell>& cells) {
    std::stable_sort(cells.begin(), cells.end(),
                     [](const RowCell& a, const RowCell& b) { return a.column < b.column; });
    std::vector<RowCell> kept;
    kept.reserve(cells.size());
    for (RowCell& c : cells) {
        if (!kept.empty() && kept.back().column == c.column) {
            kept.back() = std::move(c);
        } else {
            kept.push_back(std::move(c));
        }
    }
    cells = std::move(kept);
}

void RowAssembler::flush() {
    if (row_.cells.empty()) return;
    if (std::exchange(unsorted_, false)) sortRowCells(row_.cells);
    sink_(std::move(row_));
    row_ = SheetRow();
}

void RowAssembler::finish() { flush(); }

void putInRowOrder(std::vector<SheetRow>& rows) {
    const auto byIndex = [](const SheetRow& a, const SheetRow& b) { return a.index < b.index; };
    if (std::adjacent_find(rows.begin(), rows.end(), [](const SheetRow& a, const SheetRow& b) {
            return a.index >= b.index;
        }) == rows.end())
        return;
    std::stable_sort(rows.begin(), rows.end(), byIndex);
    std::vector<SheetRow> joined;
    joined.reserve(rows.size());
    for (auto first = rows.begin(); first != rows.end();) {
        const auto last = std::find_if(first, rows.end(),
                                       [&](const SheetRow& r) { return r.index != first->index; });
        SheetRow& row = joined.emplace_back(std::move(*first));
        if (std::next(first) != last) {
            // All pieces first, one sort after: a crafted file may split a
            // row into as many pieces as it has cells.
            for (auto piece = std::next(first); piece != last; ++piece)
                row.cells.insert(row.cells.end(), std::make_move_iterator(piece->cells.begin()),
                                 std::make_move_iterator(piece->cells.end()));
            sortRowCells(row.cells);
        }
        first = last;
    }
    rows = std::move(joined);
}

}  // namespace kq
