#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kq {

// One cell as the workbook stores it. Dates and times are day counts (see
// data/DateTimeText.h); integers and doubles are both numbers.
struct XlsCell {
    enum class Type { Empty, Integer, Double, Text, Date, DateTime, Time };

    Type type = Type::Empty;
    double number = 0;  // Integer, Double and the date/time types
    QString text;       // Text

    bool isEmpty() const { return type == Type::Empty; }
    bool isNumber() const { return type == Type::Integer || type == Type::Double; }
    bool isDateTime() const {
        return type == Type::Date || type == Type::DateTime || type == Type::Time;
    }
};

// The cells of one worksheet: row 0 is the header, every further row a data
// row. Trailing rows and columns without any content are left out.
struct XlsSheet {
    QString name;
    int columnCount = 0;
    std::vector<XlsCell> cells;  // row-major, columnCount per row, header included

    qsizetype rowCount() const {
        return columnCount == 0 ? 0 : qsizetype(cells.size()) / columnCount;
    }
    const XlsCell& cell(qsizetype row, int column) const {
        return cells[std::size_t(row * columnCount + column)];
    }
};

// A .xls workbook (Excel 97-2003) opened through FreeXL; closed on
// destruction. Throws kq::Error with a description that names the file.
class XlsReader {
  public:
    explicit XlsReader(const QString& path);
    ~XlsReader();
    XlsReader(const XlsReader&) = delete;
    XlsReader& operator=(const XlsReader&) = delete;

    const QString& path() const { return path_; }
    QString fileName() const;
    QStringList sheetNames() const { return sheetNames_; }

    // The worksheet of that name, letter case ignored.
    XlsSheet readSheet(const QString& name);

  private:
    QString path_;
    const void* handle_ = nullptr;
    QStringList sheetNames_;
};

}  // namespace kq
