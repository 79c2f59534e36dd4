#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kq::test {

// The read-back checks run Debian's python3 with openpyxl or xlrd,
// implementations that share no code with the program. A Windows build of
// the tests reaches it only under Wine, which starts Unix programs too.

// Why the checker cannot run here; empty when it can.
QString hostPythonMissing();

// The path python3 must be given for a file of ours: under Wine the Unix
// name of a Windows path, elsewhere the path itself.
QString hostPath(const QString& path);

// Runs python3 with the arguments; its standard output, with a test failure
// when it did not end well.
QByteArray runHostPython(const QStringList& arguments);

}  // namespace kq::test
