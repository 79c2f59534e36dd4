#include "reports/AttendanceSheetWorkbook.h"

#include "export/GridWorkbook.h"
#include "reports/AttendanceSheetTable.h"

namespace kq::reports {

QString writeAttendanceSheetToTempWorkbook(const AttendanceSheet& sheet) {
    const AttendanceSheetTable table(sheet);
    WorkbookLayout layout;
    layout.leadingLines = {sheetTitle(sheet), sheetLegend()};
    layout.frozenRows = table.headerRows();
    layout.frozenCols = table.firstDayColumn();
    layout.fill = [&table](int row, int col) { return sheetFill(table.style(row, col)); };
    layout.twoLineHeader = true;
    layout.printLandscapeOnePageWide = true;
    return writeGridToTempWorkbook(table, layout);
}

}  // namespace kq::reports
