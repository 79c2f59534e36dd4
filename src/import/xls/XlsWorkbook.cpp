#include "import/xls/XlsWorkbook.h"

#include <algorithm>
#include <unordered_map>

#include "import/workbook/FormatProblem.h"
#include "import/workbook/RowAssembler.h"
#include "import/xls/BiffRecords.h"
#include "import/xls/CompoundFile.h"

namespace kq {

using namespace xls;

XlsWorkbook::XlsWorkbook(const QByteArray& file) {
    const CompoundFile compound(
        Bytes(reinterpret_cast<const unsigned char*>(file.constData()), std::size_t(file.size())));
    if (!compound.hasStream(QStringLiteral("Workbook"))) {
        if (compound.hasStream(QStringLiteral("Book")))
            throw FormatProblem(FormatProblem::Kind::OldFormat);
        if (compound.hasStream(QStringLiteral("EncryptedPackage")))
            throw FormatProblem(FormatProblem::Kind::Encrypted);
        throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
    }
    stream_ = compound.stream(QStringLiteral("Workbook"));
    readGlobals();
}

QStringList XlsWorkbook::sheetNames() const {
    QStringList names;
    for (const SheetEntry& s : sheets_) names << s.name;
    return names;
}

void XlsWorkbook::readGlobals() {
    RecordReader records(stream_, 0);
    Record record;
    if (!records.next(record) || record.type != rec::kBof || record.data.size() < 4)
        throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
    const std::uint16_t version = u16(record.data, 0);
    if (version < 0x0600) throw FormatProblem(FormatProblem::Kind::OldFormat);
    if (version != 0x0600) damaged(QStringLiteral("版本标记无效"));

    std::unordered_map<std::uint16_t, numfmt::Kind> formats;
    std::vector<std::uint16_t> xfFormats;
    bool ended = false;
    while (!ended && records.next(record)) {
        switch (record.type) {
            case rec::kEof:
                ended = true;
                break;
            case rec::kFilePass:
                throw FormatProblem(FormatProblem::Kind::Encrypted);
            case rec::kDateMode:
                date1904_ = u16(record.data, 0) == 1;
                break;
            case rec::kBoundSheet: {
                ContinuedReader in(record);
                SheetEntry sheet;
                sheet.offset = in.u32();
                in.u8();  // visibility
                const std::uint8_t type = in.u8();
                sheet.name = in.string(true);
                if (type == 0) sheets_.push_back(std::move(sheet));
                break;
            }
            case rec::kFormat: {
                ContinuedReader in(record);
                const std::uint16_t id = in.u16();
                formats[id] = numfmt::kindOf(in.string());
                break;
            }
            case rec::kXf:
                xfFormats.push_back(u16(record.data, 2));
                break;
            case rec::kSst: {
                ContinuedReader in(record);
                in.u32();  // references
                const std::uint32_t unique = in.u32();
                // The count is a claim; every string takes at least 3 bytes.
                sst_.reserve(std::min<std::size_t>(unique, stream_.size() / 3));
                for (std::uint32_t i = 0; i < unique && !in.atEnd(); ++i)
                    sst_.push_back(in.string());
                break;
            }
            default:
                break;
        }
    }
    if (!ended) damaged(QStringLiteral("缺少工作簿结束记录"));

    xfKinds_.reserve(xfFormats.size());
    for (const std::uint16_t id : xfFormats) {
        const auto custom = formats.find(id);
        xfKinds_.push_back(custom != formats.end() ? custom->second : numfmt::builtInKind(id));
    }
}

numfmt::Kind XlsWorkbook::kindOfXf(std::uint16_t xf) const {
    return xf < xfKinds_.size() ? xfKinds_[xf] : numfmt::Kind::Number;
}

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

void XlsWorkbook::readSheet(int index, const RowSink& sink) {
    RecordReader records(stream_, sheets_.at(std::size_t(index)).offset);
    Record record;
    if (!records.next(record) || record.type != rec::kBof)
        damaged(QStringLiteral("工作表的起始记录缺失"));

    RowAssembler cells(sink, kXlsMaxRows, kXlsMaxColumns);
    const auto number = [&](std::uint16_t xf, double v) {
        return numfmt::numberCell(v, kindOfXf(xf), date1904_);
    };
    // A formula whose result is text is followed by a STRING record.
    bool stringPending = false;
    int pendingRow = 0;
    int pendingColumn = 0;
    int depth = 0;  // embedded charts bring their own BOF..EOF
    bool dimensionSeen = false;
    while (records.next(record)) {
        const Bytes d = record.data;
        if (record.type == rec::kBof) {
            ++depth;
            continue;
        }
        if (record.type == rec::kEof) {
            if (depth-- == 0) break;
            continue;
        }
        if (depth > 0) continue;
        if (record.type == rec::kString) {
            if (stringPending) {
                ContinuedReader in(record);
                cells.put(pendingRow, pendingColumn, textCell(in.string()));
            }
            stringPending = false;
            continue;
        }
        switch (record.type) {
            case rec::kDimension:
                // Nothing is sized by it, but a sheet that claims more than
                // the format holds, or claims twice, is not a sound file.
                if (dimensionSeen) damaged(QStringLiteral("工作表的尺寸记录重复"));
                dimensionSeen = true;
                if (u32(d, 4) > std::uint32_t(kXlsMaxRows) || u16(d, 10) > kXlsMaxColumns)
                    damaged(QStringLiteral("工作表声称 %1 行 × %2 列，超出 %3 行 × %4 列")
                                .arg(u32(d, 4))
                                .arg(u16(d, 10))
                                .arg(kXlsMaxRows)
                                .arg(kXlsMaxColumns));
                continue;
            case rec::kNumber:
                cells.put(u16(d, 0), u16(d, 2), number(u16(d, 4), f64(d, 6)));
                break;
            case rec::kRk:
                cells.put(u16(d, 0), u16(d, 2), number(u16(d, 4), rkValue(u32(d, 6))));
                break;
            case rec::kMulRk: {
                const std::uint16_t row = u16(d, 0);
                const std::uint16_t first = u16(d, 2);
                if (d.size() < 6 || (d.size() - 6) % 6 != 0)
                    damaged(QStringLiteral("MULRK 记录长度无效"));
                const std::size_t count = (d.size() - 6) / 6;
                if (u16(d, d.size() - 2) != first + count - 1)
                    damaged(QStringLiteral("MULRK 记录的列范围无效"));
                for (std::size_t i = 0; i < count; ++i)
                    cells.put(row, int(first + i),
                              number(u16(d, 4 + 6 * i), rkValue(u32(d, 6 + 6 * i))));
                break;
            }
            case rec::kLabelSst: {
                const std::uint32_t at = u32(d, 6);
                if (at >= sst_.size()) damaged(QStringLiteral("共享字符串编号超出范围"));
                cells.put(u16(d, 0), u16(d, 2), textCell(sst_[at]));
                break;
            }
            case rec::kLabel:
            case rec::kRString: {
                ContinuedReader in(record);
                const std::uint16_t row = in.u16();
                const std::uint16_t column = in.u16();
                in.u16();  // xf
                cells.put(row, column, textCell(in.string()));
                break;
            }
            case rec::kBoolErr:
                need(d, 0, 8, "记录被截断");
                cells.put(u16(d, 0), u16(d, 2), boolErrCell(d[6], d[7] != 0));
                break;
            case rec::kFormula: {
                need(d, 0, 20, "记录被截断");
                const int row = u16(d, 0);
                const int column = u16(d, 2);
                if (u16(d, 12) != 0xFFFF) {
                    cells.put(row, column, number(u16(d, 4), f64(d, 6)));
                    break;
                }
                switch (d[6]) {
                    case 0:  // text, in the STRING record that follows
                        stringPending = true;
                        pendingRow = row;
                        pendingColumn = column;
                        cells.put(row, column, Cell());
                        continue;
                    case 1:
                        cells.put(row, column, boolErrCell(d[8], false));
                        break;
                    case 2:
                        cells.put(row, column, boolErrCell(d[8], true));
                        break;
                    default:  // an empty text
                        cells.put(row, column, Cell());
                        break;
                }
                break;
            }
            default:
                continue;  // not a cell: the pending STRING may still come
        }
        stringPending = false;
    }
    cells.finish();
}

}  // namespace kq
