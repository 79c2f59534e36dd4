#include "stats/UnfinishedRun.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QStringList>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "shifts/ShiftCatalogue.h"

namespace kq {
namespace {

const QString kCreate =
    QStringLiteral("create table if not exists kq_statistics_run (started TEXT not null)");

}  // namespace

qint64 markStatisticsRunStarted(Connection& connection) {
    const QDateTime now = QDateTime::currentDateTime();
    Transaction transaction(connection);
    connection.executeNative(kCreate);
    Statement insert =
        connection.prepare(QStringLiteral("insert into kq_statistics_run (started) values (?1)"));
    insert.bind(
        1, datetime::shortDate(now.date()) + QLatin1Char(' ') + datetime::timeText(now.time()));
    insert.step();
    const qint64 run = sqlite3_last_insert_rowid(connection.handle());
    transaction.commit();
    return run;
}

void markStatisticsRunFinished(Connection& connection, qint64 run) {
    // Runs that started before this one and never finished are made good by
    // it: every table now holds this run's rows.
    Statement remove =
        connection.prepare(QStringLiteral("delete from kq_statistics_run where rowid <= ?1"));
    remove.bind(1, double(run));
    remove.step();
}

std::optional<QString> unfinishedStatisticsRun(Connection& connection) {
    if (!TableExist(connection, QStringLiteral("kq_statistics_run"))) return std::nullopt;
    Statement latest = connection.prepare(
        QStringLiteral("select started from kq_statistics_run order by rowid desc limit 1"));
    if (!latest.step()) return std::nullopt;
    return latest.column(0).toText();
}

std::optional<QString> unfinishedStatisticsRun(const QString& programFolder) {
    Connection connection(programFolder);
    return unfinishedStatisticsRun(connection);
}

std::optional<QString> checkDatabaseAtStart(const QString& programFolder) {
    Connection connection(programFolder);
    connection.verifyIntact();
    return unfinishedStatisticsRun(connection);
}

QString unfinishedRunMessage(const QString& startedAt) {
    QStringList names;
    for (const shifts::Shift& shift : shifts::catalogue()) names << shift.name;
    return QStringLiteral(
               "%1开始的“开始统计”没有进行完（程序被关闭或出错）。\n"
               "%2各统计表中的数据可能一部分来自这次统计、"
               "一部分来自更早的统计，查询结果不可靠。\n请重新点击“开始统计”。")
        .arg(startedAt, names.join(QStringLiteral("、")));
}

}  // namespace kq
