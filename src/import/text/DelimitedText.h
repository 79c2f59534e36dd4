#pragma once

#include <QByteArray>
#include <memory>

#include "import/workbook/HeaderTest.h"
#include "import/workbook/SheetSource.h"

namespace kq::text {

// A workbook saved as delimited text (.csv, or the tab-separated text that
// clock programs save as .xls): comma, tab or semicolon separated, fields
// quoted with '"', blanks kept as written. The delimiter is the one with
// which a top row holds the header, else the one the first line holds most.
std::unique_ptr<SheetSource> readDelimitedText(const QByteArray& bytes,
                                               const HeaderTest& holdsHeader);

}  // namespace kq::text
