#include "reports/AttendanceSheetTable.h"

#include <array>

#include "data/DateTimeText.h"

namespace kq::reports {
namespace {

const std::array<QString, 5> kTotalHeaders = {QStringLiteral("排班天数"), QStringLiteral("正常"),
                                              QStringLiteral("异常"), QStringLiteral("缺卡"),
                                              QStringLiteral("旷工")};

QString weekdayName(const QDate& day) {
    static const std::array<QString, 7> names = {
        QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"),
        QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("日")};
    return names[std::size_t(day.dayOfWeek() - 1)];
}

bool isWeekend(const QDate& day) { return day.dayOfWeek() >= 6; }

int totalAt(const SheetTotals& totals, int index) {
    switch (index) {
        case 0:
            return totals.scheduled;
        case 1:
            return totals.normal;
        case 2:
            return totals.anomalous;
        case 3:
            return totals.missing;
        case 4:
            return totals.absent;
        default:
            return totals.otherCodes[std::size_t(index - 5)];
    }
}

}  // namespace

std::uint32_t sheetFill(SheetCellStyle style) {
    switch (style) {
        case SheetCellStyle::Plain:
            return 0;
        case SheetCellStyle::Header:
            return 0xEDEDED;
        case SheetCellStyle::Weekend:
            return 0xE3EEFA;
        case SheetCellStyle::WeekendHeader:
            return 0xC9DDF2;
        case SheetCellStyle::Anomaly:
            return 0xFFDCA8;
        case SheetCellStyle::Missing:
            return 0xFFC7C7;
        case SheetCellStyle::Absent:
            return 0xF08080;
        case SheetCellStyle::Other:
            return 0xD9D9D9;
    }
    return 0;
}

QString sheetTitle(const AttendanceSheet& sheet) {
    return QStringLiteral("考勤月报　%1 至 %2")
        .arg(datetime::shortDate(sheet.from), datetime::shortDate(sheet.to));
}

QString sheetLegend() {
    return QStringLiteral(
        "常 正常　常异 有异常打卡　常缺 缺卡　常旷 旷工（排班但未打卡）　"
        "休 非班次（照排班表：休息、请假等）");
}

int AttendanceSheetTable::rows() const { return int(sheet_.employees.size()) + 2; }

int AttendanceSheetTable::cols() const {
    return firstTotalColumn() + int(kTotalHeaders.size()) + int(sheet_.otherCodes.size());
}

QString AttendanceSheetTable::text(int row, int col) const {
    const int days = int(sheet_.days.size());
    const int total = col - firstTotalColumn();
    if (row == 0) {
        if (col == 0) return QStringLiteral("姓名");
        if (total < 0) {
            const QDate& day = sheet_.days[std::size_t(col - 1)];
            return QStringLiteral("%1/%2\n%3")
                .arg(day.month())
                .arg(day.day())
                .arg(weekdayName(day));
        }
        if (total < int(kTotalHeaders.size())) return kTotalHeaders[std::size_t(total)];
        return sheet_.otherCodes[total - int(kTotalHeaders.size())];
    }
    const bool footer = row == rows() - 1;
    if (col == 0) return footer ? QStringLiteral("合计") : sheet_.employees[row - 1];
    if (total < 0) {
        if (footer) return QString::number(sheet_.markedPerDay[std::size_t(col - 1)]);
        return sheet_.cell(row - 1, col - 1).text();
    }
    Q_ASSERT(col - 1 - days == total);
    return QString::number(
        totalAt(footer ? sheet_.columnSums : sheet_.totals[std::size_t(row - 1)], total));
}

SheetCellStyle AttendanceSheetTable::style(int row, int col) const {
    const bool dayColumn = col >= firstDayColumn() && col < firstTotalColumn();
    const bool weekend = dayColumn && isWeekend(sheet_.days[std::size_t(col - 1)]);
    if (row == 0 || row == rows() - 1)
        return weekend && row == 0 ? SheetCellStyle::WeekendHeader : SheetCellStyle::Header;
    if (dayColumn) {
        const SheetCell& cell = sheet_.cell(row - 1, col - 1);
        if (!cell.code.isEmpty() && !cell.shift) return SheetCellStyle::Other;
        switch (cell.mark) {
            case DayMark::Anomaly:
                return SheetCellStyle::Anomaly;
            case DayMark::Missing:
                return SheetCellStyle::Missing;
            case DayMark::Absent:
                return SheetCellStyle::Absent;
            case DayMark::None:
                break;
        }
    }
    return weekend ? SheetCellStyle::Weekend : SheetCellStyle::Plain;
}

}  // namespace kq::reports
