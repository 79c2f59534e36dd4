#include "stats/StatisticsRun.h"

#include <optional>

#include "data/Connection.h"
#include "data/IntegrityCheck.h"
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
    // Everything the run reads comes first, beside the check of the file.
    BackgroundIntegrityCheck intact(connection);
    std::vector<ScheduleEntry> entries;
    std::optional<PunchCollector> collector;
    try {
        entries = flattenSchedule(connection);
        collector.emplace(connection, entries);
    } catch (...) {
        intact.wait();  // a damaged file is what the clerk must hear of
        throw;
    }
    intact.wait();
    // From here until the last pass the tables hold a mix of two runs. The
    // first writes share one commit, as do the last pass and its mark: each
    // commit waits for the disk.
    qint64 run = 0;
    {
        Transaction first(connection);
        run = markStatisticsRunStarted(connection);
        writeScheduleEntries(connection, entries);
        collector->rewritePunchDays();
        first.commit();
    }
    result.entries = qsizetype(entries.size());
    announce(kScheduleFlattenedMessage);

    const auto& shifts = shifts::catalogue();
    for (std::size_t i = 0; i < shifts.size(); ++i) {
        if (i + 1 < shifts.size()) {
            result.punches[i] = collector->rewrite(int(i));
        } else {
            Transaction last(connection);
            result.punches[i] = collector->rewrite(int(i));
            markStatisticsRunFinished(connection, run);
            last.commit();
        }
        announce(passFinishedMessage(shifts[i]));
    }
    result.lookAlikeHint = lookAlikeHint(entries, collector->punchesByName());
    return result;
}

StatisticsResult runStatistics(const QString& programFolder,
                               const std::function<void(const QString& message)>& announce) {
    Connection connection(programFolder);
    return runStatistics(connection, announce);
}

}  // namespace kq
