#include "stats/PunchDays.h"

#include <sqlite3.h>

#include "data/Connection.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"
#include "stats/PunchCollector.h"

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

void PunchCollector::rewritePunchDays() {
    Transaction transaction(connection_);
    const QString days = quoteIdentifier(tables::kPunchDays);
    connection_.executeNative(
        QStringLiteral("drop table if exists main.%1;"
                       "create table main.%1 (\"姓名\" %2, \"日期\" %3, am INTEGER, pm INTEGER, "
                       "amTime %4, pmTime %4);")
            .arg(days, ry_.nameType, ry_.dateType, ry_.timeType));
    if (!groupName_.empty()) {
        // ry's punches group by group, typed as in ry so that they compare
        // with 12:00 exactly as ry's own columns do.
        CollectedRowsTable punches(connection_.handle(), QStringLiteral("kq_ry_punches"),
                                   {ry_.dateType, ry_.nameType, ry_.timeType});
        std::vector<int> groupOfPlace(grouped_.size());
        for (std::size_t g = 0; g < groupName_.size(); ++g)
            for (qsizetype p = groupStart_[g]; p < groupStart_[g + 1]; ++p)
                groupOfPlace[std::size_t(p)] = int(g);
        punches.show(qsizetype(grouped_.size()),
                     [&](qsizetype r, int col, sqlite3_context* result) {
                         const auto g = std::size_t(groupOfPlace[std::size_t(r)]);
                         if (col == 0)
                             dayValues_[std::size_t(groupDay_[g])].resultInto(result);
                         else if (col == 1)
                             nameValues_[std::size_t(groupName_[g])].resultInto(result);
                         else if (col == 2)
                             times_[std::size_t(grouped_[std::size_t(r)])].resultInto(result);
                         else
                             sqlite3_result_int64(result, qint64(g));
                     });
        connection_.execute(QStringLiteral("insert into main.%1 select \"姓名\", \"日期\", "
                                           "sum(\"时间\" < #12:00#), sum(\"时间\" >= #12:00#), "
                                           "min(case when \"时间\" < #12:00# then \"时间\" end), "
                                           "min(case when \"时间\" >= #12:00# then \"时间\" end) "
                                           "from kq_ry_punches group by grp")
                                .arg(days));
    }
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
