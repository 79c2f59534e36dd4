#pragma once

#include <QStringList>
#include <cstdint>
#include <functional>

namespace kq {

// How a grid is set out in its workbook beyond the plain export: lines above
// it, fills, the frozen panes and the printed page. The default is the
// plain export.
struct WorkbookLayout {
    // Written one per row in column A above the grid (a title, a legend).
    QStringList leadingLines;
    // Grid rows and columns kept in view while the rest scrolls.
    int frozenRows = 0;
    int frozenCols = 0;
    // A cell's fill as 0xRRGGBB, 0 for none; grid row and column.
    std::function<std::uint32_t(int row, int col)> fill;
    // The grid's first row holds texts of two lines (wrapped, taller).
    bool twoLineHeader = false;
    // Printing: A4 landscape, one page wide, the grid's frozen rows repeated
    // on every page, grid lines printed.
    bool printLandscapeOnePageWide = false;
};

}  // namespace kq
