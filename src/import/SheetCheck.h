#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "data/Error.h"
#include "import/ColumnTyping.h"
#include "import/PunchDateTimes.h"
#include "import/SheetTable.h"
#include "import/WorkbookImport.h"
#include "import/workbook/HeaderTest.h"

namespace kq {

// Ends the message of every import that fails: nothing was written.
extern const QString kDataUnchanged;

// How a column's type is settled: by its cells, or by its name, with every
// cell checked to be the date or the time of day the rest of the system
// reads there.
struct ColumnCheck {
    bool typedByCells = true;
    bool dateTime = false;  // a required date or time column
    bool isDate = false;    // a date without a time of day, else a time of day without a date
    bool allowEmpty = false;
};

// Whether the cell (nullptr when empty) passes its column's check.
bool passesCheck(const ColumnCheck& check, const Cell* cell);

// A workbook sheet checked and typed, ready to be written.
struct CheckedSheet {
    SheetTable sheet;
    int sheetColumns = 0;  // the columns the workbook's rows hold, before any are added
    QStringList names;
    std::vector<columns::ColumnType> types;
    std::vector<ColumnCheck> checks;
    // How the rows of a punch sheet got their 日期 and 时间.
    std::optional<PunchDateTimes> punchDateTimes;
};

// Reads the sheet of that name from the workbook at path and checks what
// the rest of the system relies on in `which`: its required columns, their
// order, and that every date or time cell reads as one. Throws kq::Error
// naming the workbook and the row, ending in kDataUnchanged.
CheckedSheet readCheckedSheet(const QString& path, const QString& sheetName, Workbook which);

// The checks of readCheckedSheet on a sheet already read from the workbook
// fileName, its number columns typed.
CheckedSheet checkSheet(SheetTable sheet, const QString& fileName, Workbook which);

// Adds kDataUnchanged to the message of an error while reading a workbook.
[[noreturn]] void failReading(const Error& error);

// Called while an error of storing the workbook fileName's table is being
// handled: says so in its message, unless it is a fault of the database
// file itself, whose message says what to do.
[[noreturn]] void failWriting(const QString& fileName);

// The header test with which the sheet of `which` is read.
HeaderTest headerTestFor(Workbook which);

}  // namespace kq
