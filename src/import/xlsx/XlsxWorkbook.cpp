#include "import/xlsx/XlsxWorkbook.h"

#include <QXmlStreamReader>
#include <map>

#include "import/workbook/FormatProblem.h"
#include "import/xlsx/ReadAhead.h"
#include "import/xlsx/SheetXml.h"
#include "import/xlsx/XmlPart.h"
#include "import/xlsx/ZipArchive.h"

namespace kq {

using namespace xlsx;

namespace {

struct Relationship {
    QString type;
    QString target;  // the part's name in the archive
};

// "word/_rels/document.xml.rels" beside "word/document.xml".
QString relsOf(const QString& part) {
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) +
           QStringLiteral(".rels");
}

// A target is relative to the folder of the part that names it, or absolute.
QString resolve(const QString& fromPart, const QString& target) {
    QString path = target.startsWith(QLatin1Char('/'))
                       ? target.mid(1)
                       : fromPart.left(fromPart.lastIndexOf(QLatin1Char('/')) + 1) + target;
    QStringList out;
    for (const QString& piece : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (piece == QLatin1String("..")) {
            if (!out.isEmpty()) out.removeLast();
        } else if (piece != QLatin1String(".")) {
            out << piece;
        }
    }
    return out.join(QLatin1Char('/'));
}

std::map<QString, Relationship> readRelationships(const ZipArchive& zip, const QString& ofPart) {
    std::map<QString, Relationship> rels;
    const QString name = relsOf(ofPart);
    if (!zip.contains(name)) return rels;
    XmlPart xml(zip, name);
    while (xml.next()) {
        if (xml.isStart(u"Relationship")) {
            const auto a = xml.reader().attributes();
            rels[a.value(QLatin1String("Id")).toString()] = {
                a.value(QLatin1String("Type")).toString(),
                resolve(ofPart, a.value(QLatin1String("Target")).toString())};
        }
    }
    return rels;
}

bool endsWithType(const QString& type, QStringView what) {
    return type.endsWith(QLatin1Char('/') + what.toString());
}

}  // namespace

XlsxWorkbook::XlsxWorkbook(const QByteArray& file) : zip_(std::make_unique<ZipArchive>(file)) {
    QString workbookPart;
    for (const auto& [id, rel] : readRelationships(*zip_, QString()))
        if (endsWithType(rel.type, u"officeDocument")) workbookPart = rel.target;
    if (workbookPart.isEmpty() && zip_->contains(QStringLiteral("xl/workbook.xml")))
        workbookPart = QStringLiteral("xl/workbook.xml");
    if (workbookPart.endsWith(QLatin1String(".bin")) ||
        zip_->contains(QStringLiteral("xl/workbook.bin")))
        throw FormatProblem(FormatProblem::Kind::BinaryWorkbook);
    if (workbookPart.isEmpty() || !zip_->contains(workbookPart)) {
        if (zip_->contains(QStringLiteral("EncryptedPackage")))
            throw FormatProblem(FormatProblem::Kind::Encrypted);
        throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
    }
    readWorkbook(workbookPart);
}

XlsxWorkbook::~XlsxWorkbook() = default;

QStringList XlsxWorkbook::sheetNames() const {
    QStringList names;
    for (const SheetEntry& s : sheets_) names << s.name;
    return names;
}

void XlsxWorkbook::readWorkbook(const QString& workbookPart) {
    const auto rels = readRelationships(*zip_, workbookPart);
    {
        XmlPart xml(*zip_, workbookPart);
        // Extensions reuse the main element names in their own namespaces
        // (x15:workbookPr); only the workbook's own namespace counts.
        QString ownNamespace;
        bool rootSeen = false;
        while (xml.next()) {
            if (!xml.reader().isStartElement()) continue;
            if (!rootSeen) {
                ownNamespace = xml.reader().namespaceUri().toString();
                rootSeen = true;
            }
            if (xml.reader().namespaceUri() != ownNamespace) continue;
            if (xml.isStart(u"workbookPr")) {
                const QStringView v = xml.reader().attributes().value(QLatin1String("date1904"));
                date1904_ = v == u"1" || v == u"true";
            } else if (xml.isStart(u"sheet")) {
                SheetEntry sheet;
                QString id;
                for (const QXmlStreamAttribute& a : xml.reader().attributes()) {
                    if (a.name() == u"name") sheet.name = a.value().toString();
                    if (a.name() == u"id" && !a.namespaceUri().isEmpty()) id = a.value().toString();
                }
                if (id.isEmpty()) {
                    withoutContent_ << sheet.name;
                    continue;
                }
                const auto rel = rels.find(id);
                if (rel == rels.end())
                    damaged(QStringLiteral("工作表“%1”的部件缺失").arg(sheet.name));
                if (!endsWithType(rel->second.type, u"worksheet")) continue;  // a chart sheet
                sheet.part = rel->second.target;
                sheets_.push_back(std::move(sheet));
            }
        }
    }
    for (const auto& [id, rel] : rels) {
        if (endsWithType(rel.type, u"sharedStrings") && zip_->contains(rel.target))
            readSharedStrings(rel.target);
        if (endsWithType(rel.type, u"styles") && zip_->contains(rel.target)) readStyles(rel.target);
    }
}

void XlsxWorkbook::readSharedStrings(const QString& part) {
    XmlPart xml(*zip_, part);
    while (xml.next()) {
        if (!xml.isStart(u"si")) continue;
        sst_.push_back(readRichText(xml, u"si"));
    }
}

void XlsxWorkbook::readStyles(const QString& part) {
    std::map<int, numfmt::Kind> formats;
    XmlPart xml(*zip_, part);
    bool inCellXfs = false;
    while (xml.next()) {
        if (xml.isStart(u"numFmt")) {
            const auto a = xml.reader().attributes();
            formats[a.value(QLatin1String("numFmtId")).toInt()] =
                numfmt::kindOf(a.value(QLatin1String("formatCode")));
        } else if (xml.isStart(u"cellXfs")) {
            inCellXfs = true;
        } else if (xml.isEnd(u"cellXfs")) {
            inCellXfs = false;
        } else if (inCellXfs && xml.isStart(u"xf")) {
            const int id = xml.reader().attributes().value(QLatin1String("numFmtId")).toInt();
            const auto custom = formats.find(id);
            xfKinds_.push_back(custom != formats.end() ? custom->second : numfmt::builtInKind(id));
        }
    }
}

void XlsxWorkbook::readSheet(int index, const RowSink& sink) {
    const QString& part = sheets_.at(std::size_t(index)).part;
    ReadAhead device(zip_->open(part, kPartLimit));
    readSheetXml(device, part, SheetContext{sst_, xfKinds_, date1904_}, sink);
}

}  // namespace kq
