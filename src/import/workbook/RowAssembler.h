#pragma once

#include "import/workbook/Cell.h"

namespace kq {

// Gathers the cells of a sheet as a reader meets them into rows and hands
// each row on once the next row begins; a row holds only its own cells, so
// memory follows the cells really there, not a sheet's declared size.
class RowAssembler {
  public:
    RowAssembler(const RowSink& sink, int maxRows, int maxColumns);

    // Damaged when the cell lies outside the format's largest sheet or
    // before a row already handed on.
    void put(int row, int column, Cell cell);
    void finish();
    // Holds every cell until finish(), for a sheet whose rows come out of
    // order; memory then follows the sheet's cells, not one row's.
    void sortRowsAtEnd() { holding_ = true; }

  private:
    struct HeldCell {
        int row;
        RowCell cell;
    };
    void flush();

    const RowSink& sink_;
    int maxRows_;
    int maxColumns_;
    SheetRow row_;
    int flushedRow_ = -1;
    bool unsorted_ = false;
    bool holding_ = false;
    std::vector<HeldCell> held_;
};

}  // namespace kq
