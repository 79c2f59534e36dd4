#pragma once

#include <QStringList>

#include "import/workbook/Cell.h"

namespace kq {

// One workbook format's reader. Throws FormatProblem on content it cannot
// read; never reads outside the file's bytes.
class SheetSource {
  public:
    virtual ~SheetSource() = default;
    virtual QStringList sheetNames() const = 0;
    // Hands the rows of the sheet at that position to sink in the order the
    // file holds them, each with its cells in column order; a row the file
    // splits comes in pieces (putInRowOrder joins them).
    virtual void readSheet(int index, const RowSink& sink) = 0;
    // Sheets the workbook names but holds nothing for; not in sheetNames().
    virtual QStringList sheetsWithoutContent() const { return {}; }
    // A text or web-page workbook: every cell a text as written, a column
    // of numbers made so only once the whole column is known (see
    // text::typeNumberColumns).
    virtual bool holdsOnlyTexts() const { return false; }
};

}  // namespace kq
