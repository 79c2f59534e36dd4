#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "data/Value.h"
#include "shifts/ShiftCatalogue.h"

namespace kq {
class Connection;
}

namespace kq::reports {

// The rule for what a scheduled shift day holds, written once for the
// missing-punch list, the summary and the monthly sheet.
//
// One yw entry on one of the six shifts, with ry's punches of its shift day:
// same 日期 and 姓名, a time present; the day of a shift whose day runs noon
// to noon runs from 12:00 of its date (inclusive) to 12:00 of the next. Read
// in memory rather than joined by the engine, which has no hash join.
struct ScheduledDay {
    qint64 seq;  // yw's rowid
    double day;
    QString name, code;
    qint64 rank;  // the employee's place among the schedule's columns
    qint64 punches;
    Value time;  // the earliest punch of the shift day, or null
    // With window times: a punch of the shift day lies strictly inside one
    // of its shift's anomaly windows.
    bool marked = false;
};

// Per employee with any code in the range: the days on one of the six
// shifts, and the first yw rowid of a non-empty code.
struct ScheduledEmployee {
    QString name;
    qint64 shiftDays = 0;
    qint64 rank = 0;
};

struct ScheduledRange {
    std::vector<ScheduledDay> days;            // in yw's order
    std::vector<ScheduledEmployee> employees;  // in order of rank
};

// yw dated from..to inclusive (and of that name, unless empty) and the
// punch days over from..to plus the day after, each read once: the
// statistics run's ry_days, or, with window times (for the marks), ry
// itself grouped the same way. Times and the engine's comparisons agree: a
// text time counts after every number.
ScheduledRange readScheduledRange(Connection& connection, const QDate& from, const QDate& to,
                                  const QString& name, const shifts::WindowTimes* times = nullptr);

}  // namespace kq::reports
