#include "import/xlsx/SheetXml.h"

#include <QDateTime>

#include "import/workbook/FormatProblem.h"
#include "import/workbook/RowAssembler.h"
#include "import/xlsx/XmlPart.h"

namespace kq::xlsx {
namespace {

// "AB12" -> 27; -1 when the reference does not start with a letter.
int columnOf(QStringView ref) {
    int column = 0;
    int letters = 0;
    for (const QChar c : ref) {
        if (c >= u'A' && c <= u'Z') {
            column = column * 26 + (c.unicode() - u'A' + 1);
        } else if (c >= u'a' && c <= u'z') {
            column = column * 26 + (c.unicode() - u'a' + 1);
        } else {
            break;
        }
        if (++letters > 3) return 1 << 20;  // past any sheet
    }
    return letters == 0 ? -1 : column - 1;
}

struct RawCell {
    QStringView type;
    int style = 0;
    bool hasValue = false;
    QString value;  // <v>, or the text of <is>
};

Cell textCell(QString text) {
    Cell cell;
    if (!text.isEmpty()) {
        cell.type = Cell::Type::Text;
        cell.text = std::move(text);
    }
    return cell;
}

Cell makeCell(RawCell& raw, const SheetContext& context) {
    if (!raw.hasValue) return {};
    if (raw.type == u"s") {
        bool ok = false;
        const qulonglong at = raw.value.toULongLong(&ok);
        if (!ok || at >= context.sharedStrings.size())
            damaged(QStringLiteral("共享字符串编号超出范围"));
        return textCell(context.sharedStrings[std::size_t(at)]);
    }
    if (raw.type == u"str" || raw.type == u"inlineStr") return textCell(std::move(raw.value));
    if (raw.type == u"b") {
        Cell cell;
        cell.type = Cell::Type::Boolean;
        cell.number = (raw.value == u"1" || raw.value == u"true") ? 1 : 0;
        return cell;
    }
    if (raw.type == u"e") {
        Cell cell;
        cell.type = Cell::Type::Error;
        cell.text = std::move(raw.value);
        return cell;
    }
    const numfmt::Kind kind = raw.style >= 0 && std::size_t(raw.style) < context.styleKinds.size()
                                  ? context.styleKinds[std::size_t(raw.style)]
                                  : numfmt::Kind::Number;
    if (raw.type == u"d") {
        // An ISO 8601 date and time; day counts from 1900-03-01 on agree
        // with the 1900 serial numbers.
        const QDateTime when = QDateTime::fromString(raw.value, Qt::ISODateWithMs);
        if (!when.isValid()) damaged(QStringLiteral("日期“%1”无效").arg(raw.value));
        const double ole = QDate(1899, 12, 30).daysTo(when.date()) +
                           when.time().msecsSinceStartOfDay() / 86400000.0;
        return numfmt::numberCell(ole, kind == numfmt::Kind::Number ? numfmt::Kind::DateTime : kind,
                                  false);
    }
    if (raw.value.isEmpty()) return {};
    bool ok = false;
    const double v = raw.value.toDouble(&ok);
    if (!ok) damaged(QStringLiteral("数值“%1”无效").arg(raw.value.left(20)));
    return numfmt::numberCell(v, kind, context.date1904);
}

}  // namespace

void readSheetXml(XmlPart& xml, const SheetContext& context, const RowSink& sink) {
    RowAssembler rows(sink, kXlsxMaxRows, kXlsxMaxColumns);
    int row = -1;
    int column = -1;
    QString type;
    while (xml.next()) {
        if (!xml.reader().isStartElement()) continue;
        const QStringView name = xml.reader().name();
        if (name == u"dimension") {
            // "A1:D20": a sheet that claims more than the format holds is
            // not a sound file, though nothing is sized by the claim.
            const QStringView ref = xml.reader().attributes().value(QLatin1String("ref"));
            const QStringView last = ref.mid(ref.indexOf(u':') + 1);
            const int lastColumn = columnOf(last);
            qsizetype digits = 0;
            while (digits < last.size() && !last[digits].isDigit()) ++digits;
            const qlonglong lastRow = last.mid(digits).toLongLong();
            if (lastColumn >= kXlsxMaxColumns || lastRow > kXlsxMaxRows)
                damaged(QStringLiteral("工作表声称的范围 %1 超出 %2 行 × %3 列")
                            .arg(ref.left(40))
                            .arg(kXlsxMaxRows)
                            .arg(kXlsxMaxColumns));
        } else if (name == u"row") {
            const QStringView r = xml.reader().attributes().value(QLatin1String("r"));
            if (r.isEmpty()) {
                ++row;
            } else {
                bool ok = false;
                row = r.toInt(&ok) - 1;
                if (!ok || row < 0) damaged(QStringLiteral("行号“%1”无效").arg(r.left(20)));
            }
            column = -1;
        } else if (name == u"c") {
            if (row < 0) row = 0;
            RawCell raw;
            const QXmlStreamAttributes attributes = xml.reader().attributes();
            const QStringView ref = attributes.value(QLatin1String("r"));
            if (ref.isEmpty()) {
                ++column;
            } else {
                column = columnOf(ref);
                if (column < 0) damaged(QStringLiteral("单元格位置“%1”无效").arg(ref.left(20)));
            }
            type = attributes.value(QLatin1String("t")).toString();
            raw.type = type;
            raw.style = attributes.value(QLatin1String("s")).toInt();
            while (xml.next() && !xml.isEnd(u"c")) {
                if (xml.isStart(u"v")) {
                    raw.value = xml.elementText();
                    raw.hasValue = true;
                } else if (xml.isStart(u"is")) {
                    raw.value = readRichText(xml, u"is");
                    raw.hasValue = true;
                }
            }
            rows.put(row, column, makeCell(raw, context));
        }
    }
    rows.finish();
}

}  // namespace kq::xlsx
