#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kq::test {

// The read-back checks run Debian's python3 with openpyxl, an implementation
// that shares no code with the program. A Windows build reaches it through
// Wine, which starts Unix programs but would hand them the Windows names of
// the files; those are turned into Unix names first.

// Why the checker cannot run here; empty when it can.
QString hostPythonMissing();

// The name the host's programs know a file by.
QString hostPath(const QString& path);

// Runs python3 with the arguments (file names given through hostPath);
// its standard output, with a test failure when it did not end well.
QByteArray runHostPython(const QStringList& arguments);

}  // namespace kq::test
