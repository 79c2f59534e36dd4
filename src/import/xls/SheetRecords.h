#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "import/workbook/NumberFormat.h"
#include "import/workbook/RowAssembler.h"
#include "import/xls/BiffRecords.h"

namespace kq::xls {

// What the cells of every sheet refer to in the workbook's globals.
struct WorkbookTables {
    std::vector<QString> strings;       // the shared string table (SST)
    std::vector<numfmt::Kind> xfKinds;  // the number format kind of each XF
    bool date1904 = false;
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
    static const Handler* handlerFor(std::uint16_t type);

    void onDimension(const Record& record);
    void onNumber(const Record& record);
    void onRk(const Record& record);
    void onMulRk(const Record& record);
    void onLabelSst(const Record& record);
    void onLabel(const Record& record);
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
    RowAssembler cells_;
    std::optional<PendingString> pendingString_;
    bool dimensionSeen_ = false;
};

}  // namespace kq::xls
