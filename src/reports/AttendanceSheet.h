#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "shifts/ShiftCatalogue.h"

namespace kq::reports {

// What one employee's day was. A shift day carries at most one mark, the
// first that holds of 旷 (no punch), 缺 (one punch), 异 (a punch strictly
// inside one of the shift's anomaly windows).
enum class DayMark { None, Anomaly, Missing, Absent };

struct SheetCell {
    QString code;        // yw's 班次 as it stands; empty for no entry
    bool shift = false;  // one of the six shifts' codes
    DayMark mark = DayMark::None;

    QString text() const;  // "常", "A异", "B缺", "夜旷", "休"
};

// An employee's days by kind; otherCodes follows AttendanceSheet::otherCodes.
struct SheetTotals {
    int scheduled = 0;  // shift days
    int normal = 0;
    int anomalous = 0;
    int missing = 0;
    int absent = 0;
    std::vector<int> otherCodes;
};

struct AttendanceSheet {
    QDate from;
    QDate to;
    QStringList employees;            // in the order of the schedule's columns
    std::vector<QDate> days;          // from..to
    QStringList otherCodes;           // non-shift codes, in order of first appearance
    std::vector<SheetCell> cells;     // employees × days, row by row
    std::vector<SheetTotals> totals;  // per employee
    std::vector<int> markedPerDay;    // cells marked 异, 缺 or 旷, per day
    SheetTotals columnSums;

    const SheetCell& cell(int employee, int day) const {
        return cells[std::size_t(employee) * days.size() + std::size_t(day)];
    }
};

inline constexpr int kMaxSheetDays = 62;

// Why the range cannot make a sheet (start after end, longer than
// kMaxSheetDays), or an empty text.
QString sheetRangeProblem(const QDate& from, const QDate& to);

// The sheet of every employee that yw schedules (any non-empty code) dated
// from..to, and of that name unless empty. Days and marks follow
// readScheduledRange, so the sheet agrees with the missing-punch list and the
// summary; 异 uses the window times as the shift buttons would read them.
// Throws kq::Error: a range problem, a window time that is not a time, no
// statistics run yet, or a database failure.
AttendanceSheet runAttendanceSheet(const QString& programFolder, const shifts::WindowTimes& times,
                                   const QDate& from, const QDate& to, const QString& name);

}  // namespace kq::reports
