#pragma once

#include <QString>

namespace kq {

class Connection;

// The tables of the attendance database besides the six per-shift tables of
// the shift catalogue, and their named columns.
namespace tables {
inline const QString kPunches = QStringLiteral("ry");
inline const QString kSchedule = QStringLiteral("yd");
inline const QString kScheduleEntries = QStringLiteral("yw");
inline const QString kShiftTimes = QStringLiteral("pb");
// Written by each statistics run beside yw: per 姓名 and 日期 of ry, the punches
// with a time before 12:00 (am) and from 12:00 (pm), and the earliest time of
// each half (amTime, pmTime). The reports read it instead of grouping ry.
inline const QString kPunchDays = QStringLiteral("ry_days");
// One row: what ry held when ry_days was written (see stats/PunchDays.h).
inline const QString kPunchDaysSource = QStringLiteral("ry_days_source");
inline const QString kDate = QStringLiteral("日期");
inline const QString kTime = QStringLiteral("时间");
inline const QString kName = QStringLiteral("姓名");
inline const QString kShiftCode = QStringLiteral("班次");
}  // namespace tables

// Creates each table of the catalogue that the database lacks, with its
// named columns. Existing tables are left exactly as they are; a connection
// opened read-only is left as it is.
void ensureCatalogue(Connection& connection);

// True for the tables ensureCatalogue creates (any case).
bool isCatalogueTable(const QString& name);

// "日期" -> "\"日期\"": an identifier for native SQL.
QString quoteIdentifier(const QString& name);

}  // namespace kq
