#include "reports/EmployeeSummary.h"

#include <QHash>
#include <vector>

#include "data/Connection.h"
#include "data/Error.h"
#include "queries/ShiftQuery.h"
#include "reports/MissingPunches.h"
#include "reports/ReportPrerequisites.h"
#include "reports/ScheduledDays.h"
#include "stats/PunchDays.h"

namespace kq::reports {
namespace {

// Rows per name of a window's own query text, so that the count and the
// button's list cannot drift apart.
QHash<QString, qint64> windowCounts(Connection& connection, const shifts::ShiftWindow& window,
                                    const shifts::WindowTimes& times, const QDate& from,
                                    const QDate& to, const QString& name) {
    const auto rows =
        connection
            .open(QStringLiteral("select 姓名, count(*) from (%1) group by 姓名")
                      .arg(queries::queryText(window, times[std::size_t(window.window->startTime)],
                                              times[std::size_t(window.window->endTime)], from, to,
                                              name)))
            .rows();
    QHash<QString, qint64> counts;
    for (qsizetype r = 0; r < rows->rowCount(); ++r)
        if (!rows->cell(r, 0).isNull())
            counts.insert(rows->cell(r, 0).toText(), qint64(rows->cell(r, 1).toDouble()));
    return counts;
}

}  // namespace

std::shared_ptr<const RowSet> runEmployeeSummary(const QString& programFolder,
                                                 const shifts::WindowTimes& times,
                                                 const QDate& from, const QDate& to,
                                                 const QString& name) {
    if (auto problem = queries::firstWindowTimeProblem(times))
        throw Error(ErrorKind::TypeMismatch, queries::describe(*problem));
    Connection connection(programFolder);
    requireScheduleEntries(connection);
    requirePunchDaysCurrent(connection);

    const ScheduledRange range = readScheduledRange(connection, from, to, name);
    QHash<QString, qint64> missing;
    for (const ScheduledDay& d : missingPunchDays(range)) ++missing[d.name];
    std::vector<QHash<QString, qint64>> counts;
    auto rows = std::make_shared<RowSet>();
    rows->columns = QStringList{"姓名", "排班天数", "缺卡天数"};
    for (const shifts::ShiftWindow& window : shifts::windows()) {
        counts.push_back(windowCounts(connection, window, times, from, to, name));
        rows->columns << window.anomalyCaption();
    }
    for (const ScheduledEmployee& e : range.employees) {
        rows->append(Value::text(e.name));
        rows->append(Value::number(double(e.shiftDays)));
        rows->append(Value::number(double(missing.value(e.name))));
        for (const auto& c : counts) rows->append(Value::number(double(c.value(e.name))));
    }
    return rows;
}

}  // namespace kq::reports
