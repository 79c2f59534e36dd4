#include "reports/MissingPunches.h"

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "reports/ReportPrerequisites.h"
#include "reports/ReportSql.h"

namespace kq::reports {
namespace {

// The text form a time takes everywhere else in the grids.
Value timeCell(const Value& time) {
    if (time.isNull()) return Value::text(QString());
    if (time.type() == Value::Type::Text) return time;
    return Value::text(datetime::generalText(datetime::roundToSecond(time.toDouble())));
}

}  // namespace

QString missingPunchQueryText(const QDate& from, const QDate& to, const QString& name) {
    // ry is read once, over the range and the day after it (the night
    // shifts' mornings), and counted per employee and date, mornings and
    // afternoons apart: a calendar day takes both halves of its date, a day
    // that runs noon to noon the afternoon of its date and the morning of the
    // next. A listed day has at most one punch, so the earliest time of its
    // halves is its only one.
    return QStringLiteral(
               "with e as (select rowid as seq, 日期 as day, 姓名 as name, 班次 as code from yw "
               "where 班次 in (%1) and 日期 >= %2 and 日期 <= %3%5), "
               "c as materialized (select 姓名 as name, 日期 as day, "
               "sum(时间 < #12:00#) as am, sum(时间 >= #12:00#) as pm, "
               "min(case when 时间 < #12:00# then 时间 end) as amTime, "
               "min(case when 时间 >= #12:00# then 时间 end) as pmTime from ry "
               "where 日期 >= %2 and 日期 <= %4%5 and 时间 is not null and 时间 <> '' "
               "group by 姓名, 日期), "
               "x as (select e.seq, e.day, e.name, e.code, "
               "case when e.code in (%6) then coalesce(d.pm, 0) + coalesce(n.am, 0) "
               "else coalesce(d.am + d.pm, 0) end as punches, "
               "case when e.code in (%6) then coalesce(d.pmTime, n.amTime) "
               "else coalesce(d.amTime, d.pmTime) end as time from e "
               "left join c d on d.name = e.name and d.day = e.day "
               "left join c n on e.code in (%6) and n.name = e.name and n.day = e.day + 1) "
               "select day as 日期, name as 姓名, code as 班次, punches as 打卡次数, "
               "time as 打卡时间 from x where punches < 2 order by day, name, seq")
        .arg(shiftCodeList(), dateLiteral(from), dateLiteral(to), dateLiteral(to.addDays(1)),
             nameCondition(name), noonToNoonCodeList());
}

std::shared_ptr<const RowSet> runMissingPunches(const QString& programFolder, const QDate& from,
                                                const QDate& to, const QString& name) {
    Connection connection(programFolder);
    requireScheduleEntries(connection);
    const auto raw = connection.open(missingPunchQueryText(from, to, name)).rows();
    auto rows = std::make_shared<RowSet>();
    rows->columns = raw->columns;
    for (qsizetype r = 0; r < raw->rowCount(); ++r) {
        const Value& day = raw->cell(r, 0);
        rows->append(day.type() == Value::Type::Number ? Value::dateTime(day.toDouble()) : day);
        rows->append(raw->cell(r, 1));
        rows->append(raw->cell(r, 2));
        rows->append(raw->cell(r, 3));
        rows->append(timeCell(raw->cell(r, 4)));
    }
    return rows;
}

}  // namespace kq::reports
