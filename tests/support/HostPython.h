#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kq::test {

// The read-back checks run Debian's python3 with openpyxl or xlrd,
// implementations that share no code with the program.

// Why the checker cannot run here; empty when it can.
QString hostPythonMissing();

// Runs python3 with the arguments; its standard output, with a test failure
// when it did not end well.
QByteArray runHostPython(const QStringList& arguments);

}  // namespace kq::test
