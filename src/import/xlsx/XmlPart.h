#pragma once

#include <QXmlStreamReader>
#include <memory>

namespace kq::xlsx {

class ZipArchive;
class ZipPart;

// No part of a workbook the clerk keeps comes near this; a zip bomb does.
inline constexpr qint64 kPartLimit = qint64(1) << 30;

// One XML part of the package, read as a stream of tokens straight from
// the archive. Malformed XML, a broken or oversized part: damaged.
class XmlPart {
  public:
    XmlPart(const ZipArchive& zip, const QString& name);
    ~XmlPart();

    // The next token; false at the end of the document.
    bool next();
    bool isStart(QStringView localName) const {
        return reader_.isStartElement() && reader_.name() == localName;
    }
    bool isEnd(QStringView localName) const {
        return reader_.isEndElement() && reader_.name() == localName;
    }
    // The text of the element just started (checked like every token).
    QString elementText();
    QXmlStreamReader& reader() { return reader_; }

  private:
    void check();

    QString name_;
    std::unique_ptr<ZipPart> device_;
    QXmlStreamReader reader_;
};

// The text of a shared or inline string up to the end of element `end`:
// the <t> texts of its runs joined, phonetic guides (<rPh>) left out.
QString readRichText(XmlPart& xml, QStringView end);

}  // namespace kq::xlsx
