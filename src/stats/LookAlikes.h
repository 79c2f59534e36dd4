#pragma once

#include <QString>
#include <vector>

#include "stats/ScheduleFlattening.h"

namespace kq {

class Connection;

// Two texts that differ only by blanks (U+3000 too), full-width letters and
// digits, or letter case have the same key.
QString lookAlikeKey(const QString& text);

// What the clerk should look at after a run, or an empty text: employees
// of the schedule without a single punch in ry over the schedule's dates
// while ry holds a look-alike of their name (up to ten, each with its
// look-alikes), and schedule codes that are look-alikes of a shift's code
// (counted as rest days, since codes compare exactly). Nothing is changed.
QString lookAlikeHint(Connection& connection, const std::vector<ScheduleEntry>& entries);

}  // namespace kq
