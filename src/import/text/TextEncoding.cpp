#include "import/text/TextEncoding.h"

#include <QStringDecoder>
#include <algorithm>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#endif

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
#ifdef _WIN32
    if (bytes.isEmpty()) return {};
    if (bytes.size() > std::numeric_limits<int>::max() / 2) return {};
    // 54936 is GB18030; older systems know only GBK (936).
    for (const UINT codePage : {54936u, 936u}) {
        const int length =
            MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
        if (length <= 0) continue;
        QString out(length, Qt::Uninitialized);
        MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()),
                            reinterpret_cast<wchar_t*>(out.data()), length);
        return out;
    }
    return QString::fromLatin1(bytes);
#else
    QStringDecoder decoder("GB18030");
    if (!decoder.isValid()) return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
#endif
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
