#pragma once

#include <QHash>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "stats/ScheduleFlattening.h"

namespace kq {

class Connection;

// Two texts that differ only by blanks (U+3000 too), full-width letters and
// digits, or letter case have the same key.
QString lookAlikeKey(const QString& text);

// The schedule's days as day counts: the first one and the day after the
// last; nothing for an empty schedule.
std::optional<std::pair<double, double>> scheduleDays(const std::vector<ScheduleEntry>& entries);

// What the clerk should look at after a run, or an empty text: employees
// of the schedule without a single punch in ry over the schedule's dates
// while ry holds a look-alike of their name (up to ten, each with its
// look-alikes), and schedule codes that are look-alikes of a shift's code
// (counted as rest days, since codes compare exactly). Nothing is changed.
// punchesByName: ry's punches over scheduleDays() by name, with or without
// a time (see PunchCollector::punchesByName).
QString lookAlikeHint(const std::vector<ScheduleEntry>& entries,
                      const QHash<QString, qint64>& punchesByName);

}  // namespace kq
