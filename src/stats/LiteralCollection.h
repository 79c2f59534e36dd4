#pragma once

#include <vector>

#include "shifts/ShiftCatalogue.h"
#include "stats/ScheduleFlattening.h"

namespace kq {

class Connection;

// The collection done the plain way, kept as the reference that the fast
// path must agree with: one unindexed lookup on ry per selected entry,
//   select * from ry where 日期 = #date# and 姓名 = 'name'
// (the name quoted), the punches held as texts, then the table emptied and
// refilled row by row in one transaction. Punches without a time are left
// out. Returns the number of rows written.
qsizetype collectLiterally(Connection& connection, const std::vector<ScheduleEntry>& entries,
                           const shifts::Shift& shift);

}  // namespace kq
