#pragma once

#include <QStringList>
#include <vector>

#include "import/workbook/HeaderTest.h"
#include "import/workbook/SheetSource.h"

namespace kq::text {

// The one sheet of a text or web-page workbook, read whole when the file is
// opened, every cell a text as written. Named sheet1, so that the import
// finds it as in an .xls.
class TextSheet : public SheetSource {
  public:
    // Cells of a column whose non-empty cells below the header row all read
    // as numbers become numbers, as in an .xls number column; everything
    // else stays text.
    TextSheet(std::vector<SheetRow> rows, const HeaderTest& holdsHeader);

    QStringList sheetNames() const override;
    void readSheet(int index, const RowSink& sink) override;

  private:
    std::vector<SheetRow> rows_;
};

// The row of the header: the first of the top rows that holds it, else the
// first row.
int headerRowOf(const std::vector<SheetRow>& rows, const HeaderTest& holdsHeader);

}  // namespace kq::text
