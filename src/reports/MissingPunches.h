#pragma once

#include <QDate>
#include <QString>
#include <memory>

#include "data/Recordset.h"

namespace kq::reports {

// The employee-days that yw puts on one of the six shifts, dated from..to
// inclusive (and of that name, unless empty), on which ry holds fewer than
// two punches, as shiftDaysClause counts them. Rows ordered by date, then
// the employee's place among the schedule's columns;
// columns 日期, 姓名, 班次, 打卡次数, 打卡时间 (the raw punch time, or null).
QString missingPunchQueryText(const QDate& from, const QDate& to, const QString& name);

// Runs it on KQ.db in the program folder over a connection of its own:
// 日期 as a date, 打卡时间 as the day's times ascending, joined with "、".
// Throws kq::Error when no statistics run has written yw yet, or on a
// database failure.
std::shared_ptr<const RowSet> runMissingPunches(const QString& programFolder, const QDate& from,
                                                const QDate& to, const QString& name);

}  // namespace kq::reports
