#include "support/HostPython.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kq::test {
namespace {

#ifdef _WIN32
using UnixFileName = char*(__cdecl*)(const wchar_t*);

// Wine's own kernel32 export; absent on a real Windows.
UnixFileName wineUnixFileName() {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return nullptr;
    const FARPROC proc = GetProcAddress(kernel, "wine_get_unix_file_name");
    return reinterpret_cast<UnixFileName>(reinterpret_cast<void (*)()>(proc));
}
#endif

}  // namespace

QString hostPath(const QString& path) {
#ifdef _WIN32
    const UnixFileName convert = wineUnixFileName();
    if (!convert) return path;
    const std::wstring native =
        QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
    char* unixName = convert(native.c_str());
    if (!unixName) return path;
    const QString result = QString::fromUtf8(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    return result;
#else
    return path;
#endif
}

QString hostPythonMissing() {
#ifdef _WIN32
    if (!wineUnixFileName())
        return QStringLiteral(
            "the read-back checker is Debian's python3 with openpyxl: Linux or Wine only");
#endif
    return {};
}

QByteArray runHostPython(const QStringList& arguments) {
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"), arguments);
    EXPECT_TRUE(py.waitForFinished(60000));
    EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    return py.readAllStandardOutput();
}

}  // namespace kq::test
