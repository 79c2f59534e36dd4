#pragma once

#include <QString>
#include <QStringList>

namespace kq::test {

// A small, hand-made month for the reports, December 2026: four employees
// (one of them O'Brien) on every shift code, an absent day, days with a
// single punch, a B shift whose out-punch falls on the next date, a fifth
// day outside the range the tests ask for, and 11/30 with a leave, a
// mistyped code and a night that ends on 12/1 (a payroll range).
QStringList reportMonthWindows();  // the fourteen shift-window times, box order
QStringList reportMonthEmployees();

// Writes pb, yd and ry into the database of the folder; with statistics,
// also runs the statistics run over them.
void fillReportMonth(const QString& programFolder, bool withStatistics = true);

}  // namespace kq::test
