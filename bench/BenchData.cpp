#include "BenchData.h"

#include <QRandomGenerator>
#include <algorithm>
#include <vector>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"

namespace kq::bench {
namespace {

// SQLite's default limit on the columns of a table, 日期 included.
constexpr int kMaxColumns = 2000;

struct Punch {
    int day;
    int second;
    int employee;
};

void fillPunches(Connection& connection, const AttendanceData& data, QRandomGenerator& random) {
    std::vector<Punch> punches(std::size_t(data.punches));
    for (Punch& p : punches)
        p = {random.bounded(data.days), random.bounded(86400), random.bounded(data.employees)};
    std::sort(punches.begin(), punches.end(), [](const Punch& a, const Punch& b) {
        return std::tie(a.day, a.second, a.employee) < std::tie(b.day, b.second, b.employee);
    });

    connection.executeNative(
        QStringLiteral("drop table if exists ry;"
                       "create table ry (工号 TEXT, 姓名 TEXT, 日期 DATETIME, 时间 DATETIME);"));
    Statement insert = connection.prepare(
        QStringLiteral("insert into ry (工号, 姓名, 日期, 时间) values (?1, ?2, ?3, ?4)"));
    const double first = datetime::fromDate(data.firstDay);
    QStringList names, numbers;
    for (int e = 0; e < data.employees; ++e) {
        names << employeeName(e);
        numbers << QStringLiteral("%1").arg(e + 1, 5, 10, QLatin1Char('0'));
    }
    for (const Punch& p : punches) {
        insert.bind(1, numbers[p.employee]);
        insert.bind(2, names[p.employee]);
        insert.bind(3, first + p.day);
        insert.bind(4, datetime::roundToSecond(p.second / 86400.0));
        insert.step();
        insert.reset();
    }
}

void fillSchedule(Connection& connection, const AttendanceData& data, QRandomGenerator& random) {
    QStringList columns{QStringLiteral("日期 DATETIME")}, marks{QStringLiteral("?1")};
    for (int e = 0; e < data.employees; ++e) {
        columns << quoteIdentifier(employeeName(e)) + QStringLiteral(" TEXT");
        marks << QStringLiteral("?%1").arg(e + 2);
    }
    connection.executeNative(QStringLiteral("drop table if exists yd; create table yd (%1);")
                                 .arg(columns.join(QLatin1Char(','))));
    Statement insert = connection.prepare(
        QStringLiteral("insert into yd values (%1)").arg(marks.join(QLatin1Char(','))));
    const QStringList& codes = shiftCodes();
    for (int d = 0; d < data.days; ++d) {
        insert.bind(1, datetime::fromDate(data.firstDay.addDays(d)));
        for (int e = 0; e < data.employees; ++e) {
            const bool rest = random.generateDouble() < data.restShare;
            insert.bind(e + 2, rest ? codes.last() : codes[random.bounded(6)]);
        }
        insert.step();
        insert.reset();
    }
}

}  // namespace

const QStringList& shiftCodes() {
    static const QStringList codes = {
        QStringLiteral("常"), QStringLiteral("A"),  QStringLiteral("B"), QStringLiteral("早"),
        QStringLiteral("中"), QStringLiteral("夜"), QStringLiteral("休")};
    return codes;
}

QString employeeName(int index) {
    return QStringLiteral("员工%1").arg(index + 1, 4, 10, QLatin1Char('0'));
}

void fillAttendanceData(const QString& programFolder, const AttendanceData& data) {
    if (data.employees < 1 || data.employees >= kMaxColumns)
        throw Error(ErrorKind::BadSchedule, QStringLiteral("排班表可有1到%1名员工，要求的是%2名。")
                                                .arg(kMaxColumns - 1)
                                                .arg(data.employees));
    QRandomGenerator random(data.seed);
    Connection connection(programFolder);
    Transaction transaction(connection);
    fillPunches(connection, data, random);
    fillSchedule(connection, data, random);
    transaction.commit();
}

}  // namespace kq::bench
