#pragma once

#include <QString>
#include <vector>

#include "stats/ScheduleFlattening.h"

namespace kq {

class Connection;

// Gathers the punches of the selected schedule entries from one keyed copy of
// ry, however long the schedule, and rewrites the per-shift tables.
// The rows and their order are those of one lookup per entry:
//   select * from ry where 日期 = #date# and 姓名 = 'name'
// entries in list order, each lookup's punches in ry's natural order, a
// duplicated entry collected twice. A punch without a time is left out.
// ry gets no index; the working tables are TEMP and dropped again.
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
    void prepareEntries(const std::vector<ScheduleEntry>& entries);
    void dropWorkTables();
    void restore();

    Connection& connection_;
    bool anySelected_ = false;
    QString savedTempStore_;
};

}  // namespace kq
