#pragma once

#include <QByteArray>
#include <vector>

#include "import/workbook/SheetSource.h"
#include "import/xls/SheetRecords.h"

namespace kq {

// An Excel 97-2003 workbook: the BIFF8 "Workbook" stream of an OLE2
// compound file. Formula cells give their cached result, as every writer
// stores it.
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

    void readGlobals();

    std::vector<unsigned char> stream_;
    std::vector<SheetEntry> sheets_;
    xls::WorkbookTables tables_;
};

}  // namespace kq
