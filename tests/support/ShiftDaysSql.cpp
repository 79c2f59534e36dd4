#include "support/ShiftDaysSql.h"

#include <QStringList>

#include "data/JetSql.h"
#include "data/TableCatalogue.h"
#include "reports/ReportSql.h"

namespace kq::test {

using namespace kq::reports;
namespace {

// A punch time strictly inside one anomaly window; a window that wraps
// midnight is later than its start or earlier than its end.
QString insideWindow(const shifts::Shift& shift, const shifts::Window& window,
                     const shifts::WindowTimes& times) {
    const QString& start = times[std::size_t(window.startTime)];
    const QString& end = times[std::size_t(window.endTime)];
    return QStringLiteral("(时间 > #%1# %3 时间 < #%2#)")
        .arg(start, end, shift.windowWrapsMidnight ? QStringLiteral("or") : QStringLiteral("and"));
}

// Per employee and date, the punches inside any window of each shift (i
// its index in the catalogue): for a calendar day one count, w<i>; for a
// day that runs noon to noon mornings and afternoons apart, a<i> and p<i>.
QString windowCounts(const shifts::WindowTimes& times) {
    QString columns;
    int i = 0;
    for (const shifts::Shift& shift : shifts::catalogue()) {
        QStringList inside;
        for (const shifts::Window& window : shift.windows)
            inside << insideWindow(shift, window, times);
        const QString any = inside.join(QStringLiteral(" or "));
        columns += shift.dayRunsNoonToNoon ? QStringLiteral(
                                                 ", sum(时间 < #12:00# and (%1)) as a%2, "
                                                 "sum(时间 >= #12:00# and (%1)) as p%2")
                                                 .arg(any)
                                                 .arg(i)
                                           : QStringLiteral(", sum(%1) as w%2").arg(any).arg(i);
        ++i;
    }
    return columns;
}

// The marked column: the window counts of the entry's shift over its day.
QString markedColumn() {
    QString cases;
    int i = 0;
    for (const shifts::Shift& shift : shifts::catalogue()) {
        cases += QStringLiteral(" when %1 then %2 > 0")
                     .arg(jetsql::quote(shift.code),
                          shift.dayRunsNoonToNoon
                              ? QStringLiteral("coalesce(d.p%1, 0) + coalesce(n.a%1, 0)").arg(i)
                              : QStringLiteral("coalesce(d.w%1, 0)").arg(i));
        ++i;
    }
    return QStringLiteral(", case e.code%1 else 0 end as marked").arg(cases);
}

// Per employee and date over the range and the day after it, the punches
// with a time before 12:00 and from 12:00, and the earliest time of each
// half: the statistics run's ry_days, or, where the window counts are
// wanted too, ry grouped the same way.
QString punchDays(const QDate& from, const QDate& to, const QString& name,
                  const shifts::WindowTimes* times) {
    const QString range =
        QStringLiteral("日期 >= %1 and 日期 <= %2%3")
            .arg(dateLiteral(from), dateLiteral(to.addDays(1)), nameCondition(name));
    if (!times)
        return QStringLiteral(
                   "select 姓名 as name, 日期 as day, am, pm, amTime, pmTime from %1 where %2")
            .arg(quoteIdentifier(tables::kPunchDays), range);
    return QStringLiteral(
               "select 姓名 as name, 日期 as day, "
               "sum(时间 < #12:00#) as am, sum(时间 >= #12:00#) as pm, "
               "min(case when 时间 < #12:00# then 时间 end) as amTime, "
               "min(case when 时间 >= #12:00# then 时间 end) as pmTime%1 from ry "
               "where %2 and 时间 is not null and 时间 <> '' group by 姓名, 日期")
        .arg(windowCounts(*times), range);
}

}  // namespace

QString scheduleRankText(const QDate& from, const QDate& to, const QString& name) {
    return QStringLiteral(
               "select 姓名 as name, min(rowid) as rank from yw where 日期 >= %1 and 日期 <= %2%3 "
               "group by 姓名")
        .arg(dateLiteral(from), dateLiteral(to), nameCondition(name));
}

QString shiftDaysClause(const QDate& from, const QDate& to, const QString& name,
                        const shifts::WindowTimes* times) {
    // ry is read once, over the range and the day after it (the night
    // shifts' mornings), and counted per employee and date, mornings and
    // afternoons apart: a calendar day takes both halves of its date, a day
    // that runs noon to noon the afternoon of its date and the morning of the
    // next. A day of at most one punch has its earliest time as its only one.
    return QStringLiteral(
               "with r as (%6), "
               "e as (select rowid as seq, 日期 as day, 姓名 as name, 班次 as code from yw "
               "where 班次 in (%1) and 日期 >= %2 and 日期 <= %3%4), "
               "c as materialized (%7), "
               "x as (select e.seq, e.day, e.name, e.code, r.rank, "
               "case when e.code in (%5) then coalesce(d.pm, 0) + coalesce(n.am, 0) "
               "else coalesce(d.am + d.pm, 0) end as punches, "
               "case when e.code in (%5) then coalesce(d.pmTime, n.amTime) "
               "else coalesce(d.amTime, d.pmTime) end as time%8 from e "
               "join r on r.name = e.name "
               "left join c d on d.name = e.name and d.day = e.day "
               "left join c n on e.code in (%5) and n.name = e.name and n.day = e.day + 1) ")
        .arg(shiftCodeList(), dateLiteral(from), dateLiteral(to), nameCondition(name),
             noonToNoonCodeList(), scheduleRankText(from, to, name),
             punchDays(from, to, name, times), times ? markedColumn() : QString());
}

}  // namespace kq::test
