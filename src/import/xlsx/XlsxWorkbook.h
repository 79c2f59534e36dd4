#pragma once

#include <QByteArray>
#include <memory>
#include <vector>

#include "import/workbook/NumberFormat.h"
#include "import/workbook/SheetSource.h"

namespace kq {

namespace xlsx {
class ZipArchive;
}

// An Excel 2007+ workbook (.xlsx): the package's workbook, shared strings,
// styles and worksheet parts, each sheet read as a stream of rows.
class XlsxWorkbook : public SheetSource {
  public:
    explicit XlsxWorkbook(const QByteArray& file);
    ~XlsxWorkbook() override;

    QStringList sheetNames() const override;
    void readSheet(int index, const RowSink& sink) override;
    QStringList sheetsWithoutContent() const override { return withoutContent_; }

  private:
    struct SheetEntry {
        QString name;
        QString part;
    };

    void readWorkbook(const QString& workbookPart);
    void readSharedStrings(const QString& part);
    void readStyles(const QString& part);

    std::unique_ptr<xlsx::ZipArchive> zip_;
    std::vector<SheetEntry> sheets_;
    QStringList withoutContent_;  // listed with an empty relationship id
    std::vector<QString> sst_;
    std::vector<numfmt::Kind> xfKinds_;
    bool date1904_ = false;
};

}  // namespace kq
