#include "import/xls/SheetRecords.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "import/workbook/FormatProblem.h"

namespace kq::xls {
namespace {

double rkValue(std::uint32_t rk) {
    double v;
    if (rk & 0x02) {
        v = double(std::int32_t(rk) >> 2);
    } else {
        const std::uint64_t bits = std::uint64_t(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 0x01) ? v / 100 : v;
}

QString errorText(std::uint8_t code) {
    switch (code) {
        case 0x00:
            return QStringLiteral("#NULL!");
        case 0x07:
            return QStringLiteral("#DIV/0!");
        case 0x0F:
            return QStringLiteral("#VALUE!");
        case 0x17:
            return QStringLiteral("#REF!");
        case 0x1D:
            return QStringLiteral("#NAME?");
        case 0x24:
            return QStringLiteral("#NUM!");
        case 0x2A:
            return QStringLiteral("#N/A");
    }
    return QStringLiteral("#N/A");
}

Cell boolErrCell(std::uint8_t value, bool isError) {
    Cell cell;
    if (isError) {
        cell.type = Cell::Type::Error;
        cell.text = errorText(value);
    } else {
        cell.type = Cell::Type::Boolean;
        cell.number = value ? 1 : 0;
    }
    return cell;
}

}  // namespace

struct SheetRecords::Handler {
    std::uint16_t type;
    // The fixed fields the handler reads from the record's own data. Strings
    // are read across the CONTINUE records and checked there; a repeated
    // DIMENSIONS is damaged whatever its length, so it checks its own.
    std::size_t minLength;
    bool isCell;  // a cell ends the wait for a formula's STRING
    void (SheetRecords::*handle)(const Record&);
};

const SheetRecords::Handler* SheetRecords::handlerFor(std::uint16_t type) {
    static constexpr Handler kHandlers[] = {
        {rec::kDimension, 0, false, &SheetRecords::onDimension},
        {rec::kNumber, 14, true, &SheetRecords::onNumber},
        {rec::kRk, 10, true, &SheetRecords::onRk},
        {rec::kMulRk, 4, true, &SheetRecords::onMulRk},
        {rec::kLabelSst, 10, true, &SheetRecords::onLabelSst},
        {rec::kLabel, 0, true, &SheetRecords::onLabel},
        {rec::kRString, 0, true, &SheetRecords::onLabel},
        {rec::kBoolErr, 8, true, &SheetRecords::onBoolErr},
        {rec::kFormula, 20, true, &SheetRecords::onFormula},
        {rec::kFormulaOld, 16, true, &SheetRecords::onFormula},
        {rec::kString, 0, false, &SheetRecords::onString},
    };
    const auto* found = std::ranges::find(kHandlers, type, &Handler::type);
    return found != std::end(kHandlers) ? found : nullptr;
}

SheetRecords::SheetRecords(const WorkbookTables& tables, const RowSink& sink)
    : tables_(tables), cells_(sink, kXlsMaxRows, kXlsMaxColumns) {}

void SheetRecords::handle(const Record& record) {
    const Handler* handler = handlerFor(record.type);
    if (!handler) return;  // not a cell: a pending STRING may still come
    if (record.data.size() < handler->minLength) damaged(QStringLiteral("记录被截断"));
    if (handler->isCell) pendingString_.reset();
    (this->*handler->handle)(record);
}

void SheetRecords::finish() { cells_.finish(); }

Cell SheetRecords::numberCell(std::uint16_t xf, double value) const {
    const auto kind = xf < tables_.xfKinds.size() ? tables_.xfKinds[xf] : numfmt::Kind::Number;
    return numfmt::numberCell(value, kind, tables_.date1904);
}

void SheetRecords::onDimension(const Record& record) {
    // Nothing is sized by it, but a sheet that claims more than the format
    // holds, or claims twice, is not a sound file.
    const Bytes d = record.data;
    if (dimensionSeen_) damaged(QStringLiteral("工作表的尺寸记录重复"));
    dimensionSeen_ = true;
    if (u32(d, 4) > std::uint32_t(kXlsMaxRows) || u16(d, 10) > kXlsMaxColumns)
        damaged(QStringLiteral("工作表声称 %1 行 × %2 列，超出 %3 行 × %4 列")
                    .arg(u32(d, 4))
                    .arg(u16(d, 10))
                    .arg(kXlsMaxRows)
                    .arg(kXlsMaxColumns));
}

void SheetRecords::onNumber(const Record& record) {
    const Bytes d = record.data;
    cells_.put(u16(d, 0), u16(d, 2), numberCell(u16(d, 4), f64(d, 6)));
}

void SheetRecords::onRk(const Record& record) {
    const Bytes d = record.data;
    cells_.put(u16(d, 0), u16(d, 2), numberCell(u16(d, 4), rkValue(u32(d, 6))));
}

void SheetRecords::onMulRk(const Record& record) {
    const Bytes d = record.data;
    const std::uint16_t row = u16(d, 0);
    const std::uint16_t first = u16(d, 2);
    if (d.size() < 6 || (d.size() - 6) % 6 != 0) damaged(QStringLiteral("MULRK 记录长度无效"));
    const std::size_t count = (d.size() - 6) / 6;
    if (u16(d, d.size() - 2) != first + count - 1)
        damaged(QStringLiteral("MULRK 记录的列范围无效"));
    for (std::size_t i = 0; i < count; ++i)
        cells_.put(row, int(first + i), numberCell(u16(d, 4 + 6 * i), rkValue(u32(d, 6 + 6 * i))));
}

void SheetRecords::onLabelSst(const Record& record) {
    const Bytes d = record.data;
    const std::uint32_t at = u32(d, 6);
    if (at >= tables_.strings.size()) damaged(QStringLiteral("共享字符串编号超出范围"));
    cells_.put(u16(d, 0), u16(d, 2), textCell(tables_.strings[at]));
}

void SheetRecords::onLabel(const Record& record) {
    ContinuedReader in(record);
    const std::uint16_t row = in.u16();
    const std::uint16_t column = in.u16();
    in.u16();  // xf
    cells_.put(row, column, textCell(in.string()));
}

void SheetRecords::onBoolErr(const Record& record) {
    const Bytes d = record.data;
    cells_.put(u16(d, 0), u16(d, 2), boolErrCell(d[6], d[7] != 0));
}

void SheetRecords::onFormula(const Record& record) {
    const Bytes d = record.data;
    const int row = u16(d, 0);
    const int column = u16(d, 2);
    if (u16(d, 12) != 0xFFFF) {
        cells_.put(row, column, numberCell(u16(d, 4), f64(d, 6)));
        return;
    }
    switch (d[6]) {
        case 0:  // text, in the STRING record that follows
            pendingString_ = PendingString{row, column};
            cells_.put(row, column, Cell());
            break;
        case 1:
            cells_.put(row, column, boolErrCell(d[8], false));
            break;
        case 2:
            cells_.put(row, column, boolErrCell(d[8], true));
            break;
        default:  // an empty text
            cells_.put(row, column, Cell());
            break;
    }
}

void SheetRecords::onString(const Record& record) {
    const auto pending = std::exchange(pendingString_, std::nullopt);
    if (!pending) return;  // no formula waits for it
    ContinuedReader in(record);
    cells_.put(pending->row, pending->column, textCell(in.string()));
}

}  // namespace kq::xls
