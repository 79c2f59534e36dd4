#include "support/HostPython.h"

#include <gtest/gtest.h>

#include <QProcess>

#ifdef _WIN32
#include <windows.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#endif

namespace kq::test {

namespace {

constexpr int kTimeoutMs = 60000;

#ifdef _WIN32

// Wine's own exports for moving between its drive letters and Unix paths;
// they are absent on Windows itself, which is how Wine is told apart.
struct Wine {
    using UnixName = char*(CDECL*)(LPCWSTR);
    using DosName = WCHAR*(CDECL*)(const char*);
    UnixName unixName = nullptr;
    DosName dosName = nullptr;

    Wine() {
        if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
            unixName = reinterpret_cast<UnixName>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
            dosName = reinterpret_cast<DosName>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
        }
    }
    bool present() const { return unixName && dosName; }

    QString toUnix(const QString& path) const {
        char* name = unixName(reinterpret_cast<LPCWSTR>(path.utf16()));
        if (!name) return {};
        QString out = QString::fromUtf8(name);  // Wine names Unix files in UTF-8
        HeapFree(GetProcessHeap(), 0, name);
        return out;
    }
    QString toDos(const QByteArray& path) const {
        WCHAR* name = dosName(path.constData());
        if (!name) return {};
        QString out = QString::fromWCharArray(name);
        HeapFree(GetProcessHeap(), 0, name);
        return out;
    }
};

const Wine& wine() {
    static const Wine instance;
    return instance;
}

QString pythonProgram() { return wine().present() ? wine().toDos("/usr/bin/python3") : QString(); }

// Wine starts a Unix program without a process handle or pipes for the
// caller, so python3 leaves its output in files and announces the end by
// renaming the status file into place.
constexpr const char* kRelay = R"(import os, subprocess, sys, traceback
status, out = sys.argv[1], sys.argv[2]
code, err = 1, b''
try:
    r = subprocess.run(['/usr/bin/python3'] + sys.argv[3:], capture_output=True)
    open(out, 'wb').write(r.stdout)
    code, err = r.returncode, r.stderr
except Exception:
    err = traceback.format_exc().encode()
finally:
    open(out + '.err', 'wb').write(err)
    open(status + '.part', 'w').write(str(code))
    os.replace(status + '.part', status)
)";

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray runUnderWine(const QStringList& arguments) {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        ADD_FAILURE() << "no temporary folder for python3's output";
        return {};
    }
    const QString status = dir.filePath(QStringLiteral("status"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QStringList relayed = {QStringLiteral("-c"), QString::fromLatin1(kRelay), hostPath(status),
                           hostPath(out)};
    relayed += arguments;
    if (!QProcess::startDetached(pythonProgram(), relayed)) {
        ADD_FAILURE() << "Wine did not start python3";
        return {};
    }
    QDeadlineTimer deadline(kTimeoutMs);
    while (!QFileInfo::exists(status) && !deadline.hasExpired()) QThread::msleep(20);
    if (!QFileInfo::exists(status)) {
        ADD_FAILURE() << "python3 did not finish within " << kTimeoutMs / 1000 << " s";
        return {};
    }
    EXPECT_EQ(readAll(status).trimmed(), "0")
        << readAll(out + QStringLiteral(".err")).toStdString();
    return readAll(out);
}

#endif

}  // namespace

QString hostPythonMissing() {
#ifdef _WIN32
    if (!wine().present())
        return QStringLiteral(
            "the read-back checker is Debian's python3, reachable from a Windows program "
            "only under Wine");
    if (!QFileInfo::exists(pythonProgram()))
        return QStringLiteral("Wine's host has no /usr/bin/python3");
#endif
    return {};
}

QString hostPath(const QString& path) {
#ifdef _WIN32
    if (wine().present()) return wine().toUnix(path);
#endif
    return path;
}

QByteArray runHostPython(const QStringList& arguments) {
#ifdef _WIN32
    return runUnderWine(arguments);
#else
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"), arguments);
    EXPECT_TRUE(py.waitForFinished(kTimeoutMs));
    EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    return py.readAllStandardOutput();
#endif
}

}  // namespace kq::test
