#include "reports/MissingPunches.h"

#include <QStringList>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/JetSql.h"
#include "reports/ReportPrerequisites.h"
#include "stats/ShiftPass.h"

namespace kq::reports {
namespace {

QString shiftCodeList() {
    QStringList codes;
    for (const ShiftPass& pass : shiftPasses()) codes << jetsql::quote(pass.code);
    return codes.join(QLatin1Char(','));
}

QString dateLiteral(const QDate& date) { return jetsql::dateLiteral(datetime::shortDate(date)); }

// The text form a time takes everywhere else in the grids.
Value timeCell(const Value& time) {
    if (time.isNull()) return Value::text(QString());
    if (time.type() == Value::Type::Text) return time;
    return Value::text(datetime::generalText(datetime::roundToSecond(time.toDouble())));
}

}  // namespace

QString missingPunchQueryText(const QDate& from, const QDate& to, const QString& name) {
    const QString byName =
        name.isEmpty() ? QString() : QStringLiteral(" and 姓名 = ") + jetsql::quote(name);
    // The punches are read once, over the range and the day after it (the
    // B shift's mornings), and keyed to the day they count for: their own
    // date, or for the B shift the date whose noon-to-noon span holds them.
    return QStringLiteral(
               "with e as materialized (select rowid as seq, 日期 as day, 姓名 as name, "
               "班次 as code from yw where 班次 in (%1) and 日期 >= %2 and 日期 <= %3%5), "
               "p as materialized (select 姓名 as name, 日期 as day, 时间 as time from ry "
               "where 日期 >= %2 and 日期 <= %4%5 and 时间 is not null and 时间 <> ''), "
               "k as (select e.seq, p.time from e join p on p.name = e.name and p.day = e.day "
               "where e.code <> 'B' "
               "union all select e.seq, p.time from e join p on p.name = e.name "
               "and p.day = e.day and p.time >= #12:00# where e.code = 'B' "
               "union all select e.seq, p.time from e join p on p.name = e.name "
               "and p.day = e.day + 1 and p.time < #12:00# where e.code = 'B') "
               "select e.day as 日期, e.name as 姓名, e.code as 班次, count(k.time) as 打卡次数, "
               "min(k.time) as 打卡时间 from e left join k on k.seq = e.seq group by e.seq "
               "having count(k.time) < 2 order by e.day, e.name, e.seq")
        .arg(shiftCodeList(), dateLiteral(from), dateLiteral(to), dateLiteral(to.addDays(1)),
             byName);
}

std::shared_ptr<const RowSet> runMissingPunches(const QString& programFolder, const QDate& from,
                                                const QDate& to, const QString& name) {
    Connection connection(programFolder);
    requireScheduleEntries(connection);
    const auto raw = connection.open(missingPunchQueryText(from, to, name)).rows();
    // A listed day has at most one punch, so its one time is the whole list.
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
