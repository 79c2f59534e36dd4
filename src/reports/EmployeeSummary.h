#pragma once

#include <QDate>
#include <QString>
#include <memory>

#include "data/Recordset.h"
#include "shifts/ShiftCatalogue.h"

namespace kq::reports {

// Checks the seven windows as their queries do, then reads, on KQ.db in the
// program folder over a connection of its own, one row per employee that yw
// schedules (any non-empty code) dated from..to inclusive, and of that name
// unless empty, in the order of the schedule's columns:
// 姓名, 排班天数 (days on one of the six shifts), 缺卡天数 (rows of the
// missing-punch list), then one count per window of the shift catalogue,
// headed by its anomaly caption, taken over that window's own query text.
// Throws kq::Error: a window time that is not a time, no statistics run
// yet, or a database failure.
std::shared_ptr<const RowSet> runEmployeeSummary(const QString& programFolder,
                                                 const shifts::WindowTimes& times,
                                                 const QDate& from, const QDate& to,
                                                 const QString& name);

}  // namespace kq::reports
