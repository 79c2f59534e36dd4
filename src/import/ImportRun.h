#pragma once

#include <QString>
#include <memory>

#include "data/Recordset.h"
#include "import/ScheduleReport.h"
#include "import/ShiftWindowTimes.h"
#include "import/WorkbookImport.h"

// The imports and the imported tables as the windows use them: each function
// opens a connection of its own to KQ.db in the program folder and closes it
// before it returns. Throws kq::Error as the functions it wraps.
namespace kq {

// Replaces the workbook's table (see importWorkbook) and returns the number
// of rows imported.
qsizetype importWorkbook(const QString& programFolder, Workbook which);

// Replaces ry from its workbook and returns ry as it now reads.
std::shared_ptr<const RowSet> importPunches(const QString& programFolder);

// The two-dimensional schedule yd as it was imported.
std::shared_ptr<const RowSet> readSchedule(const QString& programFolder);

ShiftWindowTimes readShiftWindowTimes(const QString& programFolder);
ScheduleReport readScheduleReport(const QString& programFolder);

}  // namespace kq
