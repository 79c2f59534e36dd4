#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "data/Value.h"

namespace kq {
class Connection;
}

namespace kq::reports {

// One yw entry on one of the six shifts, with what the statistics run's
// ry_days holds of its shift day (the rule of shiftDaysClause, read in
// memory instead of joined by the engine, which has no hash join and would
// index ry_days twice per report).
struct ScheduledDay {
    qint64 seq;  // yw's rowid
    double day;
    QString name, code;
    qint64 rank;  // the employee's place among the schedule's columns
    qint64 punches;
    Value time;  // the earliest punch of the shift day, or null
};

// Per employee with any code in the range: the days on one of the six
// shifts, and the first yw rowid of a non-empty code.
struct ScheduledEmployee {
    QString name;
    qint64 shiftDays = 0;
    qint64 rank = 0;
};

struct ScheduledRange {
    std::vector<ScheduledDay> days;            // in yw's order
    std::vector<ScheduledEmployee> employees;  // in order of rank
};

// yw dated from..to inclusive (and of that name, unless empty) and ry_days
// over from..to plus the day after, each read once.
ScheduledRange readScheduledRange(Connection& connection, const QDate& from, const QDate& to,
                                  const QString& name);

}  // namespace kq::reports
