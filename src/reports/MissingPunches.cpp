#include "reports/MissingPunches.h"

#include <algorithm>
#include <tuple>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "reports/ReportPrerequisites.h"
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

std::vector<ScheduledDay> missingPunchDays(const ScheduledRange& range) {
    std::vector<ScheduledDay> missing;
    std::ranges::copy_if(range.days, std::back_inserter(missing),
                         [](const ScheduledDay& d) { return d.punches < 2; });
    std::ranges::stable_sort(
        missing, {}, [](const ScheduledDay& d) { return std::tuple(d.day, d.rank, d.seq); });
    return missing;
}

std::shared_ptr<const RowSet> runMissingPunches(const QString& programFolder, const QDate& from,
                                                const QDate& to, const QString& name) {
    Connection connection(programFolder);
    requireScheduleEntries(connection);
    requirePunchDaysCurrent(connection);
    auto rows = std::make_shared<RowSet>();
    rows->columns = QStringList{"日期", "姓名", "班次", "打卡次数", "打卡时间"};
    for (const ScheduledDay& d : missingPunchDays(readScheduledRange(connection, from, to, name))) {
        rows->append(Value::dateTime(d.day));
        rows->append(Value::text(d.name));
        rows->append(Value::text(d.code));
        rows->append(Value::number(double(d.punches)));
        rows->append(timeCell(d.time));
    }
    return rows;
}

}  // namespace kq::reports
