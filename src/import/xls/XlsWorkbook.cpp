#include "import/xls/XlsWorkbook.h"

#include <algorithm>
#include <unordered_map>

#include "import/workbook/FormatProblem.h"
#include "import/workbook/NumberFormat.h"
#include "import/xls/BiffRecords.h"
#include "import/xls/CompoundFile.h"
#include "import/xls/SheetRecords.h"

namespace kq {

using namespace xls;

XlsWorkbook::XlsWorkbook(const QByteArray& file) {
    const CompoundFile compound(
        Bytes(reinterpret_cast<const unsigned char*>(file.constData()), std::size_t(file.size())));
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
                tables_.date1904 = u16(record.data, 0) == 1;
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
                if (record.data.size() < 2) break;  // names no format
                ContinuedReader in(record);
                const std::uint16_t id = in.u16();
                // One format's broken string costs that format, which
                // reads as General, not the workbook.
                try {
                    formats[id] = numfmt::kindOf(in.string());
                } catch (const FormatProblem&) {
                    formats[id] = numfmt::Kind::Number;
                }
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

    tables_.xfKinds.reserve(xfFormats.size());
    for (const std::uint16_t id : xfFormats) {
        const auto custom = formats.find(id);
        tables_.xfKinds.push_back(custom != formats.end() ? custom->second
                                                          : numfmt::builtInKind(id));
    }
}

void XlsWorkbook::readSheet(int index, const RowSink& sink) {
    RecordReader records(stream_, sheets_.at(std::size_t(index)).offset);
    Record record;
    if (!records.next(record) || record.type != rec::kBof)
        damaged(QStringLiteral("工作表的起始记录缺失"));

    SheetRecords sheet(tables_, sink);
    int depth = 0;  // embedded charts bring their own BOF..EOF
    while (records.next(record)) {
        if (record.type == rec::kBof) {
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
