#include "import/xlsx/XmlPart.h"

#include "import/workbook/FormatProblem.h"
#include "import/xlsx/EscapedText.h"
#include "import/xlsx/ZipArchive.h"

namespace kq::xlsx {

XmlPart::XmlPart(const ZipArchive& zip, const QString& name)
    : name_(name), device_(zip.open(name, kPartLimit)), reader_(device_.get()) {}

XmlPart::~XmlPart() = default;

void XmlPart::check() {
    if (!reader_.hasError()) return;
    if (!device_->failure().isEmpty()) damaged(device_->failure());
    damaged(
        QStringLiteral("%1 的内容不完整或有误（第 %2 行）").arg(name_).arg(reader_.lineNumber()));
}

bool XmlPart::next() {
    const auto token = reader_.readNext();
    check();
    return token != QXmlStreamReader::EndDocument;
}

QString XmlPart::elementText() {
    QString text = reader_.readElementText();
    check();
    return text;
}

QString readRichText(XmlPart& xml, QStringView end) {
    QString text;
    int phonetic = 0;
    while (xml.next()) {
        if (xml.isStart(u"rPh")) {
            ++phonetic;
        } else if (xml.isEnd(u"rPh")) {
            --phonetic;
        } else if (xml.isStart(u"t")) {
            const QString run = xml.elementText();
            if (phonetic == 0) text += run;
        } else if (xml.isEnd(end)) {
            break;
        }
    }
    return decodeEscapes(std::move(text));
}

}  // namespace kq::xlsx
