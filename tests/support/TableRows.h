#pragma once

#include <QString>
#include <QStringList>

namespace kq {
class Connection;
}

namespace kq::test {

// Adds one row to a table, the values given as texts for the named columns
// (dates and times in their text forms).
void appendRow(kq::Connection& connection, const QString& table, const QStringList& columns,
               const QStringList& values);

}  // namespace kq::test
