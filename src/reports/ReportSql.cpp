#include "reports/ReportSql.h"

#include <QStringList>

#include "data/DateTimeText.h"
#include "data/JetSql.h"
#include "stats/ShiftPass.h"

namespace kq::reports {

QString shiftCodeList() {
    QStringList codes;
    for (const ShiftPass& pass : shiftPasses()) codes << jetsql::quote(pass.code);
    return codes.join(QLatin1Char(','));
}

QString dateLiteral(const QDate& date) { return jetsql::dateLiteral(datetime::shortDate(date)); }

QString nameCondition(const QString& name) {
    return name.isEmpty() ? QString() : QStringLiteral(" and 姓名 = ") + jetsql::quote(name);
}

}  // namespace kq::reports
