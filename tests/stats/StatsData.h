#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kq {
class Connection;
}

namespace kq::test {

// One yd row: the 日期 text and one code per employee; a null QString is a
// blank cell.
struct ScheduleRow {
    QString date;
    QStringList codes;
};

// Replaces yd with 日期 and one column per employee, holding the rows given.
void makeSchedule(Connection& connection, const QStringList& employees,
                  const std::vector<ScheduleRow>& rows);

// Appends one punch to ry; an empty time leaves 时间 without a value.
void addPunch(Connection& connection, const QString& date, const QString& time,
              const QString& name);

// "日期 姓名 时间" (or "日期 姓名 班次" for yw) per row in stored order, as texts.
QStringList tableRows(Connection& connection, const QString& table);

}  // namespace kq::test
