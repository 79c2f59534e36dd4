#include "stats/StatisticsRun.h"

#include "stats/PunchCollector.h"
#include "stats/ScheduleFlattening.h"
#include "stats/ShiftPass.h"

namespace kq {

StatisticsResult runStatistics(Connection& connection,
                               const std::function<void(const QString& message)>& announce) {
    StatisticsResult result;
    const std::vector<ScheduleEntry> entries = flattenSchedule(connection);
    writeScheduleEntries(connection, entries);
    result.entries = qsizetype(entries.size());
    announce(kScheduleFlattenedMessage);

    PunchCollector collector(connection, entries);
    for (std::size_t i = 0; i < shiftPasses().size(); ++i) {
        result.punches[i] = collector.rewrite(int(i));
        announce(shiftPasses()[i].message);
    }
    return result;
}

}  // namespace kq
