#include "import/FirstRun.h"

#include <QDir>
#include <QFile>

#include "data/Connection.h"
#include "data/Error.h"
#include "import/WorkbookImport.h"

namespace kq {

bool prepareDatabaseOnFirstRun(const QString& programFolder) {
    const QDir folder(programFolder);
    if (QFile::exists(folder.filePath(Connection::databaseFileName()))) return false;
    Connection connection(programFolder);
    // pb.xls, pb.xlsx or pb.csv, whichever the import would read.
    if (!QFile::exists(workbookPath(programFolder, Workbook::ShiftTimes))) return false;
    try {
        importWorkbook(connection, Workbook::ShiftTimes);
        return true;
    } catch (const Error&) {
        return false;
    }
}

}  // namespace kq
