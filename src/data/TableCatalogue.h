#pragma once

#include <QString>

namespace kq {

class Connection;

// The four tables of the attendance database besides the six per-shift
// tables of the shift catalogue, and their named columns.
namespace tables {
inline const QString kPunches = QStringLiteral("ry");
inline const QString kSchedule = QStringLiteral("yd");
inline const QString kScheduleEntries = QStringLiteral("yw");
inline const QString kShiftTimes = QStringLiteral("pb");
inline const QString kDate = QStringLiteral("日期");
inline const QString kTime = QStringLiteral("时间");
inline const QString kName = QStringLiteral("姓名");
inline const QString kShiftCode = QStringLiteral("班次");
}  // namespace tables

// Creates each table of the catalogue that the database lacks, with its
// named columns. Existing tables are left exactly as they are.
void ensureCatalogue(Connection& connection);

// "日期" -> "\"日期\"": an identifier for native SQL.
QString quoteIdentifier(const QString& name);

}  // namespace kq
