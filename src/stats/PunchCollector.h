#pragma once

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

#include "stats/CollectedRowsTable.h"
#include "stats/ScheduleFlattening.h"
#include "stats/StoredValue.h"

namespace kq {

class Connection;

// Gathers the punches of the selected schedule entries from one reading of
// ry, however long the schedule, and rewrites the per-shift tables.
// The rows and their order are those of one lookup per entry:
//   select * from ry where 日期 = #date# and 姓名 = 'name'
// entries in list order, each lookup's punches in ry's natural order, a
// duplicated entry collected twice. A punch without a time is left out.
// ry gets no index and is not sorted by the engine (which costs more than
// all the rest at a factory's size): its punches are read once, in order,
// and grouped in memory by the entries' days and names.
class PunchCollector {
  public:
    PunchCollector(Connection& connection, const std::vector<ScheduleEntry>& entries);
    ~PunchCollector();
    PunchCollector(const PunchCollector&) = delete;
    PunchCollector& operator=(const PunchCollector&) = delete;

    // The pass of the catalogue's shift shiftIndex: empties its table and
    // fills it in one transaction; a failure leaves the table as it was.
    // Returns the number of rows written.
    qsizetype rewrite(int shiftIndex);

  private:
    struct Selected {
        int pass;
        int name;   // key among names_
        int group;  // the entry's day and name among groups_
        double dayOnly;
    };

    void prepareEntries(const std::vector<ScheduleEntry>& entries);
    void readPunches();

    Connection& connection_;
    std::vector<Selected> selected_;  // in list order
    StoredValueKeys days_;
    StoredValueKeys names_;
    std::vector<StoredValue> nameValues_;  // by key
    // Each distinct (name key, day key) of the selected entries, numbered.
    QHash<qint64, int> groups_;
    std::vector<StoredValue> times_;  // of the punches kept, in ry's order
    // Places in times_, group by group; group g's are grouped_[start[g] .. start[g + 1]).
    std::vector<qsizetype> grouped_;
    std::vector<qsizetype> groupStart_;
    std::optional<CollectedRowsTable> table_;
};

}  // namespace kq
