#pragma once

#include <QString>
#include <array>
#include <functional>

#include "shifts/ShiftCatalogue.h"

namespace kq {

class Connection;

inline const QString kScheduleFlattenedMessage = QStringLiteral("排班设置一维取数更新完成");

struct StatisticsResult {
    qsizetype entries = 0;                                 // schedule entries written to yw
    std::array<qsizetype, shifts::kShiftCount> punches{};  // rows written per shift, in order
    // Names and codes of the schedule that never meet ry or a shift only
    // because of blanks, full-width characters or letter case; shown after
    // the seven messages. Empty when there are none.
    QString lookAlikeHint;
};

// The whole statistics run: yd flattened into yw, then one pass per shift of
// the catalogue, each rewriting the shift's table. announce is called with each of the seven
// messages in order, after the stage it reports is committed; the run goes on when it returns. A
// damaged file is refused before anything is written. Throws kq::Error; stages committed before a
// failure stay, and the run is then left marked as unfinished (see UnfinishedRun.h).
StatisticsResult runStatistics(Connection& connection,
                               const std::function<void(const QString& message)>& announce);

// The same over a connection of its own to KQ.db in the program folder.
StatisticsResult runStatistics(const QString& programFolder,
                               const std::function<void(const QString& message)>& announce);

}  // namespace kq
