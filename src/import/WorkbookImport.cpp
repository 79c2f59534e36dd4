#include "import/WorkbookImport.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <vector>

#include "data/Connection.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"
#include "import/ColumnTyping.h"
#include "import/MissingWorkbook.h"
#include "import/NewTable.h"
#include "import/PunchesWhileReading.h"
#include "import/SheetCheck.h"

namespace kq {
namespace {

ImportedRows writeTable(Connection& connection, const QString& table, const CheckedSheet& in,
                        bool keepBlankRows, bool gatherRows) {
    Transaction transaction(connection);
    NewTable written(connection, table, in.names, in.types, gatherRows);
    int next = in.sheet.headerRow + 1;  // the sheet row after the last one written
    for (const SheetRow& row : in.sheet.rows) {
        if (!in.sheet.isData(row)) continue;
        // A blank line in the sheet is layout, not a record, except where
        // rows count by position (the fourteen shift-window times).
        for (; keepBlankRows && next < row.index; ++next) written.insert(nullptr);
        written.insert(&row);
        next = row.index + 1;
    }
    written.finish();
    transaction.commit();
    return {written.rowCount(), std::move(written).gatheredRows()};
}

// Each workbook of the program folder, the table it replaces and the sheet
// read from it.
struct WorkbookSource {
    Workbook which;
    QLatin1StringView table;
    QLatin1StringView xlsName;  // the .xlsx is this name and an "x"
    QLatin1StringView sheet;
};

constexpr WorkbookSource kSources[] = {
    {Workbook::Punches, QLatin1StringView("ry"), QLatin1StringView("ry.xls"),
     QLatin1StringView("sheet1")},
    {Workbook::Schedule, QLatin1StringView("yd"), QLatin1StringView("yd.xls"),
     QLatin1StringView("sheet1")},
    {Workbook::ShiftTimes, QLatin1StringView("pb"), QLatin1StringView("pb.xls"),
     QLatin1StringView("sheet1")},
};

const WorkbookSource& sourceOf(Workbook which) {
    return *std::ranges::find(kSources, which, &WorkbookSource::which);
}

// T.csv beside T.xls: the third form a workbook is saved in.
QString csvPathOf(const QString& xlsPath) { return xlsPath.chopped(3) + QStringLiteral("csv"); }

// T.xls, else T.xlsx, else T.csv, whichever lies in the folder first; T.xls
// when none is there.
QString workbookInFolder(const QString& xlsPath) {
    if (QFileInfo::exists(xlsPath)) return xlsPath;
    for (const QString& other : {xlsPath + QLatin1Char('x'), csvPathOf(xlsPath)})
        if (QFileInfo::exists(other)) return other;
    return xlsPath;
}

QString workbookToRead(const QString& xlsPath) {
    const QString path = workbookInFolder(xlsPath);
    if (QFileInfo::exists(path)) return path;
    const QFileInfo info(xlsPath);
    throw MissingWorkbook({info.fileName(), info.fileName() + QLatin1Char('x'),
                           QFileInfo(csvPathOf(xlsPath)).fileName()},
                          info.absolutePath(), kDataUnchanged);
}

// The folder exactly as given: cleaned, a share's "//server/share" or a
// folder with a backslash in its name would be another place.
QString xlsPathIn(const QString& programFolder, Workbook which) {
    const bool endsInSeparator =
        programFolder.endsWith(QLatin1Char('/')) || programFolder.endsWith(QDir::separator());
    return programFolder + (endsInSeparator ? QString() : QStringLiteral("/")) +
           sourceOf(which).xlsName;
}

}  // namespace

QString workbookPath(const QString& programFolder, Workbook which) {
    return workbookInFolder(xlsPathIn(programFolder, which));
}

QString workbookFileName(const QString& programFolder, Workbook which) {
    return QFileInfo(workbookPath(programFolder, which)).fileName();
}

ImportedRows importWorkbookRows(Connection& connection, Workbook which, bool gatherRows) {
    const WorkbookSource& source = sourceOf(which);
    connection.verifyIntact();  // never write into a damaged file
    const QString path = workbookToRead(xlsPathIn(connection.programFolder(), which));
    // Punches are many: they are stored while the rest is read. The schedule
    // and the shift times are a few rows, turned or counted as a whole.
    if (which == Workbook::Punches)
        if (auto imported =
                importPunchesWhileReading(connection, path, source.sheet, source.table, gatherRows))
            return std::move(*imported);
    const CheckedSheet checked = readCheckedSheet(path, source.sheet, which);
    try {
        return writeTable(connection, source.table, checked, which == Workbook::ShiftTimes,
                          gatherRows);
    } catch (const Error&) {
        failWriting(QFileInfo(path).fileName());
    }
}

qsizetype importWorkbook(Connection& connection, Workbook which) {
    return importWorkbookRows(connection, which, false).count;
}

}  // namespace kq
