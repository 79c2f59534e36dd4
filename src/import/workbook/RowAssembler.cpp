#include "import/workbook/RowAssembler.h"

#include <algorithm>

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
    if (holding_) {
        held_.push_back({row, {column, std::move(cell)}});
        return;
    }
    if (row != row_.index || row_.cells.empty()) {
        if (row <= flushedRow_ || (!row_.cells.empty() && row < row_.index))
            damaged(QStringLiteral("单元格的行次序错乱"));
        flush();
        row_.index = row;
    }
    if (!row_.cells.empty() && column <= row_.cells.back().column) unsorted_ = true;
    row_.cells.push_back({column, std::move(cell)});
}

void RowAssembler::flush() {
    if (row_.cells.empty()) return;
    if (unsorted_) {
        // The last of two cells in one place wins, as in the sheet.
        std::stable_sort(row_.cells.begin(), row_.cells.end(),
                         [](const RowCell& a, const RowCell& b) { return a.column < b.column; });
        std::vector<RowCell> kept;
        for (RowCell& c : row_.cells) {
            if (!kept.empty() && kept.back().column == c.column) {
                kept.back() = std::move(c);
            } else {
                kept.push_back(std::move(c));
            }
        }
        row_.cells = std::move(kept);
        unsorted_ = false;
    }
    flushedRow_ = row_.index;
    sink_(std::move(row_));
    row_ = SheetRow();
}

void RowAssembler::finish() {
    if (holding_) {
        holding_ = false;
        // Stable: of two cells in one place the later still wins.
        std::stable_sort(held_.begin(), held_.end(),
                         [](const HeldCell& a, const HeldCell& b) { return a.row < b.row; });
        for (HeldCell& c : held_) put(c.row, c.cell.column, std::move(c.cell.cell));
        held_.clear();
    }
    flush();
}

}  // namespace kq
