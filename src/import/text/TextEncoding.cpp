#include "import/text/TextEncoding.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "import/workbook/CodePage.h"

namespace kq::text {
namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LeBom("\xFF\xFE", 2);
const QByteArray kUtf16BeBom("\xFE\xFF", 2);

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates,
// nothing past U+10FFFF. Runs of ASCII, most of any page, go eight at a time.
bool isValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        if (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (!(word & 0x8080808080808080ULL)) {
                p += 8;
                continue;
            }
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;  // the allowed second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high) return false;
        for (int i = 2; i < length; ++i)
            if ((p[i] & 0xC0) != 0x80) return false;
        p += length;
    }
    return true;
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
