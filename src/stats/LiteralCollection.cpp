#include "stats/LiteralCollection.h"

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/JetSql.h"
#include "data/TableAppender.h"
#include "data/TableCatalogue.h"

namespace kq {

qsizetype collectLiterally(Connection& connection, const std::vector<ScheduleEntry>& entries,
                           const shifts::Shift& shift) {
    struct Item {
        QString date, name, time;
    };
    std::vector<Item> items;
    for (const ScheduleEntry& entry : entries) {
        if (entry.code != shift.code) continue;
        Recordset punches = connection.open(
            QStringLiteral("select * from ry where 日期 = ") + jetsql::dateLiteral(entry.date) +
            QStringLiteral(" and 姓名 = ") + jetsql::quote(entry.name) + QLatin1Char(' '));
        for (; !punches.eof(); punches.moveNext())
            items.push_back({punches.field(tables::kDate).toText(),
                             punches.field(tables::kName).toText(),
                             punches.field(tables::kTime).toText()});
    }

    Transaction transaction(connection);
    connection.execute(QStringLiteral("delete from ") + shift.table);
    TableAppender table(connection, shift.table);
    qsizetype written = 0;
    for (const Item& item : items) {
        if (item.time.isEmpty()) continue;
        const auto day = datetime::parse(item.date);
        table.addNew();
        table.set(tables::kDate, day ? datetime::longDate(datetime::datePart(*day)) : QString());
        table.set(tables::kName, item.name);
        table.set(tables::kTime, item.time);
        table.update();
        ++written;
    }
    transaction.commit();
    return written;
}

}  // namespace kq
