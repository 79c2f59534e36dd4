#include "import/workbook/CodePage.h"

#ifdef _WIN32
#include <windows.h>

#include <limits>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace kq {
namespace {

// The code page a workbook names, as Windows numbers them; the Macintosh
// and "ANSI" marks of the oldest files mapped to theirs.
int windowsCodePage(int codePage) {
    switch (codePage) {
        case 0x8000:
            return 10000;  // Apple Roman
        case 0x8001:
        case 367:  // US-ASCII
            return 1252;
    }
    return codePage;
}

bool isAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

#ifdef _WIN32

QString decodeCodePage(std::string_view bytes, int codePage) {
    if (bytes.empty()) return {};
    if (isAscii(bytes)) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    if (bytes.size() > std::size_t(std::numeric_limits<int>::max() / 2))
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    const UINT wanted = UINT(windowsCodePage(codePage));
    const int size = int(bytes.size());
    // Older systems know GB18030 (54936) only as its GBK part (936).
    for (const UINT cp : {wanted, wanted == 54936u ? 936u : wanted}) {
        const int wide = MultiByteToWideChar(cp, 0, bytes.data(), size, nullptr, 0);
        if (wide <= 0) continue;
        QString text(wide, Qt::Uninitialized);
        MultiByteToWideChar(cp, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()),
                            wide);
        return text;
    }
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

#else

QString decodeCodePage(std::string_view bytes, int codePage) {
    if (bytes.empty()) return {};
    if (isAscii(bytes)) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    const int cp = windowsCodePage(codePage);
    const QByteArray name = cp == 10000   ? QByteArray("MACINTOSH")
                            : cp == 54936 ? QByteArray("GB18030")
                                          : "CP" + QByteArray::number(cp);
    iconv_t converter = iconv_open("UTF-16LE", name.constData());
    // A code page the C library does not know: its bytes as Latin-1, so the
    // text is still there to see and correct.
    if (converter == iconv_t(-1)) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));

    QString text;
    text.reserve(qsizetype(bytes.size()));
    char16_t buffer[256];
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(buffer);
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
        text.append(reinterpret_cast<const QChar*>(buffer),
                    qsizetype((sizeof buffer - outLeft) / sizeof(char16_t)));
        if (done == std::size_t(-1) && errno != E2BIG) {
            // An unmappable or cut-off sequence: one mark for its first byte.
            text.append(QChar(QChar::ReplacementCharacter));
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(converter);
    return text;
}

#endif

}  // namespace kq
