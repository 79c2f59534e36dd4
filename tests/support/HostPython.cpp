#include "support/HostPython.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace kq::test {

QString hostPythonMissing() {
#ifdef _WIN32
    // Wine runs Windows programs only: Debian's python3 cannot be started
    // from a Windows build, whatever its path.
    return QStringLiteral(
        "the read-back checker is Debian's python3 with openpyxl, which a Windows program "
        "cannot start");
#else
    return {};
#endif
}

QByteArray runHostPython(const QStringList& arguments) {
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"), arguments);
    EXPECT_TRUE(py.waitForFinished(60000));
    EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    return py.readAllStandardOutput();
}

}  // namespace kq::test
