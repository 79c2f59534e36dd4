#include "import/text/TextEncoding.h"

#include <QStringDecoder>
#include <algorithm>

#include "import/workbook/CodePage.h"

namespace kq::text {
namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LeBom("\xFF\xFE", 2);
const QByteArray kUtf16BeBom("\xFE\xFF", 2);

bool isValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // Decoding into a throwaway string is Qt's one public validity check.
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

QByteArray fromUtf16(QByteArrayView bytes, QStringDecoder::Encoding encoding) {
    QStringDecoder decoder(encoding);
    return QString(decoder.decode(bytes)).toUtf8();
}

}  // namespace

bool looksLikeText(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf16LeBom) || bytes.startsWith(kUtf16BeBom)) return true;
    return !QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 4096)).contains('\0');
}

QString fromGb18030(QByteArrayView bytes) {
    return decodeCodePage(std::string_view(bytes.data(), std::size_t(bytes.size())), 54936);
}

QByteArray toUtf8(const QByteArray& bytes, Charset declared) {
    if (bytes.startsWith(kUtf8Bom)) return bytes.mid(kUtf8Bom.size());
    if (bytes.startsWith(kUtf16LeBom))
        return fromUtf16(QByteArrayView(bytes).sliced(2), QStringDecoder::Utf16LE);
    if (bytes.startsWith(kUtf16BeBom))
        return fromUtf16(QByteArrayView(bytes).sliced(2), QStringDecoder::Utf16BE);
    if (declared == Charset::Gb18030 || (declared == Charset::Unknown && !isValidUtf8(bytes)))
        return fromGb18030(bytes).toUtf8();
    // Declared UTF-8 that is not: each bad byte becomes U+FFFD, as a browser shows it.
    if (declared == Charset::Utf8 && !isValidUtf8(bytes)) return QString::fromUtf8(bytes).toUtf8();
    return bytes;
}

}  // namespace kq::text
