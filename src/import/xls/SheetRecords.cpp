#include "import/xls/SheetRecords.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "import/workbook/CodePage.h"
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

std::span<const SheetRecords::Handler> SheetRecords::handlersOf(Biff biff) {
    using S = SheetRecords;
    // The commonest cells first: every record is looked up here.
    static constexpr Handler kBiff8[] = {
        {rec::kLabelSst, 10, true, &S::onLabelSst},
        {rec::kNumber, 14, true, &S::onNumber},
        {rec::kRk, 10, true, &S::onRk},
        {rec::kMulRk, 4, true, &S::onMulRk},
        {rec::kDimension, 0, false, &S::onDimension},
        {rec::kLabel, 0, true, &S::onLabel},
        {rec::kRString, 0, true, &S::onLabel},
        {rec::kBoolErr, 8, true, &S::onBoolErr},
        {rec::kFormula, 20, true, &S::onFormula},
        {rec::kFormulaOld, 16, true, &S::onFormula},
        {rec::kString, 0, false, &S::onString},
    };
    // Excel 5.0/95: the same cells, but 8-bit strings without a flags byte.
    static constexpr Handler kBiff5[] = {
        {rec::kDimension, 0, false, &S::onDimension},
        {rec::kNumber, 14, true, &S::onNumber},
        {rec::kRk, 10, true, &S::onRk},
        {rec::kMulRk, 4, true, &S::onMulRk},
        {rec::kLabel, 8, true, &S::onByteLabel},
        {rec::kRString, 8, true, &S::onByteLabel},
        {rec::kBoolErr, 8, true, &S::onBoolErr},
        {rec::kFormula, 20, true, &S::onFormula},
        {rec::kFormulaOld, 16, true, &S::onFormula},
        {rec::kString, 2, false, &S::onByteString},
    };
    // Excel 3.0 and 4.0 name their FORMULA records by version.
    static constexpr Handler kBiff3And4[] = {
        {rec::kDimension, 0, false, &S::onDimension},
        {rec::kNumber, 14, true, &S::onNumber},
        {rec::kRk, 10, true, &S::onRk},
        {rec::kLabel, 8, true, &S::onByteLabel},
        {rec::kBoolErr, 8, true, &S::onBoolErr},
        {rec::kFormula3, 16, true, &S::onFormula},
        {rec::kFormulaOld, 16, true, &S::onFormula},
        {rec::kString, 2, false, &S::onByteString},
    };
    static constexpr Handler kBiff2[] = {
        {rec::kDimension2, 0, false, &S::onDimension}, {rec::kInteger2, 9, true, &S::onInteger},
        {rec::kNumber2, 15, true, &S::onNumber},       {rec::kLabel2, 8, true, &S::onByteLabel},
        {rec::kBoolErr2, 9, true, &S::onBoolErr},      {rec::kFormula, 17, true, &S::onFormula},
        {rec::kString2, 1, false, &S::onByteString},
    };
    switch (biff) {
        case Biff::V2:
            return kBiff2;
        case Biff::V3:
        case Biff::V4:
            return kBiff3And4;
        case Biff::V5:
            return kBiff5;
        case Biff::V8:
            break;
    }
    return kBiff8;
}

const SheetRecords::Handler* SheetRecords::handlerFor(std::uint16_t type) const {
    const auto found = std::ranges::find(handlers_, type, &Handler::type);
    return found != handlers_.end() ? &*found : nullptr;
}

QString WorkbookTables::text(Bytes bytes) const {
    return decodeCodePage(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), codePage);
}

SheetRecords::SheetRecords(const WorkbookTables& tables, const RowSink& sink)
    : tables_(tables),
      handlers_(handlersOf(tables.biff)),
      cells_(sink, kXlsMaxRows, kXlsMaxColumns) {}

std::uint16_t SheetRecords::xfOf(Bytes d) const {
    return tables_.biff == Biff::V2 ? std::uint16_t(d[5] & 0x3F) : u16(d, 4);
}

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
    // holds, or claims twice, is not a sound file. Before Excel 97 the row
    // bounds are 16-bit, which no claim can pass.
    const Bytes d = record.data;
    if (dimensionSeen_) damaged(QStringLiteral("工作表的尺寸记录重复"));
    dimensionSeen_ = true;
    const bool wide = tables_.biff == Biff::V8;
    const std::uint32_t rows = wide ? u32(d, 4) : u16(d, 2);
    const std::uint16_t columns = u16(d, wide ? 10 : 6);
    if (rows > std::uint32_t(kXlsMaxRows) || columns > kXlsMaxColumns)
        damaged(QStringLiteral("工作表声称 %1 行 × %2 列，超出 %3 行 × %4 列")
                    .arg(rows)
                    .arg(columns)
                    .arg(kXlsMaxRows)
                    .arg(kXlsMaxColumns));
}

void SheetRecords::onNumber(const Record& record) {
    const Bytes d = record.data;
    cells_.put(u16(d, 0), u16(d, 2), numberCell(xfOf(d), f64(d, valueAt())));
}

void SheetRecords::onInteger(const Record& record) {
    const Bytes d = record.data;
    cells_.put(u16(d, 0), u16(d, 2), numberCell(xfOf(d), u16(d, 7)));
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

void SheetRecords::onByteLabel(const Record& record) {
    // Row, column, XF (or attributes), a 16-bit count (8-bit in Excel 2.x),
    // the bytes from offset 8 either way.
    const Bytes d = record.data;
    const std::size_t count = tables_.biff == Biff::V2 ? d[7] : u16(d, 6);
    need(d, 8, count, "字符串长度超出记录");
    cells_.put(u16(d, 0), u16(d, 2), textCell(tables_.text(d.subspan(8, count))));
}

void SheetRecords::onBoolErr(const Record& record) {
    const Bytes d = record.data;
    const std::size_t at = valueAt();
    cells_.put(u16(d, 0), u16(d, 2), boolErrCell(d[at], d[at + 1] != 0));
}

void SheetRecords::onFormula(const Record& record) {
    const Bytes d = record.data;
    const int row = u16(d, 0);
    const int column = u16(d, 2);
    const std::size_t at = valueAt();
    if (u16(d, at + 6) != 0xFFFF) {
        cells_.put(row, column, numberCell(xfOf(d), f64(d, at)));
        return;
    }
    switch (d[at]) {
        case 0:  // text, in the STRING record that follows
            pendingString_ = PendingString{row, column};
            cells_.put(row, column, Cell());
            break;
        case 1:
            cells_.put(row, column, boolErrCell(d[at + 2], false));
            break;
        case 2:
            cells_.put(row, column, boolErrCell(d[at + 2], true));
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

void SheetRecords::onByteString(const Record& record) {
    const auto pending = std::exchange(pendingString_, std::nullopt);
    if (!pending) return;
    const Bytes d = record.data;
    const bool shortCount = tables_.biff == Biff::V2;
    const std::size_t count = shortCount ? d[0] : u16(d, 0);
    const std::size_t from = shortCount ? 1 : 2;
    need(d, from, count, "字符串长度超出记录");
    cells_.put(pending->row, pending->column, textCell(tables_.text(d.subspan(from, count))));
}

}  // namespace kq::xls
