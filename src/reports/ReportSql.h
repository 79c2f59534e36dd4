#pragma once

#include <QDate>
#include <QString>

// Pieces of the reports' query texts, written one way for both reports.
namespace kq::reports {

// The six shift codes a statistics run collects, quoted: 'Z','A',...
QString shiftCodeList();

// The date as a "#2026/12/7#" literal.
QString dateLiteral(const QDate& date);

// " and 姓名 = '...'", or nothing for an empty name.
QString nameCondition(const QString& name);

}  // namespace kq::reports
