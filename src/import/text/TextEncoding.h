#pragma once

#include <QByteArray>
#include <QString>

// The encodings a text or web-page workbook comes in: what clock programs
// and web systems in China write.
namespace kq::text {

enum class Charset { Unknown, Utf8, Gb18030 };

// A file of text rather than binary records: a UTF-16 byte order mark, or
// no NUL byte among the first 4 KB.
bool looksLikeText(const QByteArray& bytes);

// The bytes as UTF-8 without a byte order mark. A BOM decides the encoding,
// else `declared`, else UTF-8 when the bytes are valid UTF-8, else GB18030
// (which GBK and GB2312 are subsets of).
QByteArray toUtf8(const QByteArray& bytes, Charset declared = Charset::Unknown);

// GB18030 to UTF-16: Qt's ICU-backed decoder, or on Windows, whose Qt has no
// ICU, the system's own code page 54936.
QString fromGb18030(QByteArrayView bytes);

}  // namespace kq::text
