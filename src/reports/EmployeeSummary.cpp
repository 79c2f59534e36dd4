#include "reports/EmployeeSummary.h"

#include "data/Connection.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"
#include "queries/ShiftQuery.h"
#include "reports/MissingPunches.h"
#include "reports/ReportPrerequisites.h"
#include "reports/ReportSql.h"
#include "stats/PunchDays.h"

namespace kq::reports {

QString employeeSummaryQueryText(const shifts::WindowTimes& times, const QDate& from,
                                 const QDate& to, const QString& name) {
    QString text =
        QStringLiteral("select s.name as 姓名, s.days as 排班天数, coalesce(m.n, 0) as 缺卡天数");
    QString joins;
    int i = 0;
    // Each count is taken over the very text its window's query runs, so the
    // two cannot drift apart.
    for (const shifts::ShiftWindow& window : shifts::windows()) {
        const QString alias = QStringLiteral("c%1").arg(i++);
        text += QStringLiteral(", coalesce(%1.n, 0) as %2")
                    .arg(alias, quoteIdentifier(window.anomalyCaption()));
        joins +=
            QStringLiteral(
                " left join (select 姓名 as name, count(*) as n from (%1) "
                "group by 姓名) %2 on %2.name = s.name")
                .arg(queries::queryText(window, times[std::size_t(window.window->startTime)],
                                        times[std::size_t(window.window->endTime)], from, to, name),
                     alias);
    }
    text += QStringLiteral(
                " from (select 姓名 as name, sum(班次 in (%1)) as days, min(rowid) as rank from yw "
                "where 班次 <> '' "
                "and 日期 >= %2 and 日期 <= %3%4 group by 姓名) s "
                "left join (select 姓名 as name, count(*) as n from (%5) group by 姓名) m "
                "on m.name = s.name")
                .arg(shiftCodeList(), dateLiteral(from), dateLiteral(to), nameCondition(name),
                     missingPunchQueryText(from, to, name));
    return text + joins + QStringLiteral(" order by s.rank");
}

std::shared_ptr<const RowSet> runEmployeeSummary(const QString& programFolder,
                                                 const shifts::WindowTimes& times,
                                                 const QDate& from, const QDate& to,
                                                 const QString& name) {
    if (auto problem = queries::firstWindowTimeProblem(times))
        throw Error(ErrorKind::TypeMismatch, queries::describe(*problem));
    Connection connection(programFolder);
    requireScheduleEntries(connection);
    requirePunchDaysCurrent(connection);
    return connection.open(employeeSummaryQueryText(times, from, to, name)).rows();
}

}  // namespace kq::reports
