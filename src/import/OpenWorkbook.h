#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "import/workbook/HeaderTest.h"

namespace kq {

class SheetSource;

// The reader for a workbook's bytes, chosen by their signature: an OLE2
// compound file or the bare records of Excel 2.x to 4.0 are read as .xls,
// a zip archive as .xlsx, other text as a web page when it holds a <table>,
// else as delimited text. A file whose name ends in .csv is delimited text
// whatever it begins with. Throws FormatProblem for anything else.
// holdsHeader picks among a page's tables.
std::unique_ptr<SheetSource> openWorkbookData(const QByteArray& data,
                                              const HeaderTest& holdsHeader = {},
                                              const QString& fileName = {});

}  // namespace kq
