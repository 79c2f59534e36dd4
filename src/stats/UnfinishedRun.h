#pragma once

#include <QString>
#include <optional>

namespace kq {

class Connection;

// The statistics run rewrites yw and the six shift tables one after another,
// each in its own transaction. A run that does not reach its end (killed, or
// stopped by a failure) leaves some tables from itself and some from an
// earlier run. Each run therefore leaves a row in the database while it is
// under way and removes it at its end; a row that stays tells the next start
// and the next query.

// Records that a run starts now; returns the run's mark.
qint64 markStatisticsRunStarted(Connection& connection);
// Removes the mark of a run that has written all its tables, and of any run
// that started before it.
void markStatisticsRunFinished(Connection& connection, qint64 run);

// When the latest run that did not finish started ("2026/12/7 15:02:11"), or
// nothing when every run finished.
std::optional<QString> unfinishedStatisticsRun(Connection& connection);
std::optional<QString> unfinishedStatisticsRun(const QString& programFolder);

// The check when the program starts, over a connection of its own: reads the
// whole file once (a damaged one throws, see Connection::verifyIntact), then
// looks for a run that did not finish.
std::optional<QString> checkDatabaseAtStart(const QString& programFolder);

// What the clerk is told about such a run.
QString unfinishedRunMessage(const QString& startedAt);

}  // namespace kq
