#pragma once

#include <QByteArray>
#include <vector>

#include "import/workbook/SheetSource.h"
#include "import/xls/SheetRecords.h"

namespace kq {

// An Excel workbook in its binary form: Excel 97-2003 (BIFF8) and 5.0/95
// (BIFF5) in an OLE2 compound file, and the single-sheet files of Excel
// 2.x to 4.0, which are the bare records. Formula cells give their cached
// result, as every writer stores it.
class XlsWorkbook : public SheetSource {
  public:
    explicit XlsWorkbook(const QByteArray& file);

    QStringList sheetNames() const override;
    void readSheet(int index, const RowSink& sink) override;

  private:
    struct SheetEntry {
        QString name;
        std::uint32_t offset = 0;  // of the sheet's BOF record in the stream
    };

    static bool isCompoundFile(xls::Bytes file);
    void readGlobals();

    std::vector<unsigned char> stream_;
    std::vector<SheetEntry> sheets_;
    xls::WorkbookTables tables_;
};

}  // namespace kq
