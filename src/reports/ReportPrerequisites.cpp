#include "reports/ReportPrerequisites.h"

#include "data/Connection.h"
#include "data/Error.h"

namespace kq::reports {

bool scheduleEntriesWritten(Connection& connection) {
    return !connection.open(QStringLiteral("select 1 from yw limit 1")).eof();
}

bool scheduleEntriesWritten(const QString& programFolder) {
    Connection connection(programFolder);
    return scheduleEntriesWritten(connection);
}

void requireScheduleEntries(Connection& connection) {
    if (!scheduleEntriesWritten(connection))
        throw Error(ErrorKind::NoCurrentRecord, kNoScheduleEntriesMessage);
}

}  // namespace kq::reports
