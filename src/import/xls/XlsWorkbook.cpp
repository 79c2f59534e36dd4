#include "import/xls/XlsWorkbook.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "import/workbook/FormatProblem.h"
#include "import/workbook/NumberFormat.h"
#include "import/xls/BiffRecords.h"
#include "import/xls/CompoundFile.h"
#include "import/xls/SheetRecords.h"

namespace kq {

using namespace xls;

XlsWorkbook::XlsWorkbook(const QByteArray& file) {
    const Bytes bytes(reinterpret_cast<const unsigned char*>(file.constData()),
                      std::size_t(file.size()));
    if (!isCompoundFile(bytes)) {
        // Excel 2.x to 4.0 wrote the records themselves, one sheet a file.
        stream_.assign(bytes.begin(), bytes.end());
        readGlobals();
        return;
    }
    const CompoundFile compound(bytes);
    // Excel 5.0/95 named the stream "Book"; other writers put BIFF8 in it
    // too, so the BOF's version decides, not the name.
    QString name = QStringLiteral("Workbook");
    if (!compound.hasStream(name)) {
        name = QStringLiteral("Book");
        if (!compound.hasStream(name)) {
            if (compound.hasStream(QStringLiteral("EncryptedPackage")))
                throw FormatProblem(FormatProblem::Kind::Encrypted);
            throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
        }
    }
    stream_ = compound.stream(name);
    readGlobals();
}

bool XlsWorkbook::isCompoundFile(Bytes file) {
    static constexpr unsigned char kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    return file.size() >= sizeof kSignature &&
           std::equal(std::begin(kSignature), std::end(kSignature), file.begin());
}

QStringList XlsWorkbook::sheetNames() const {
    QStringList names;
    for (const SheetEntry& s : sheets_) names << s.name;
    return names;
}

namespace {

// The layout the first BOF names; a version this reader does not know is
// refused rather than guessed at.
Biff versionOf(const Record& bof) {
    switch (bof.type) {
        case rec::kBof2:
            return Biff::V2;
        case rec::kBof3:
            return Biff::V3;
        case rec::kBof4:
            return Biff::V4;
        case rec::kBof:
            break;
        default:
            throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
    }
    if (bof.data.size() < 4) throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
    const std::uint16_t version = u16(bof.data, 0);
    if (version == 0x0600) return Biff::V8;
    if (version == 0x0500) return Biff::V5;
    if (version < 0x0500) throw FormatProblem(FormatProblem::Kind::OldFormat);
    damaged(QStringLiteral("版本标记无效"));
}

// An 8-bit string with an 8-bit count, as Excel 5.0/95 and older store
// names and format codes.
QString shortByteString(const WorkbookTables& tables, Bytes d, std::size_t at) {
    need(d, at, 1, "记录被截断");
    const std::size_t count = d[at];
    need(d, at + 1, count, "字符串长度超出记录");
    return tables.text(d.subspan(at + 1, count));
}

}  // namespace

void XlsWorkbook::readGlobals() {
    RecordReader records(stream_, 0);
    Record record;
    if (!records.next(record) || !rec::isBof(record.type))
        throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
    tables_.biff = versionOf(record);
    const bool oneSheet = tables_.biff <= Biff::V4;
    if (oneSheet) {
        // Excel 4.0 workbooks bundle sheets in a form of their own.
        if (record.data.size() < 4 || u16(record.data, 2) != 0x0010)
            throw FormatProblem(FormatProblem::Kind::OldFormat);
        sheets_.push_back({QStringLiteral("Sheet 1"), 0});
    }
    const bool unicode = tables_.biff == Biff::V8;

    // Format codes by id; before Excel 5.0 the id is the record's place.
    std::unordered_map<std::uint16_t, QString> formatCodes;
    std::vector<std::uint16_t> xfFormats;
    bool ended = false;
    int depth = 0;  // an embedded chart's records are not the sheet's
    while (!ended && records.next(record)) {
        if (rec::isBof(record.type)) {
            ++depth;
            continue;
        }
        if (depth > 0) {
            if (record.type == rec::kEof) --depth;
            continue;
        }
        switch (record.type) {
            case rec::kEof:
                ended = true;
                break;
            case rec::kFilePass:
                throw FormatProblem(FormatProblem::Kind::Encrypted);
            case rec::kDateMode:
                tables_.date1904 = u16(record.data, 0) == 1;
                break;
            case rec::kCodePage:
                tables_.codePage = u16(record.data, 0);
                break;
            case rec::kBoundSheet: {
                if (oneSheet) break;
                SheetEntry sheet;
                if (unicode) {
                    ContinuedReader in(record);
                    sheet.offset = in.u32();
                    in.u8();                  // visibility
                    if (in.u8() != 0) break;  // a chart or macro sheet
                    sheet.name = in.string(true);
                } else {
                    sheet.offset = u32(record.data, 0);
                    need(record.data, 4, 2, "记录被截断");
                    if (record.data[5] != 0) break;
                    sheet.name = shortByteString(tables_, record.data, 6);
                }
                sheets_.push_back(std::move(sheet));
                break;
            }
            case rec::kFormat2:
            case rec::kFormat: {
                const bool numbered = tables_.biff >= Biff::V5;
                const std::size_t at = record.type == rec::kFormat ? 2 : 0;
                if (record.data.size() < at + 1) break;  // names no format
                const auto id = std::uint16_t(numbered ? u16(record.data, 0) : formatCodes.size());
                // One format's broken string costs that format, which reads
                // as General, not the workbook.
                try {
                    if (unicode) {
                        ContinuedReader in(record);
                        in.u16();
                        formatCodes[id] = in.string();
                    } else {
                        formatCodes[id] = shortByteString(tables_, record.data, at);
                    }
                } catch (const FormatProblem&) {
                    formatCodes[id] = QStringLiteral("General");
                }
                break;
            }
            case rec::kXf:
                xfFormats.push_back(u16(record.data, 2));
                break;
            case rec::kXf3:
            case rec::kXf4:
                need(record.data, 1, 1, "记录被截断");
                xfFormats.push_back(record.data[1]);
                break;
            case rec::kSst: {
                if (!unicode) break;
                ContinuedReader in(record);
                in.u32();  // references
                const std::uint32_t unique = in.u32();
                // The count is a claim; every string takes at least 3 bytes.
                tables_.strings.reserve(std::min<std::size_t>(unique, stream_.size() / 3));
                for (std::uint32_t i = 0; i < unique && !in.atEnd(); ++i)
                    tables_.strings.push_back(in.string());
                break;
            }
            default:
                break;
        }
    }
    if (!ended) damaged(QStringLiteral("缺少工作簿结束记录"));

    // Excel 2.x cells name their format directly: their "XF" is the format.
    if (tables_.biff == Biff::V2) {
        xfFormats.clear();
        for (std::size_t i = 0; i < formatCodes.size(); ++i) xfFormats.push_back(std::uint16_t(i));
    }
    // The built-in ids are those of Excel 5.0 on; before it every format
    // used is written out.
    const bool builtIns = tables_.biff >= Biff::V5;
    tables_.xfKinds.reserve(xfFormats.size());
    for (const std::uint16_t id : xfFormats) {
        const auto code = formatCodes.find(id);
        tables_.xfKinds.push_back(code != formatCodes.end() ? numfmt::kindOf(code->second)
                                  : builtIns                ? numfmt::builtInKind(id)
                                                            : numfmt::Kind::Number);
    }
}

void XlsWorkbook::readSheet(int index, const RowSink& sink) {
    RecordReader records(stream_, sheets_.at(std::size_t(index)).offset);
    Record record;
    if (!records.next(record) || !rec::isBof(record.type))
        damaged(QStringLiteral("工作表的起始记录缺失"));

    SheetRecords sheet(tables_, sink);
    int depth = 0;  // embedded charts bring their own BOF..EOF
    while (records.next(record)) {
        if (rec::isBof(record.type)) {
            ++depth;
        } else if (record.type == rec::kEof) {
            if (depth-- == 0) break;
        } else if (depth == 0) {
            sheet.handle(record);
        }
    }
    sheet.finish();
}

}  // namespace kq
