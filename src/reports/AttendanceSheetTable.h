#pragma once

#include <QString>
#include <cstdint>

#include "export/GridSource.h"
#include "reports/AttendanceSheet.h"

namespace kq::reports {

// How a cell of the sheet's table is set off; the window, the workbook and
// the printout each turn these into their own colours.
enum class SheetCellStyle {
    Plain,
    Header,
    Weekend,
    WeekendHeader,
    Anomaly,
    Missing,
    Absent,
    Other
};

// The fill of a style as 0xRRGGBB, or 0 for none. Light, so the text stays
// readable; the text always says the same.
std::uint32_t sheetFill(SheetCellStyle style);

// "考勤月报　2026/12/1 至 2026/12/31"
QString sheetTitle(const AttendanceSheet& sheet);
// What the marks and the grey cells mean, in one line.
QString sheetLegend();

// The sheet as a table of texts: row 0 the header (姓名, one "12/1\n二" per
// day, the totals 排班天数 正常 异常 缺卡 旷工, one column per other code),
// one row per employee, and the 合计 row last. Column 0 holds the names.
class AttendanceSheetTable : public GridSource {
  public:
    explicit AttendanceSheetTable(const AttendanceSheet& sheet) : sheet_(sheet) {}

    int rows() const override;
    int cols() const override;
    QString text(int row, int col) const override;
    SheetCellStyle style(int row, int col) const;

    int headerRows() const { return 1; }
    int firstDayColumn() const { return 1; }
    int firstTotalColumn() const { return 1 + int(sheet_.days.size()); }
    const AttendanceSheet& sheet() const { return sheet_; }

  private:
    const AttendanceSheet& sheet_;
};

}  // namespace kq::reports
