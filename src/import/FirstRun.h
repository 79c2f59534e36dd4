#pragma once

#include <QString>

namespace kq {

// On the first start in a program folder the database does not exist yet.
// It is created then, and when a pb.xls (or pb.xlsx) lies beside it its shift windows are
// taken in at once, as a database supplied with the program would hold them,
// so the first anomaly query already has its windows. Returns true when pb was
// filled. An existing database is never touched; a pb.xls that cannot be read
// is left for the settings window to report.
bool prepareDatabaseOnFirstRun(const QString& programFolder);

}  // namespace kq
