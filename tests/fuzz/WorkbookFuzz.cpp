// libFuzzer target over the workbook readers: any bytes must end in a
// readable workbook or in FormatProblem (the "damaged workbook" message),
// never in a crash, a hang or an allocation sized by a field of the file.
// KQ_FUZZ_NAME (default ry.xls) is the name the bytes are read under:
// ry.csv sends every input to the delimited-text reader; under ry.xls text
// reaches the web-page or the delimited-text reader by its content.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "import/HeaderSearch.h"
#include "import/OpenWorkbook.h"
#include "import/workbook/FormatProblem.h"
#include "import/workbook/SheetSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString name = [] {
        const char* given = std::getenv("KQ_FUZZ_NAME");
        return QString::fromUtf8(given ? given : "ry.xls");
    }();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The punch workbook's header picks a page's table and a text's delimiter.
    const kq::HeaderTest holdsHeader = [](const kq::SheetRow& row) {
        return kq::holdsHeader(kq::Workbook::Punches, row);
    };
    try {
        const auto source = kq::openWorkbookData(bytes, holdsHeader, name);
        const int sheets = int(source->sheetNames().size());
        std::size_t cells = 0;
        for (int i = 0; i < sheets; ++i) {
            try {
                source->readSheet(i, [&cells](kq::SheetRow&& row) {
                    for (const kq::RowCell& c : row.cells) cells += std::size_t(c.cell.text.size());
                });
            } catch (const kq::FormatProblem&) {
            }
        }
        return cells == std::size_t(-1) ? 1 : 0;
    } catch (const kq::FormatProblem&) {
        return 0;
    }
}
