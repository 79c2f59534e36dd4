#pragma once

#include <QDate>
#include <QString>

// Pieces of the reports' query texts, written one way for both reports.
namespace kq::reports {

// The codes of the catalogue's shifts, quoted and joined by ",": all six,
// which a statistics run collects, or those whose day runs noon to noon.
QString shiftCodeList();
QString noonToNoonCodeList();

// The date as a "#2026/12/7#" literal.
QString dateLiteral(const QDate& date);

// " and 姓名 = '...'", or nothing for an empty name.
QString nameCondition(const QString& name);

}  // namespace kq::reports
