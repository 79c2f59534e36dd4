#include "import/OpenWorkbook.h"

#include "import/workbook/FormatProblem.h"
#include "import/xls/XlsWorkbook.h"
#include "import/xlsx/XlsxWorkbook.h"

namespace kq {

std::unique_ptr<SheetSource> openWorkbookData(const QByteArray& data) {
    static const QByteArray ole2("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    static const QByteArray zip("PK\x03\x04", 4);
    if (data.startsWith(ole2)) return std::make_unique<XlsWorkbook>(data);
    if (data.startsWith(zip)) return std::make_unique<XlsxWorkbook>(data);
    // The bare records, as Excel 2.x to 4.0 wrote them.
    if (data.size() >= 2 && uchar(data[0]) == 0x09 &&
        (uchar(data[1]) == 0x00 || uchar(data[1]) == 0x02 || uchar(data[1]) == 0x04 ||
         uchar(data[1]) == 0x08))
        return std::make_unique<XlsWorkbook>(data);
    throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
}

}  // namespace kq
