#include "data/TableCatalogue.h"

#include "data/Connection.h"
#include "shifts/ShiftCatalogue.h"

namespace kq {

QString quoteIdentifier(const QString& name) {
    QString doubled = name;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

void ensureCatalogue(Connection& connection) {
    QString sql = QStringLiteral(
        "create table if not exists ry (日期 DATETIME, 时间 DATETIME, 姓名 TEXT);"
        "create table if not exists yd (日期 DATETIME);"
        "create table if not exists yw (日期 DATETIME, 姓名 TEXT, 班次 TEXT);"
        "create table if not exists pb (时间 DATETIME);"
        "create table if not exists ry_days (姓名 TEXT, 日期 DATETIME, am INTEGER, pm INTEGER, "
        "amTime DATETIME, pmTime DATETIME);"
        "create table if not exists ry_days_source (ry TEXT);");
    for (const shifts::Shift& shift : shifts::catalogue())
        sql += QStringLiteral(
                   "create table if not exists %1 (日期 DATETIME, 姓名 TEXT, 时间 DATETIME);")
                   .arg(quoteIdentifier(shift.table));
    connection.executeNative(sql);
}

}  // namespace kq
