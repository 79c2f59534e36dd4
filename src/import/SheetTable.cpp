#include "import/SheetTable.h"

#include <algorithm>

#include "import/WorkbookFile.h"

namespace kq {

SheetTable readSheetTable(WorkbookFile& workbook, const QString& sheetName) {
    SheetTable table;
    table.name = workbook.readSheet(sheetName, table.rows);
    for (const SheetRow& row : table.rows)
        table.columnCount = std::max(table.columnCount, row.cells.back().column + 1);
    if (!table.rows.empty()) table.rowCount = table.rows.back().index + 1;
    return table;
}

void SheetTable::startAt(int row) {
    std::erase_if(rows, [row](const SheetRow& r) { return r.index < row; });
    headerRow = row;
    columnCount = 0;
    for (const SheetRow& r : rows) columnCount = std::max(columnCount, r.cells.back().column + 1);
}

}  // namespace kq
