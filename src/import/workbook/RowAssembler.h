#pragma once

#include <vector>

#include "import/workbook/Cell.h"

namespace kq {

// Gathers the cells of a sheet as a reader meets them into rows and hands
// each row on once a cell of another row comes; a row holds only its own
// cells, so memory follows the cells really there, not a sheet's declared
// size. Rows go on in the file's order: a writer that puts a row's records
// after later rows' makes that row come in pieces (see putInRowOrder).
class RowAssembler {
  public:
    RowAssembler(const RowSink& sink, int maxRows, int maxColumns);

    // Damaged when the cell lies outside the format's largest sheet.
    void put(int row, int column, Cell cell);
    void finish();

  private:
    void flush();

    const RowSink& sink_;
    int maxRows_;
    int maxColumns_;
    SheetRow row_;
    bool unsorted_ = false;
};

// Sorts a row's cells by column; of two cells in one place the later wins,
// as in the sheet.
void sortRowCells(std::vector<RowCell>& cells);

// Rows as a reader handed them on, in the file's order, into ascending row
// order with each row whole: pieces of one row are joined, the later cell
// winning where two share a place. Rows already in order cost one pass.
void putInRowOrder(std::vector<SheetRow>& rows);

}  // namespace kq
