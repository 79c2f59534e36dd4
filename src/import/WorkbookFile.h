#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "import/workbook/Cell.h"
#include "import/workbook/HeaderTest.h"

namespace kq {

class SheetSource;

// An .xls (Excel 97-2003) or .xlsx workbook, or one saved as a web page or
// as delimited text (.csv), told apart by its content.
// Throws kq::Error with a description that names the file and says what to
// do: missing, unreadable, not a workbook, old format, password, damaged.
class WorkbookFile {
  public:
    // holdsHeader picks the table of a web page (see OpenWorkbook.h).
    explicit WorkbookFile(const QString& path, const HeaderTest& holdsHeader = {});
    ~WorkbookFile();
    WorkbookFile(const WorkbookFile&) = delete;
    WorkbookFile& operator=(const WorkbookFile&) = delete;

    QString fileName() const;
    const QStringList& sheetNames() const { return sheetNames_; }

    // Reads the worksheet of that name (letter case ignored), or the only
    // worksheet when none has that name, into rows: each row with content,
    // whole, in ascending row order. Returns the sheet's own name.
    QString readSheet(const QString& name, std::vector<SheetRow>& rows);

    // The sheet readSheet reads for that name: its position in
    // sheetNames(). Throws as readSheet does when there is none.
    int sheetIndex(const QString& name) const;
    // Hands the rows of the sheet at that position to sink as the file holds
    // them (see SheetSource::readSheet), the cells of a text workbook not yet
    // typed (see holdsOnlyTexts). Throws as readSheet does.
    void readRows(int index, const RowSink& sink);
    // A text or web-page workbook, whose number columns readSheet makes
    // numbers once it holds them whole.
    bool holdsOnlyTexts() const;

  private:
    QString path_;
    HeaderTest holdsHeader_;
    std::unique_ptr<SheetSource> source_;
    QStringList sheetNames_;
};

}  // namespace kq
