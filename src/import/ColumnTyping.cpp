#include "import/ColumnTyping.h"

#include "data/DateTimeText.h"

namespace kq::columns {

QString declaredType(ColumnType type) {
    switch (type) {
        case ColumnType::DateTime:
            return QStringLiteral("DATETIME");
        case ColumnType::Real:
            return QStringLiteral("REAL");
        case ColumnType::Text:
            break;
    }
    return QStringLiteral("TEXT");
}

QStringList names(const SheetTable& sheet) {
    QStringList result;
    const SheetRow* header = sheet.header();
    for (int c = 0; c < sheet.columnCount; ++c) {
        const Cell* cell = header ? header->at(c) : nullptr;
        const QString text = cell ? textOf(*cell) : QString();
        result << (text.trimmed().isEmpty() ? QStringLiteral("F%1").arg(c + 1) : text);
    }
    return result;
}

std::optional<double> dateTimeOf(const Cell& cell) {
    if (cell.isDateTime()) return cell.number;
    if (cell.type != Cell::Type::Text) return std::nullopt;
    const auto ole = datetime::parse(cell.text);
    if (ole && datetime::hasDate(*ole)) {
        const int year = datetime::datePart(*ole).year();
        if (year < 1900 || year > 9999) return std::nullopt;
    }
    return ole;
}

ColumnType inferType(const SheetTable& sheet, int column) {
    bool allDateTime = true;
    bool allNumbers = true;
    bool any = false;
    for (const SheetRow& row : sheet.rows) {
        if (!sheet.isData(row)) continue;
        const Cell* cell = row.at(column);
        if (!cell) continue;
        any = true;
        if (!cell->isNumber()) allNumbers = false;
        if (allDateTime && !dateTimeOf(*cell)) allDateTime = false;
        if (!allDateTime && !allNumbers) break;
    }
    if (!any) return ColumnType::Text;
    if (allDateTime) return ColumnType::DateTime;
    if (allNumbers) return ColumnType::Real;
    return ColumnType::Text;
}

QString textOf(const Cell& cell) {
    switch (cell.type) {
        case Cell::Type::Empty:
            return {};
        case Cell::Type::Number:
            return numberText(cell.number);
        case Cell::Type::Text:
        case Cell::Type::Error:
            return cell.text;
        case Cell::Type::Boolean:
            return cell.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case Cell::Type::Date:
        case Cell::Type::DateTime:
        case Cell::Type::Time:
            return datetime::generalText(cell.number);
    }
    return {};
}

Value valueOf(const Cell* cell, ColumnType type) {
    if (!cell || cell->isEmpty()) return {};
    switch (type) {
        case ColumnType::DateTime:
            if (const auto ole = dateTimeOf(*cell)) return Value::dateTime(*ole);
            break;
        case ColumnType::Real:
            if (cell->isNumber()) return Value::number(cell->number);
            break;
        case ColumnType::Text:
            break;
    }
    return Value::text(textOf(*cell));
}

}  // namespace kq::columns
