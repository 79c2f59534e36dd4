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
    NumberColumns(rows, headerRow);
}

NumberColumns::NumberColumns(std::vector<SheetRow>& rows, int headerRow) {
    for (const SheetRow& row : rows)
        if (row.index > headerRow) see(row);
    decided_.resize(anyCell_.size());
    for (std::size_t c = 0; c < anyCell_.size(); ++c) decided_[c] = anyCell_[c] && !textColumn_[c];
    for (SheetRow& row : rows)
        if (row.index > headerRow) type(row);
}

bool NumberColumns::add(SheetRow& row) {
    see(row);
    return type(row);
}

bool NumberColumns::decidedAsAllRowsDecide() const {
    for (std::size_t c = 0; c < anyCell_.size(); ++c)
        if (bool(anyCell_[c] && !textColumn_[c]) != (c < decided_.size() && decided_[c]))
            return false;
    return true;
}

void NumberColumns::see(const SheetRow& row) {
    for (const RowCell& c : row.cells) {
        const auto column = std::size_t(c.column);
        if (column >= anyCell_.size()) {
            anyCell_.resize(column + 1, 0);
            textColumn_.resize(column + 1, 0);
        }
        anyCell_[column] = 1;
        if (!textColumn_[column] && !numberOf(c.cell.text)) textColumn_[column] = 1;
    }
}

bool NumberColumns::type(SheetRow& row) {
    for (RowCell& c : row.cells) {
        const auto column = std::size_t(c.column);
        if (column >= decided_.size() || !decided_[column]) continue;
        if (textColumn_[column]) return false;
        makeNumber(c.cell);
    }
    return true;
}

TextSheet::TextSheet(std::vector<SheetRow> rows) : rows_(std::move(rows)) {}

QStringList TextSheet::sheetNames() const { return {QStringLiteral("sheet1")}; }

void TextSheet::readSheet(int index, const RowSink& sink) {
    if (index != 0) return;
    for (SheetRow& row : rows_) sink(std::move(row));
    rows_.clear();
}

}  // namespace kq::text
