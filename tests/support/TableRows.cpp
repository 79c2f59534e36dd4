#include "support/TableRows.h"

#include "data/TableAppender.h"

namespace kq::test {

void appendRow(kq::Connection& connection, const QString& table, const QStringList& columns,
               const QStringList& values) {
    kq::TableAppender appender(connection, table);
    appender.addNew();
    for (qsizetype i = 0; i < columns.size(); ++i) appender.set(columns[i], values[i]);
    appender.update();
}

}  // namespace kq::test
