#include "export/NarrowPath.h"

#include <QDir>
#include <QFile>

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace kq {

namespace {

// The bytes, when they name the same path once read back.
QByteArray spelled(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return QFile::decodeName(bytes) == path ? bytes : QByteArray();
}

}  // namespace

QByteArray narrowPath(const QString& existing) {
    const QString native = QDir::toNativeSeparators(existing);
    if (QByteArray bytes = spelled(native); !bytes.isEmpty()) return bytes;
#ifdef _WIN32
    const std::wstring wide = native.toStdWString();
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::wstring shortName(needed, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), shortName.data(), needed);
    if (length == 0 || length >= needed) return {};
    shortName.resize(length);
    return spelled(QString::fromStdWString(shortName));
#else
    return {};
#endif
}

}  // namespace kq
