#include "data/TableCatalogue.h"

#include <QList>
#include <QSet>
#include <utility>

#include "data/Connection.h"
#include "shifts/ShiftCatalogue.h"

namespace kq {
namespace {

// Each table of the catalogue with its column definitions.
QList<std::pair<QString, QString>> catalogueTables() {
    QList<std::pair<QString, QString>> tables = {
        {tables::kPunches, QStringLiteral("日期 DATETIME, 时间 DATETIME, 姓名 TEXT")},
        {tables::kSchedule, QStringLiteral("日期 DATETIME")},
        {tables::kScheduleEntries, QStringLiteral("日期 DATETIME, 姓名 TEXT, 班次 TEXT")},
        {tables::kShiftTimes, QStringLiteral("时间 DATETIME")},
        {tables::kPunchDays,
         QStringLiteral("姓名 TEXT, 日期 DATETIME, am INTEGER, pm INTEGER, amTime DATETIME, "
                        "pmTime DATETIME")},
        {tables::kPunchDaysSource, QStringLiteral("ry TEXT")},
    };
    for (const shifts::Shift& shift : shifts::catalogue())
        tables.append({shift.table, QStringLiteral("日期 DATETIME, 姓名 TEXT, 时间 DATETIME")});
    return tables;
}

}  // namespace

QString quoteIdentifier(const QString& name) {
    QString doubled = name;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

bool isCatalogueTable(const QString& name) {
    for (const auto& [table, columns] : catalogueTables())
        if (table.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

void ensureCatalogue(Connection& connection) {
    // A read-only file keeps what it has; a statement that needs a missing
    // table is told why it cannot be created (see throwSqliteError).
    if (connection.writeRefusal()) return;
    QSet<QString> present;
    Statement names = connection.prepare(
        QStringLiteral("select lower(name) from sqlite_master where type = 'table'"));
    while (names.step()) present.insert(names.column(0).toText());
    // Only what is missing is created, so that opening a complete database
    // writes nothing to it.
    QString sql;
    for (const auto& [table, columns] : catalogueTables())
        if (!present.contains(table.toLower()))
            sql += QStringLiteral("create table if not exists %1 (%2);")
                       .arg(quoteIdentifier(table), columns);
    if (!sql.isEmpty()) connection.executeNative(sql);
}

}  // namespace kq
