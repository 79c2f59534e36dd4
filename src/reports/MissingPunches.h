#pragma once

#include <QDate>
#include <QString>
#include <memory>
#include <vector>

#include "data/Recordset.h"
#include "reports/ScheduledDays.h"

namespace kq::reports {

// The shift days of the range with fewer than two punches, ordered by date,
// then the employee's place among the schedule's columns, then yw's order.
std::vector<ScheduledDay> missingPunchDays(const ScheduledRange& range);

// The employee-days that yw puts on one of the six shifts, dated from..to
// inclusive (and of that name, unless empty), on which ry holds fewer than
// two punches (see readScheduledRange), read on KQ.db in the program
// folder over a connection of its own. Columns 日期 (a date), 姓名, 班次,
// 打卡次数, 打卡时间 (the earliest punch of the day as text, or empty).
// Throws kq::Error when no statistics run has written yw yet, or on a
// database failure.
std::shared_ptr<const RowSet> runMissingPunches(const QString& programFolder, const QDate& from,
                                                const QDate& to, const QString& name);

}  // namespace kq::reports
