#pragma once

#include <QString>
#include <memory>

#include "data/Recordset.h"

namespace kq {

class Connection;

// The three workbooks of the program folder and the tables they replace:
// ry.xls -> ry, yd.xls -> yd, pb.xls -> pb (each may be an .xlsx or a .csv
// instead).
enum class Workbook { Punches, Schedule, ShiftTimes };

// The workbook an import of `which` reads: FOLDER/ry.xls, or FOLDER/ry.xlsx
// when only that one is there, the folder kept exactly as given.
QString workbookPath(const QString& programFolder, Workbook which);

// The name of the file an import of `which` reads in that folder: "ry.xls",
// or "ry.xlsx" when only that one is there; messages about the workbook
// name it.
QString workbookFileName(const QString& programFolder, Workbook which);

// Replaces the workbook's table with the worksheet sheet1 of the workbook in
// the connection's program folder (T.xls, or T.xlsx when only that one is
// there) and returns the number of rows imported.
// The table is swapped in one transaction, committed only once the whole
// sheet is read and checked: on any kq::Error the previous table is left as
// it was.
qsizetype importWorkbook(Connection& connection, Workbook which);

struct ImportedRows {
    qsizetype count = 0;
    std::shared_ptr<const RowSet> rows;
};

// importWorkbook, and when gatherRows the new table's rows exactly as
// `select * from T` reads them back (rows is null when they cannot be told
// without reading them back).
ImportedRows importWorkbookRows(Connection& connection, Workbook which, bool gatherRows);

}  // namespace kq
