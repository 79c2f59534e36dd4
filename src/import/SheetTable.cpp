#include "import/SheetTable.h"

#include "import/WorkbookFile.h"

namespace kq {

SheetTable readSheetTable(WorkbookFile& workbook, const QString& sheetName) {
    SheetTable table;
    table.name = workbook.readSheet(sheetName, [&table](SheetRow&& row) {
        table.columnCount = std::max(table.columnCount, row.cells.back().column + 1);
        table.rowCount = row.index + 1;
        table.rows.push_back(std::move(row));
    });
    return table;
}

}  // namespace kq
