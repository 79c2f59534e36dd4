#include "stats/StatisticsRun.h"

#include "data/Connection.h"
#include "shifts/ShiftCatalogue.h"
#include "stats/LookAlikes.h"
#include "stats/PunchCollector.h"
#include "stats/ScheduleFlattening.h"
#include "stats/UnfinishedRun.h"

namespace kq {
namespace {

QString passFinishedMessage(const shifts::Shift& shift) {
    return shift.name + QStringLiteral("统计数据更新完成");
}

}  // namespace

StatisticsResult runStatistics(Connection& connection,
                               const std::function<void(const QString& message)>& announce) {
    StatisticsResult result;
    connection.verifyIntact();
    const std::vector<ScheduleEntry> entries = flattenSchedule(connection);
    // From here until the last pass the tables hold a mix of two runs.
    const qint64 run = markStatisticsRunStarted(connection);
    writeScheduleEntries(connection, entries);
    result.entries = qsizetype(entries.size());
    announce(kScheduleFlattenedMessage);

    PunchCollector collector(connection, entries);
    collector.rewritePunchDays();
    const auto& shifts = shifts::catalogue();
    for (std::size_t i = 0; i < shifts.size(); ++i) {
        result.punches[i] = collector.rewrite(int(i));
        if (i + 1 == shifts.size()) markStatisticsRunFinished(connection, run);
        announce(passFinishedMessage(shifts[i]));
    }
    result.lookAlikeHint = lookAlikeHint(connection, entries);
    return result;
}

StatisticsResult runStatistics(const QString& programFolder,
                               const std::function<void(const QString& message)>& announce) {
    Connection connection(programFolder);
    return runStatistics(connection, announce);
}

}  // namespace kq
