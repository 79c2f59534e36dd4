#pragma once

#include <QString>

#include "reports/AttendanceSheet.h"

namespace kq::reports {

// The sheet in a new workbook in the user's temporary folder, as the table
// sets it out: the title in row 1, the legend in row 2, then the header and
// the grid with the window's fills, the panes frozen below the header and
// right of 姓名, printed A4 landscape one page wide with the header on every
// page. Returns its path. Throws kq::Error (ErrorKind::Export).
QString writeAttendanceSheetToTempWorkbook(const AttendanceSheet& sheet);

}  // namespace kq::reports
