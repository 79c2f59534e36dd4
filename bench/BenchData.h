#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace kq::bench {

// A month of generated attendance data, written straight into KQ.db without
// the workbooks: punches in ry (ordered by date and time, as a clock export
// is) and the two-dimensional schedule in yd.
struct AttendanceData {
    qsizetype punches = 65535;  // the .xls row limit less the header
    int employees = 255;        // the .xls column limit less 日期
    int days = 31;
    QDate firstDay = QDate(2026, 12, 1);
    double restShare = 0.05;  // cells coded 休; the rest spread evenly over the six shifts
    quint32 seed = 20261201;
};

// Schedule codes the generator writes: the six shifts, then the rest day.
const QStringList& shiftCodes();
QString employeeName(int index);  // 员工0001, 员工0002, ...

// Replaces ry and yd in the database of programFolder. Throws kq::Error, also
// for more employees than a table can have columns.
void fillAttendanceData(const QString& programFolder, const AttendanceData& data);

}  // namespace kq::bench
