#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <memory>

#include "data/Recordset.h"

namespace kq::reports {

// The fourteen shift-window times in the order of the settings window's
// boxes Text1(0) to Text1(13), as the shift buttons read them.
using ShiftWindowTexts = std::array<QString, 14>;

// One row per employee that yw schedules (any non-empty code) dated
// from..to inclusive, and of that name unless empty, ordered by name:
// 姓名, 排班天数 (days on one of the six shifts), 缺卡天数 (rows of the
// missing-punch list), then one count per shift button, headed by its
// caption, taken over that button's own query text.
QString employeeSummaryQueryText(const ShiftWindowTexts& windows, const QDate& from,
                                 const QDate& to, const QString& name);

// Checks the seven windows as the buttons do, then runs the summary on KQ.db
// in the program folder over a connection of its own. Throws kq::Error: a
// window that is not a time, no statistics run yet, or a database failure.
std::shared_ptr<const RowSet> runEmployeeSummary(const QString& programFolder,
                                                 const ShiftWindowTexts& windows, const QDate& from,
                                                 const QDate& to, const QString& name);

}  // namespace kq::reports
