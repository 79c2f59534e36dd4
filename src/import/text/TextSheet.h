#pragma once

#include <QStringList>
#include <optional>
#include <vector>

#include "import/workbook/HeaderTest.h"
#include "import/workbook/SheetSource.h"

namespace kq::text {

// The one sheet of a delimited text workbook, read whole when the file is
// opened, every cell a text as written. Named sheet1, so that the import
// finds it as in an .xls.
class TextSheet : public SheetSource {
  public:
    explicit TextSheet(std::vector<SheetRow> rows);

    QStringList sheetNames() const override;
    void readSheet(int index, const RowSink& sink) override;
    bool holdsOnlyTexts() const override { return true; }

  private:
    std::vector<SheetRow> rows_;
};

// The row of the header: the first of the top rows that holds it, else the
// first row.
int headerRowOf(const std::vector<SheetRow>& rows, const HeaderTest& holdsHeader);

// The number a text stands for, when the table would show it exactly as
// written: "007", "1.50" or an 18-digit card number would lose digits, so
// they stay texts.
std::optional<double> numberOf(const QString& text);

// Makes a text cell the number it stands for (see numberOf).
void makeNumber(Cell& cell);

// Cells of a column whose non-empty cells below the header row all read as
// numbers become numbers, as in an .xls number column; everything else
// stays text.
void typeNumberColumns(std::vector<SheetRow>& rows, int headerRow);

// The same rule decided from the first rows of a sheet still being read:
// they are typed at once, and each later row as they decided.
class NumberColumns {
  public:
    NumberColumns(std::vector<SheetRow>& rows, int headerRow);

    // Types a later row; false when it holds a text in a number column.
    bool add(SheetRow& row);

    // True when all rows seen give the number columns the first rows gave.
    bool decidedAsAllRowsDecide() const;

  private:
    void see(const SheetRow& row);
    bool type(SheetRow& row);

    std::vector<char> anyCell_;
    std::vector<char> textColumn_;  // a cell that is no number
    std::vector<char> decided_;
};

}  // namespace kq::text
