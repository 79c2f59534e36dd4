#include "queries/QueryText.h"

#include "data/DateTimeText.h"
#include "data/JetSql.h"
#include "data/TableCatalogue.h"

namespace kq::queries {
namespace {

// The text with a name carries a blank between 时间 and ">", the one
// without a name does not; both are sent exactly so.
QString intervalText(const QString& table, const QString& start, const QString& end,
                     const QDate& from, const QDate& to, const QString& name) {
    const bool byName = !name.isEmpty();
    QString text = QStringLiteral("select * from ") + table +
                   (byName ? QStringLiteral(" where 时间 > #") : QStringLiteral(" where 时间> #")) +
                   start + QStringLiteral("# and 时间 < #") + end +
                   QStringLiteral("# and 日期 >= #") + datetime::shortDate(from) +
                   QStringLiteral("# and 日期 <= #") + datetime::shortDate(to) + QLatin1Char('#');
    if (byName) text += QStringLiteral(" and 姓名 = ") + jetsql::quote(name);
    return text;
}

}  // namespace

QString shiftQueryText(const QString& table, const QString& start, const QString& end,
                       const QDate& from, const QDate& to, const QString& name) {
    return intervalText(table, start, end, from, to, name);
}

QString overnightQueryText(const QString& table, const QString& start, const QString& end,
                           const QDate& from, const QDate& to, const QString& name) {
    const QString range = QStringLiteral("# and 日期 >= #") + datetime::shortDate(from) +
                          QStringLiteral("# and 日期 <= #") + datetime::shortDate(to) +
                          QLatin1Char('#');
    const QString nameCondition =
        name.isEmpty() ? QString() : QStringLiteral(" and 姓名 = ") + jetsql::quote(name);
    return QStringLiteral("select * from ") + table + QStringLiteral(" where (时间> #") + start +
           range + nameCondition + QStringLiteral(") or (时间 < #") + end + range + nameCondition +
           QLatin1Char(')');
}

QString punchQueryText(const QString& start, const QString& end, const QDate& from, const QDate& to,
                       const QString& name) {
    return intervalText(tables::kPunches, start, end, from, to, name);
}

}  // namespace kq::queries
