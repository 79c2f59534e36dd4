#include "import/xlsx/SheetXml.h"

#include <QDateTime>
#include <charconv>
#include <cstdint>

#include "import/workbook/FormatProblem.h"
#include "import/workbook/RowAssembler.h"
#include "import/xlsx/EscapedText.h"
#include "import/xlsx/XmlScanner.h"

namespace kq::xlsx {
namespace {

// "AB12" -> 27; -1 when the reference does not start with a letter.
int columnOf(std::string_view ref) {
    int column = 0;
    int letters = 0;
    for (const char c : ref) {
        if (c >= 'A' && c <= 'Z') {
            column = column * 26 + (c - 'A' + 1);
        } else if (c >= 'a' && c <= 'z') {
            column = column * 26 + (c - 'a' + 1);
        } else {
            break;
        }
        if (++letters > 3) return 1 << 20;  // past any sheet
    }
    return letters == 0 ? -1 : column - 1;
}

// A row number ("12" in "AB12", or a row's r): 1-based; -1 when there is
// none, INT_MAX-ish when it is out of any range.
long long rowOf(std::string_view ref) {
    std::size_t i = 0;
    while (i < ref.size() && !(ref[i] >= '0' && ref[i] <= '9')) ++i;
    if (i == ref.size()) return -1;
    long long row = 0;
    for (; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9') return -1;
        row = row * 10 + (ref[i] - '0');
        if (row > (1LL << 40)) return 1LL << 40;
    }
    return row;
}

QString shown(std::string_view raw) {
    return QString::fromUtf8(raw.data(), qsizetype(std::min<std::size_t>(raw.size(), 20)));
}

struct RawCell {
    std::string type;  // "s", "str", "inlineStr", "b", "e", "d", "n" or none
    int style = 0;
    bool hasValue = false;
    std::string value;   // <v> as UTF-8, or the text of <is>
    QString inlineText;  // the text of <is>, when that came last
    bool inlineValue = false;

    void clear() {
        type.clear();
        style = 0;
        hasValue = inlineValue = false;
        value.clear();
        inlineText.clear();
    }

    QString text() const { return QString::fromUtf8(value.data(), qsizetype(value.size())); }
};

std::string_view trimmed(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    return s;
}

// A number as Excel writes it ("45292", "0.3381944444444445", "1E-3"),
// parsed from the bytes; anything else as QString reads it.
bool parseNumber(std::string_view raw, double& v, const RawCell& cell) {
    const std::string_view s = trimmed(raw);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (error == std::errc() && end == s.data() + s.size() && !s.empty()) return true;
    bool ok = false;
    v = cell.text().toDouble(&ok);
    return ok;
}

Cell makeCell(RawCell& raw, const SheetContext& context) {
    if (!raw.hasValue) return {};
    if (raw.inlineValue && raw.type != "inlineStr") raw.value = raw.inlineText.toStdString();
    if (raw.type == "s") {
        if (raw.value.empty()) return {};  // <v/>: nothing was stored
        const std::string_view s = trimmed(raw.value);
        std::uint64_t at = 0;
        const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), at);
        if (error != std::errc() || end != s.data() + s.size() || s.empty() ||
            at >= context.sharedStrings.size())
            damaged(QStringLiteral("共享字符串编号超出范围"));
        return textCell(context.sharedStrings[std::size_t(at)]);
    }
    if (raw.type == "str") return textCell(decodeEscapes(raw.text()));
    if (raw.type == "inlineStr")
        return textCell(raw.inlineValue ? std::move(raw.inlineText) : raw.text());
    if (raw.type == "b") {
        Cell cell;
        cell.type = Cell::Type::Boolean;
        cell.number = (raw.value == "1" || raw.value == "true") ? 1 : 0;
        return cell;
    }
    if (raw.type == "e") {
        Cell cell;
        cell.type = Cell::Type::Error;
        cell.text = raw.text();
        return cell;
    }
    const numfmt::Kind kind = raw.style >= 0 && std::size_t(raw.style) < context.styleKinds.size()
                                  ? context.styleKinds[std::size_t(raw.style)]
                                  : numfmt::Kind::Number;
    if (raw.type == "d") {
        // An ISO 8601 date and time, or a time of day alone ("10:30:00");
        // day counts from 1900-03-01 on agree with the 1900 serial numbers.
        const QString value = raw.text();
        const QDateTime when = QDateTime::fromString(value, Qt::ISODateWithMs);
        if (when.isValid()) {
            const double ole = QDate(1899, 12, 30).daysTo(when.date()) +
                               when.time().msecsSinceStartOfDay() / 86400000.0;
            return numfmt::numberCell(
                ole, kind == numfmt::Kind::Number ? numfmt::Kind::DateTime : kind, false);
        }
        const QTime time = QTime::fromString(value, Qt::ISODateWithMs);
        if (!time.isValid()) damaged(QStringLiteral("日期“%1”无效").arg(value.left(20)));
        return numfmt::numberCell(time.msecsSinceStartOfDay() / 86400000.0,
                                  kind == numfmt::Kind::Number ? numfmt::Kind::Time : kind, false);
    }
    if (raw.value.empty()) return {};
    double v = 0;
    if (!parseNumber(raw.value, v, raw))
        damaged(QStringLiteral("数值“%1”无效").arg(raw.text().left(20)));
    return numfmt::numberCell(v, kind, context.date1904);
}

