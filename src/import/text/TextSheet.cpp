#include "import/text/TextSheet.h"

#include "data/Value.h"

namespace kq::text {

std::optional<double> numberOf(const QString& text) {
    qsizetype i = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    const qsizetype digitsFrom = i;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('.') && !point) {
            point = true;
        } else if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    if (i == digitsFrom) return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || numberText(value) != text) return std::nullopt;
    return value;
}

void makeNumber(Cell& cell) {
    cell.number = *numberOf(cell.text);
    cell.type = Cell::Type::Number;
    cell.text.clear();
}

int headerRowOf(const std::vector<SheetRow>& rows, const HeaderTest& holdsHeader) {
    if (holdsHeader)
        for (const SheetRow& row : rows) {
            if (row.index >= kHeaderSearchRows) break;
            if (holdsHeader(row)) return row.index;
        }
    return 0;
}

void typeNumberColumns(std::vector<SheetRow>& rows, int headerRow) {
    std::vector<char> textColumn;  // a cell below the header that is no number
    std::vector<char> anyCell;
    for (const SheetRow& row : rows) {
        if (row.index <= headerRow) continue;
        for (const RowCell& c : row.cells) {
            const auto column = std::size_t(c.column);
            if (column >= textColumn.size()) {
                textColumn.resize(column + 1, 0);
                anyCell.resize(column + 1, 0);
            }
            anyCell[column] = 1;
            if (!textColumn[column] && !numberOf(c.cell.text)) textColumn[column] = 1;
        }
    }
    for (SheetRow& row : rows) {
        if (row.index <= headerRow) continue;
        for (RowCell& c : row.cells) {
            const auto column = std::size_t(c.column);
            if (textColumn[column] || !anyCell[column]) continue;
            makeNumber(c.cell);
        }
    }
}

TextSheet::TextSheet(std::vector<SheetRow> rows) : rows_(std::move(rows)) {}

QStringList TextSheet::sheetNames() const { return {QStringLiteral("sheet1")}; }

void TextSheet::readSheet(int index, const RowSink& sink) {
    if (index != 0) return;
    for (SheetRow& row : rows_) sink(std::move(row));
    rows_.clear();
}

}  // namespace kq::text
