#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "import/ColumnTyping.h"
#include "import/SheetTable.h"
#include "import/WorkbookImport.h"

namespace kq {

// Ends the message of every import that fails: nothing was written.
extern const QString kDataUnchanged;

// A workbook sheet checked and typed, ready to be written.
struct CheckedSheet {
    SheetTable sheet;
    QStringList names;
    std::vector<columns::ColumnType> types;
};

// Reads the sheet of that name from the workbook at path and checks what
// the rest of the system relies on in `which`: its required columns, their
// order, and that every date or time cell reads as one. Throws kq::Error
// naming the workbook and the row, ending in kDataUnchanged.
// Whether the row holds the column names `which` needs.
bool holdsHeader(Workbook which, const SheetRow& row);

CheckedSheet readCheckedSheet(const QString& path, const QString& sheetName, Workbook which);

}  // namespace kq
