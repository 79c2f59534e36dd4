#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kq {

class Connection;

// The schedule yd flattened for display: one line per employee and day.
struct ScheduleReport {
    struct Line {
        QString date;       // the row's 日期 as text
        QString name;       // the employee column's name
        QString shiftCode;  // the cell as text
    };

    QStringList columns;  // every column of yd, 日期 first
    std::vector<Line> lines;

    // The column names joined by "," (日期,张三,李四).
    QString columnList() const { return columns.join(QLatin1Char(',')); }
};

// Reads "select * from yd  ": lines in row order and, within a row, in column
// order from the second column on. Throws kq::Error when yd is missing or has
// rows but no 日期 column.
ScheduleReport readScheduleReport(Connection& connection);

// The report's two summary messages.
QString reportLineCountMessage(qsizetype lineCount, const QString& columnList);
QString reportFieldCountMessage(qsizetype fieldCount, const QString& columnList);

}  // namespace kq
