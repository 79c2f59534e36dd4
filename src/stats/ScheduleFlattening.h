#pragma once

#include <QString>
#include <vector>

namespace kq {

class Connection;

// One employee on one day of the two-dimensional schedule: the working list
// item of the statistics run and one row of yw.
struct ScheduleEntry {
    QString date;  // the yd row's 日期 as text (short date)
    QString name;  // the employee column's name
    QString code;  // the cell's text exactly; empty for a blank cell

    friend bool operator==(const ScheduleEntry&, const ScheduleEntry&) = default;
};

// Reads "select * from yd  ": 日期 must be the first column, every further
// column is one employee. Entries come row by row, left to right. A row with
// neither a date nor any code is passed over; a row with codes but no
// readable date throws kq::Error naming the row.
std::vector<ScheduleEntry> flattenSchedule(Connection& connection);

// Rewrites yw with one row per entry (日期 as the day, 姓名, 班次), all or
// nothing.
void writeScheduleEntries(Connection& connection, const std::vector<ScheduleEntry>& entries);

// The day an entry's date text names, read as the date literal of a punch
// lookup would read it. Throws kq::Error for a text that is no date.
double entryDay(const QString& dateText);

// Reads entry dates for a whole list; the entries of one yd row share their
// text, so the last reading is kept.
class EntryDays {
  public:
    double operator()(const QString& dateText);

  private:
    QString lastText_;
    double lastDay_ = 0;
    bool any_ = false;
};

}  // namespace kq