// The text of an inline string up to </is>: its runs' <t> joined,
// phonetic guides left out.
QString inlineText(XmlScanner& xml) {
    QString text;
    int phonetic = 0;
    for (;;) {
        switch (xml.next()) {
            case XmlScanner::Token::EndOfDocument:
                damaged(QStringLiteral("内嵌字符串不完整"));
            case XmlScanner::Token::End:
                if (xml.name() == "is") return decodeEscapes(std::move(text));
                if (xml.name() == "rPh") --phonetic;
                break;
            case XmlScanner::Token::Start:
                if (xml.name() == "rPh" && !xml.selfClosing()) ++phonetic;
                if (xml.name() == "t") {
                    const QString run = xml.elementText();
                    if (phonetic == 0) text += run;
                }
                break;
        }
    }
}

}  // namespace

void readSheetXml(QIODevice& part, const QString& partName, const SheetContext& context,
                  const RowSink& sink) {
    XmlScanner xml(part, partName);
    RowAssembler rows(sink, kXlsxMaxRows, kXlsxMaxColumns);
    int row = -1;
    int column = -1;
    RawCell raw;  // one for all cells: its buffers are reused
    for (;;) {
        const XmlScanner::Token token = xml.next();
        if (token == XmlScanner::Token::EndOfDocument) break;
        if (token == XmlScanner::Token::End) {
            if (xml.name() == "sheetData") break;  // nothing after it is data
            continue;
        }
        const std::string_view name = xml.name();
        if (name == "dimension") {
            // "A1:D20": a sheet that claims more than the format holds is
            // not a sound file, though nothing is sized by the claim.
            const std::string_view ref = xml.attribute("ref");
            const std::string_view last = ref.substr(ref.find(':') + 1);
            if (columnOf(last) >= kXlsxMaxColumns || rowOf(last) > kXlsxMaxRows)
                damaged(QStringLiteral("工作表声称的范围 %1 超出 %2 行 × %3 列")
                            .arg(QString::fromUtf8(
                                ref.data(), qsizetype(std::min<std::size_t>(ref.size(), 40))))
                            .arg(kXlsxMaxRows)
                            .arg(kXlsxMaxColumns));
        } else if (name == "row") {
            const std::string_view r = xml.attribute("r");
            if (r.empty()) {
                ++row;
            } else {
                const long long number = rowOf(r);
                if (number < 1 || r[0] < '0' || r[0] > '9')
                    damaged(QStringLiteral("行号“%1”无效").arg(shown(r)));
                row = int(std::min<long long>(number - 1, kXlsxMaxRows));
            }
            column = -1;
        } else if (name == "c") {
            if (row < 0) row = 0;
            const std::string_view ref = xml.attribute("r");
            if (ref.empty()) {
                ++column;
            } else {
                column = columnOf(ref);
                if (column < 0) damaged(QStringLiteral("单元格位置“%1”无效").arg(shown(ref)));
            }
            raw.clear();
            raw.type = xml.attribute("t");
            const std::string_view style = xml.attribute("s");
            for (const char c : style) {
                if (c < '0' || c > '9' || raw.style > (1 << 24)) {
                    raw.style = -1;
                    break;
                }
                raw.style = raw.style * 10 + (c - '0');
            }
            if (!xml.selfClosing()) {
                for (;;) {
                    const XmlScanner::Token inner = xml.next();
                    if (inner == XmlScanner::Token::EndOfDocument)
                        damaged(QStringLiteral("单元格不完整"));
                    if (inner == XmlScanner::Token::End && xml.name() == "c") break;
                    if (xml.isStart("v")) {
                        raw.value = xml.elementBytes();
                        raw.hasValue = true;
                        raw.inlineValue = false;
                    } else if (xml.isStart("is") && !xml.selfClosing()) {
                        raw.inlineText = inlineText(xml);
                        raw.value
                            .clear();  // made from the text if a type other than inlineStr asks
                        raw.hasValue = raw.inlineValue = true;
                    }
                }
            }
            rows.put(row, column, makeCell(raw, context));
        }
    }
    rows.finish();
}

}  // namespace kq::xlsx
