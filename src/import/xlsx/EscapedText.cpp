#include "import/xlsx/EscapedText.h"

#include <cstring>

namespace kq::xlsx {
namespace {

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    return -1;
}

// The character of an escape starting at `at`, or -1 when none starts there.
int escapeAt(const QString& text, qsizetype at) {
    if (at + 7 > text.size() || text[at + 1] != u'x' || text[at + 6] != u'_') return -1;
    int code = 0;
    for (qsizetype k = at + 2; k < at + 6; ++k) {
        const int d = hexDigit(text[k]);
        if (d < 0) return -1;
        code = code * 16 + d;
    }
    return code;
}

}  // namespace

QString decodeEscapes(QString text) {
    qsizetype at = text.indexOf(u'_');
    if (at < 0) return text;
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    for (; at >= 0; at = text.indexOf(u'_', at)) {
        const int code = escapeAt(text, at);
        if (code < 0) {
            ++at;
            continue;
        }
        out += QStringView(text).mid(copied, at - copied);
        out += QChar(char16_t(code));
        at += 7;
        copied = at;
    }
    out += QStringView(text).mid(copied);
    return out;
}

void appendXmlLineEnds(std::string& out, const char* p, std::size_t n) {
    while (n > 0) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', n));
        if (!cr) {
            out.append(p, n);
            return;
        }
        const std::size_t before = std::size_t(cr - p);
        out.append(p, before);
        out += '\n';
        std::size_t skip = before + 1;
        if (skip < n && p[skip] == '\n') ++skip;
        p += skip;
        n -= skip;
    }
}

}  // namespace kq::xlsx
