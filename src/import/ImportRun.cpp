#include "import/ImportRun.h"

#include "data/Connection.h"
#include "data/TableCatalogue.h"

namespace kq {

namespace {

// "select * from ry ": the tool's own text for a whole table.
std::shared_ptr<const RowSet> wholeTable(Connection& connection, const QString& table) {
    return connection.open(QStringLiteral("select * from %1 ").arg(table)).rows();
}

}  // namespace

qsizetype importWorkbook(const QString& programFolder, Workbook which) {
    Connection connection(programFolder);
    return importWorkbook(connection, which);
}

std::shared_ptr<const RowSet> importPunches(const QString& programFolder) {
    Connection connection(programFolder);
    ImportedRows imported = importWorkbookRows(connection, Workbook::Punches, true);
    if (imported.rows) return std::move(imported.rows);
    return wholeTable(connection, tables::kPunches);
}

std::shared_ptr<const RowSet> readSchedule(const QString& programFolder) {
    Connection connection(programFolder);
    return wholeTable(connection, tables::kSchedule);
}

ShiftWindowTimes readShiftWindowTimes(const QString& programFolder) {
    Connection connection(programFolder);
    return readShiftWindowTimes(connection);
}

ScheduleReport readScheduleReport(const QString& programFolder) {
    Connection connection(programFolder);
    return readScheduleReport(connection);
}

}  // namespace kq
