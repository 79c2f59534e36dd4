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

QStringList names(const XlsSheet& sheet) {
    QStringList result;
    for (int c = 0; c < sheet.columnCount; ++c) {
        const QString text = textOf(sheet.cell(0, c)).trimmed();
        result << (text.isEmpty() ? QStringLiteral("F%1").arg(c + 1) : text);
    }
    return result;
}

std::optional<double> dateTimeOf(const XlsCell& cell) {
    if (cell.isDateTime()) return cell.number;
    if (cell.type == XlsCell::Type::Text) return datetime::parse(cell.text);
    return std::nullopt;
}

ColumnType inferType(const XlsSheet& sheet, int column) {
    bool allDateTime = true;
    bool allNumbers = true;
    bool any = false;
    for (qsizetype r = 1; r < sheet.rowCount() && (allDateTime || allNumbers); ++r) {
        const XlsCell& cell = sheet.cell(r, column);
        if (cell.isEmpty()) continue;
        any = true;
        if (!cell.isNumber()) allNumbers = false;
        if (allDateTime && !dateTimeOf(cell)) allDateTime = false;
    }
    if (!any) return ColumnType::Text;
    if (allDateTime) return ColumnType::DateTime;
    if (allNumbers) return ColumnType::Real;
    return ColumnType::Text;
}

QString textOf(const XlsCell& cell) {
    switch (cell.type) {
        case XlsCell::Type::Empty:
            return {};
        case XlsCell::Type::Integer:
        case XlsCell::Type::Double:
            return numberText(cell.number);
        case XlsCell::Type::Text:
            return cell.text;
        case XlsCell::Type::Date:
        case XlsCell::Type::DateTime:
        case XlsCell::Type::Time:
            return datetime::generalText(cell.number);
    }
    return {};
}

Value valueOf(const XlsCell& cell, ColumnType type) {
    if (cell.isEmpty()) return {};
    switch (type) {
        case ColumnType::DateTime:
            if (const auto ole = dateTimeOf(cell)) return Value::dateTime(*ole);
            break;
        case ColumnType::Real:
            if (cell.isNumber()) return Value::number(cell.number);
            break;
        case ColumnType::Text:
            break;
    }
    return Value::text(textOf(cell));
}

}  // namespace kq::columns
