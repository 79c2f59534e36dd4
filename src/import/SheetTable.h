#pragma once

#include <QString>
#include <vector>

#include "import/workbook/Cell.h"

namespace kq {

class WorkbookFile;

// A worksheet as the import holds it while it checks and types the
// columns: only the rows with content, each with only its cells, the texts
// shared with the reader's string table. Row 0 is the header.
struct SheetTable {
    QString name;
    int columnCount = 0;         // up to the last column with content in any row
    int rowCount = 0;            // up to the last row with content, header included
    std::vector<SheetRow> rows;  // ascending sheet row

    const SheetRow* header() const {
        return !rows.empty() && rows.front().index == 0 ? &rows.front() : nullptr;
    }
};

// Reads the sheet of that name (letter case ignored) from the workbook.
SheetTable readSheetTable(WorkbookFile& workbook, const QString& sheetName);

}  // namespace kq
