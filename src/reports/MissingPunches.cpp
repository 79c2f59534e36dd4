#include "reports/MissingPunches.h"

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "reports/ReportPrerequisites.h"
#include "reports/ShiftDays.h"
#include "stats/PunchDays.h"

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
    return shiftDaysClause(from, to, name) +
           QStringLiteral(
               "select day as 日期, name as 姓名, code as 班次, punches as 打卡次数, "
               "time as 打卡时间 from x where punches < 2 order by day, rank, seq");
}

std::shared_ptr<const RowSet> runMissingPunches(const QString& programFolder, const QDate& from,
                                                const QDate& to, const QString& name) {
    Connection connection(programFolder);
    requireScheduleEntries(connection);
    requirePunchDaysCurrent(connection);
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
