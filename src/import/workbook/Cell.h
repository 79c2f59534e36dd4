#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace kq {

// One cell as a workbook stores it, the same for .xls and .xlsx. Dates and
// times are day counts (see data/DateTimeText.h), already cut to whole
// seconds; the cell's number format decides which of the three it is.
struct Cell {
    enum class Type : unsigned char {
        Empty,
        Number,
        Text,
        Date,      // date format: the day, without a time of day
        DateTime,  // date and time format
        Time,      // time format: the time of day, without a day
        Boolean,   // number 1 or 0; shown as TRUE / FALSE
        Error,     // a formula's error code; text holds it as shown (#DIV/0!)
    };

    Type type = Type::Empty;
    double number = 0;  // Number, Boolean and the date/time types
    QString text;       // Text and Error

    bool isEmpty() const { return type == Type::Empty; }
    bool isNumber() const { return type == Type::Number; }
    bool isDateTime() const {
        return type == Type::Date || type == Type::DateTime || type == Type::Time;
    }
};

// A text cell; an empty text is an empty cell.
inline Cell textCell(QString text) {
    Cell cell;
    if (!text.isEmpty()) {
        cell.type = Cell::Type::Text;
        cell.text = std::move(text);
    }
    return cell;
}

struct RowCell {
    int column = 0;  // 0-based
    Cell cell;
};

// A worksheet row that holds at least one non-empty cell: only those cells,
// in column order.
struct SheetRow {
    int index = 0;  // 0-based sheet row
    std::vector<RowCell> cells;

    // The cell in that column, or nullptr when it is empty.
    const Cell* at(int column) const;
};

// Receives the rows of a sheet while it is read.
using RowSink = std::function<void(SheetRow&& row)>;

}  // namespace kq
