// libFuzzer target over both workbook readers: any bytes must end in a
// readable workbook or in FormatProblem (the "damaged workbook" message),
// never in a crash, a hang or an allocation sized by a field of the file.
#include <cstddef>
#include <cstdint>

#include "import/OpenWorkbook.h"
#include "import/workbook/FormatProblem.h"
#include "import/workbook/SheetSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const auto source = kq::openWorkbookData(bytes);
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
