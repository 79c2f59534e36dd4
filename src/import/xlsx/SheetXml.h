#pragma once

#include <QIODevice>
#include <vector>

#include "import/workbook/Cell.h"
#include "import/workbook/NumberFormat.h"

namespace kq::xlsx {

struct SheetContext {
    const std::vector<QString>& sharedStrings;
    const std::vector<numfmt::Kind>& styleKinds;  // by cellXfs index
    bool date1904;
};

// The <sheetData> of a worksheet part, handed on row by row as it is read.
// Cells and rows given without "r" follow the one before.
void readSheetXml(QIODevice& part, const QString& partName, const SheetContext& context,
                  const RowSink& sink);

}  // namespace kq::xlsx
