#pragma once

#include <QString>
#include <QStringList>
#include <ostream>
#include <vector>

namespace kq {
class Connection;
}

namespace kq::test {

// Adds one row to a table, the values given as texts for the named columns
// (dates and times in their text forms).
void appendRow(kq::Connection& connection, const QString& table, const QStringList& columns,
               const QStringList& values);

// A table as the grid would show it, with its declared column types:
// NULL cells read "<null>".
struct TableText {
    QStringList columns;
    QStringList types;
    std::vector<QStringList> rows;
    bool operator==(const TableText&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TableText& t);

TableText readTable(kq::Connection& connection, const QString& table);

}  // namespace kq::test
