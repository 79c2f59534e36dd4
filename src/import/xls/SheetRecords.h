#pragma once

#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "import/workbook/NumberFormat.h"
#include "import/workbook/RowAssembler.h"
#include "import/xls/BiffRecords.h"

namespace kq::xls {

// What the cells of every sheet refer to in the workbook's globals.
struct WorkbookTables {
    Biff biff = Biff::V8;
    std::vector<QString> strings;  // the shared string table (SST)
    // The number format kind of each XF; for Excel 2.x, whose cells name
    // their format themselves, of each FORMAT record in order.
    std::vector<numfmt::Kind> xfKinds;
    bool date1904 = false;
    int codePage = 1252;  // of the 8-bit strings before Excel 97

    // An 8-bit string of the workbook's code page.
    QString text(Bytes bytes) const;
};

// Turns the records of one worksheet's own substream into its cells, one
// handler per record type. Throws FormatProblem on a damaged record.
class SheetRecords {
  public:
    SheetRecords(const WorkbookTables& tables, const RowSink& sink);

    void handle(const Record& record);
    void finish();

  private:
    struct Handler;
    static std::span<const Handler> handlersOf(Biff biff);
    const Handler* handlerFor(std::uint16_t type) const;
    // Excel 2.x gives a cell three attribute bytes where later versions
    // give an XF index; its value comes one byte later.
    std::uint16_t xfOf(Bytes d) const;
    std::size_t valueAt() const { return tables_.biff == Biff::V2 ? 7 : 6; }

    void onDimension(const Record& record);
    void onNumber(const Record& record);
    void onRk(const Record& record);
    void onMulRk(const Record& record);
    void onLabelSst(const Record& record);
    void onLabel(const Record& record);
    void onByteLabel(const Record& record);
    void onInteger(const Record& record);
    void onByteString(const Record& record);
    void onBoolErr(const Record& record);
    void onFormula(const Record& record);
    void onString(const Record& record);

    Cell numberCell(std::uint16_t xf, double value) const;

    // A formula whose result is text; the text comes in the STRING record
    // right after it, before any other cell.
    struct PendingString {
        int row = 0;
        int column = 0;
    };

    const WorkbookTables& tables_;
    std::span<const Handler> handlers_;
    RowAssembler cells_;
    std::optional<PendingString> pendingString_;
    bool dimensionSeen_ = false;
};

}  // namespace kq::xls
