#include "support/TableRows.h"

#include "data/Connection.h"
#include "data/Recordset.h"
#include "data/Statement.h"
#include "data/TableAppender.h"

namespace kq::test {

void appendRow(kq::Connection& connection, const QString& table, const QStringList& columns,
               const QStringList& values) {
    kq::TableAppender appender(connection, table);
    appender.addNew();
    for (qsizetype i = 0; i < columns.size(); ++i) appender.set(columns[i], values[i]);
    appender.update();
}

std::ostream& operator<<(std::ostream& out, const TableText& t) {
    out << t.columns.join(',').toStdString() << " / " << t.types.join(',').toStdString();
    for (const QStringList& row : t.rows) out << "\n  " << row.join('|').toStdString();
    return out;
}

TableText readTable(kq::Connection& connection, const QString& table) {
    TableText out;
    kq::Statement types = connection.prepare(
        QStringLiteral("select type from pragma_table_info('%1') order by cid").arg(table));
    while (types.step()) out.types << types.column(0).toText();
    kq::Recordset rs = connection.open(QStringLiteral("select * from %1 ").arg(table));
    out.columns = rs.fieldNames();
    for (; !rs.eof(); rs.moveNext()) {
        QStringList row;
        for (int i = 0; i < rs.fieldCount(); ++i)
            row << (rs.field(i).isNull() ? QStringLiteral("<null>") : rs.field(i).toText());
        out.rows.push_back(row);
    }
    return out;
}

}  // namespace kq::test
