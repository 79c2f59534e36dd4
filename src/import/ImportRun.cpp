#include "import/ImportRun.h"

#include "data/Connection.h"
#include "data/TableCatalogue.h"
#include "shifts/ShiftCatalogue.h"

namespace kq {

// pb's first rows are the settings times of the shift catalogue.
static_assert(kShiftWindowTimeCount == shifts::kWindowTimeCount);

namespace {

std::shared_ptr<const RowSet> wholeTable(Connection& connection, const QString& table) {
    return connection.open(QStringLiteral("select * from ") + table).rows();
}

}  // namespace

qsizetype importWorkbook(const QString& programFolder, Workbook which) {
    Connection connection(programFolder);
    return importWorkbook(connection, which);
}

std::shared_ptr<const RowSet> importPunches(const QString& programFolder) {
    Connection connection(programFolder);
    importWorkbook(connection, Workbook::Punches);
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
