#pragma once

#include <QByteArray>
#include <memory>

#include "import/workbook/HeaderTest.h"
#include "import/workbook/SheetSource.h"

namespace kq::html {

// A workbook saved as a web page (what many clock programs and web systems
// save as .xls): the first <table> one of whose top rows holds the header,
// else the first table. A cell spanning columns or rows counts once, in its
// first; every cell is its text as shown, line breaks kept. The encoding
// comes from a byte order mark or <meta charset>, else UTF-8 when valid,
// else GB18030. The page is parsed when its sheet is read, the chosen
// table's rows handed on as they end; reading throws FormatProblem when the
// page holds no table.
std::unique_ptr<SheetSource> readHtmlTables(const QByteArray& bytes, const HeaderTest& holdsHeader);

}  // namespace kq::html
