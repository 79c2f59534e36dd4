#include "stats/PunchDays.h"

#include <sqlite3.h>

#include "data/Connection.h"
#include "data/Error.h"
#include "data/JetSql.h"
#include "data/TableCatalogue.h"
#include "stats/PunchCollector.h"
#include "stats/RawStatement.h"

namespace kq {

QString punchTableFingerprint(Connection& connection) {
    const QString row = QStringLiteral(
        "(select quote(\"日期\") || quote(\"时间\") || quote(\"姓名\") from main.ry "
        "order by rowid %1 limit 1)");
    Statement print = connection.prepare(
        QStringLiteral("select (select count(*) from main.ry) || '|' || coalesce(%1, '') || '|' || "
                       "coalesce(%2, '')")
            .arg(row.arg(QStringLiteral("asc")), row.arg(QStringLiteral("desc"))));
    print.step();
    return print.column(0).toText();
}

bool punchDaysCurrent(Connection& connection) {
    if (!TableExist(connection, tables::kPunches)) return false;
    Statement stored = connection.prepare(QStringLiteral("select ry from main.%1 limit 1")
                                              .arg(quoteIdentifier(tables::kPunchDaysSource)));
    return stored.step() && stored.column(0).toText() == punchTableFingerprint(connection);
}

void requirePunchDaysCurrent(Connection& connection) {
    if (!punchDaysCurrent(connection))
        throw Error(ErrorKind::NoCurrentRecord, kPunchDaysStaleMessage);
}

namespace {

// 12:00 as the queries write it; a number compared with it needs no engine.
const QString kNoon = QStringLiteral("#12:00#");

}  // namespace

// Numbers are compared here, unless ry's column would turn them into texts;
// texts and blobs go through the engine typed as in ry, so that the
// conversions SQLite applies to a comparison are its own.
std::vector<bool> PunchCollector::beforeNoon() {
    const double noon = jetsql::toSqlite(kNoon).toDouble();
    const bool textColumn = columnAffinity(ry_.timeType) == QLatin1String("TEXT");
    std::vector<bool> before(times_.size());
    std::vector<qsizetype> engine;
    for (std::size_t i = 0; i < times_.size(); ++i) {
        const StoredValue& time = times_[i];
        if (textColumn || (time.type != SQLITE_INTEGER && time.type != SQLITE_FLOAT))
            engine.push_back(qsizetype(i));
        else
            before[i] =
                time.type == SQLITE_INTEGER ? (long double)time.integer < noon : time.real < noon;
    }
    if (engine.empty()) return before;
    InMemoryTable punches(connection_.handle(), QStringLiteral("kq_ry_punches"),
                          {QStringLiteral("\"时间\" ") + ry_.timeType, QStringLiteral("grp")});
    punches.show(qsizetype(engine.size()), [&](qsizetype r, int col, sqlite3_context* result) {
        if (col == 0)
            times_[std::size_t(engine[std::size_t(r)])].resultInto(result);
        else
            sqlite3_result_int64(result, r);
    });
    forEachRow(
        connection_.handle(),
        jetsql::toSqlite(QStringLiteral("select grp, \"时间\" < %1 from kq_ry_punches").arg(kNoon)),
        [&](sqlite3_stmt* row) {
            before[std::size_t(engine[std::size_t(sqlite3_column_int64(row, 0))])] =
                sqlite3_column_int(row, 1) != 0;
        });
    return before;
}

// One row per name and day with punches, in group order: the counts before
// and from 12:00 and the first time of each half (min() keeps the first of
// equal values).
void PunchCollector::writeDays(const QString& table) {
    const std::vector<bool> before = beforeNoon();
    struct Day {
        int group;
        qint64 count[2];
        const StoredValue* first[2];
    };
    std::vector<Day> days;
    days.reserve(groupName_.size());
    for (std::size_t g = 0; g < groupName_.size(); ++g) {
        if (groupStart_[g] == groupStart_[g + 1]) continue;
        Day day{int(g), {0, 0}, {nullptr, nullptr}};
        for (qsizetype p = groupStart_[g]; p < groupStart_[g + 1]; ++p) {
            const auto punch = std::size_t(p);
            const int half = before[punch] ? 0 : 1;
            ++day.count[half];
            if (!day.first[half] || compareStored(times_[punch], *day.first[half]) < 0)
                day.first[half] = &times_[punch];
        }
        days.push_back(day);
    }
    InMemoryTable rows(connection_.handle(), QStringLiteral("kq_punch_days"),
                       {QStringLiteral("name"), QStringLiteral("day"), QStringLiteral("am"),
                        QStringLiteral("pm"), QStringLiteral("amTime"), QStringLiteral("pmTime")});
    rows.show(qsizetype(days.size()), [&](qsizetype r, int col, sqlite3_context* result) {
        const Day& day = days[std::size_t(r)];
        switch (col) {
            case 0:
                nameValues_[std::size_t(groupName_[std::size_t(day.group)])].resultInto(result);
                break;
            case 1:
                dayValues_[std::size_t(groupDay_[std::size_t(day.group)])].resultInto(result);
                break;
            case 2:
            case 3:
                sqlite3_result_int64(result, day.count[col - 2]);
                break;
            default:
                if (const StoredValue* first = day.first[col - 4])
                    first->resultInto(result);
                else
                    sqlite3_result_null(result);
                break;
        }
    });
    forEachRow(connection_.handle(),
               QStringLiteral("insert into %1 select * from %2").arg(table, rows.name()),
               [](sqlite3_stmt*) {});
}

void PunchCollector::rewritePunchDays() {
    Transaction transaction(connection_);
    const QString days = quoteIdentifier(tables::kPunchDays);
    connection_.executeNative(
        QStringLiteral("drop table if exists main.%1;"
                       "create table main.%1 (\"姓名\" %2, \"日期\" %3, am INTEGER, pm INTEGER, "
                       "amTime %4, pmTime %4);")
            .arg(days, ry_.nameType, ry_.dateType, ry_.timeType));
    if (!groupName_.empty()) writeDays(QStringLiteral("main.") + days);
    connection_.executeNative(
        QStringLiteral("delete from main.%1").arg(quoteIdentifier(tables::kPunchDaysSource)));
    Statement source = connection_.prepare(QStringLiteral("insert into main.%1 (ry) values (?1)")
                                               .arg(quoteIdentifier(tables::kPunchDaysSource)));
    source.bind(1, TableExist(connection_, tables::kPunches) ? punchTableFingerprint(connection_)
                                                             : QString());
    source.step();
    transaction.commit();
}

}  // namespace kq
