#pragma once

#include <QByteArray>
#include <memory>

namespace kq {

class SheetSource;

// The reader for a workbook's bytes, chosen by their signature: an OLE2
// compound file or the bare records of Excel 2.x to 4.0 are read as .xls,
// a zip archive as .xlsx. Throws FormatProblem for anything else.
std::unique_ptr<SheetSource> openWorkbookData(const QByteArray& data);

}  // namespace kq
