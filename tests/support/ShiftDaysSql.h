#pragma once

#include <QDate>
#include <QString>

#include "shifts/ShiftCatalogue.h"

namespace kq::test {

// The rule for what a scheduled shift day holds (see
// reports/ScheduledDays.h), as the engine states it: the reference the
// in-memory reading is held to.
//
// A "with" clause that ends in the table x: one row per yw entry on one of
// the six shifts, dated from..to inclusive (and of that name, unless empty),
// with columns seq (yw's rowid), day, name, code, rank (the employee's place
// in the schedule's columns), punches (ry's punches of that shift day) and
// time (the earliest of them). A punch counts for a day as the statistics run
// collects it: same 日期 and 姓名, a time present; the day of a shift whose day
// runs noon to noon runs from 12:00 of its date (inclusive) to 12:00 of the
// next. With window times, x also has marked: 1 when a punch of the day lies
// strictly inside one of its shift's anomaly windows, else 0.
QString shiftDaysClause(const QDate& from, const QDate& to, const QString& name,
                        const shifts::WindowTimes* times = nullptr);

// Where an employee stands among the schedule's columns: yd is flattened row
// by row, left to right, so the first yw row of a name keeps its column's
// place. A "select" giving name and rank over yw dated from..to.
QString scheduleRankText(const QDate& from, const QDate& to, const QString& name);

}  // namespace kq::test
