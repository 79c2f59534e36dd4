#include "stats/StatisticsRun.h"

#include "data/Connection.h"
#include "stats/PunchCollector.h"
#include "stats/ScheduleFlattening.h"
#include "stats/ShiftPass.h"
#include "stats/UnfinishedRun.h"

namespace kq {

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
    for (std::size_t i = 0; i < shiftPasses().size(); ++i) {
        result.punches[i] = collector.rewrite(int(i));
        if (i + 1 == shiftPasses().size()) markStatisticsRunFinished(connection, run);
        announce(shiftPasses()[i].message);
    }
    return result;
}

}  // namespace kq
