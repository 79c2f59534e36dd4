#include "import/OpenWorkbook.h"

#include "import/html/HtmlTables.h"
#include "import/text/DelimitedText.h"
#include "import/text/TextEncoding.h"
#include "import/workbook/FormatProblem.h"
#include "import/xls/XlsWorkbook.h"
#include "import/xlsx/XlsxWorkbook.h"

namespace kq {

std::unique_ptr<SheetSource> openWorkbookData(const QByteArray& data, const HeaderTest& holdsHeader,
                                              const QString& fileName) {
    static const QByteArray ole2("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    static const QByteArray zip("PK\x03\x04", 4);
    if (fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        if (!text::looksLikeText(data)) throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
        return text::readDelimitedText(data, holdsHeader);
    }
    if (data.startsWith(ole2)) return std::make_unique<XlsWorkbook>(data);
    // A real .xls cut off inside its signature.
    if (!data.isEmpty() && ole2.startsWith(data)) damaged(QStringLiteral("文件被截断"));
    if (data.startsWith(zip)) return std::make_unique<XlsxWorkbook>(data);
    // The bare records, as Excel 2.x to 4.0 wrote them.
    if (data.size() >= 2 && uchar(data[0]) == 0x09 &&
        (uchar(data[1]) == 0x00 || uchar(data[1]) == 0x02 || uchar(data[1]) == 0x04 ||
         uchar(data[1]) == 0x08))
        return std::make_unique<XlsWorkbook>(data);
    // Clock programs and web systems save web pages and text as .xls.
    if (text::looksLikeText(data)) {
        if (data.contains("<table") || data.toLower().contains("<table"))
            return html::readHtmlTables(data, holdsHeader);
        return text::readDelimitedText(data, holdsHeader);
    }
    throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
}

}  // namespace kq
