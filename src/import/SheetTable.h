#pragma once

#include <QString>
#include <vector>

#include "import/workbook/Cell.h"

namespace kq {

class WorkbookFile;

// A worksheet as the import holds it while it checks and types the
// columns: only the rows with content, each with only its cells, the texts
// shared with the reader's string table. The header is the row headerRow
// (row 0 unless titles stand above it); no row above it is kept.
struct SheetTable {
    QString name;
    int columnCount = 0;         // up to the last column with content in any row
    int rowCount = 0;            // up to the last row with content, header included
    int headerRow = 0;           // 0-based sheet row of the column names
    std::vector<SheetRow> rows;  // ascending sheet row

    const SheetRow* header() const {
        return !rows.empty() && rows.front().index == headerRow ? &rows.front() : nullptr;
    }
    bool isData(const SheetRow& row) const { return row.index > headerRow; }

    // Makes the sheet row `row` the header: the rows above it go, and the
    // columns count from what is left.
    void startAt(int row);
};

// Reads the sheet of that name (letter case ignored) from the workbook.
SheetTable readSheetTable(WorkbookFile& workbook, const QString& sheetName);

}  // namespace kq
