#include "StatsData.h"

#include "data/Connection.h"
#include "data/TableAppender.h"
#include "data/TableCatalogue.h"

namespace kq::test {

void makeSchedule(Connection& connection, const QStringList& employees,
                  const std::vector<ScheduleRow>& rows) {
    QStringList columns{QStringLiteral("\"日期\" DATETIME")};
    for (const QString& name : employees)
        columns << quoteIdentifier(name) + QStringLiteral(" TEXT");
    connection.executeNative(QStringLiteral("drop table if exists yd; create table yd (%1);")
                                 .arg(columns.join(QStringLiteral(", "))));
    Transaction transaction(connection);
    TableAppender yd(connection, QStringLiteral("yd"));
    for (const ScheduleRow& row : rows) {
        yd.addNew();
        yd.set(QStringLiteral("日期"), row.date);
        for (qsizetype i = 0; i < row.codes.size(); ++i)
            if (!row.codes[i].isNull()) yd.set(employees[i], row.codes[i]);
        yd.update();
    }
    transaction.commit();
}

void addPunch(Connection& connection, const QString& date, const QString& time,
              const QString& name) {
    TableAppender ry(connection, QStringLiteral("ry"));
    ry.addNew();
    ry.set(QStringLiteral("日期"), date);
    if (!time.isEmpty()) ry.set(QStringLiteral("时间"), time);
    ry.set(QStringLiteral("姓名"), name);
    ry.update();
}

QStringList tableRows(Connection& connection, const QString& table) {
    const QString third =
        table == QLatin1String("yw") ? QStringLiteral("班次") : QStringLiteral("时间");
    Recordset rows = connection.open(QStringLiteral("select 日期, 姓名, %1 from %2 order by rowid")
                                         .arg(quoteIdentifier(third), quoteIdentifier(table)));
    QStringList out;
    for (; !rows.eof(); rows.moveNext())
        out << rows.field(0).toText() + QLatin1Char(' ') + rows.field(1).toText() +
                   QLatin1Char(' ') + rows.field(2).toText();
    return out;
}

}  // namespace kq::test
