#include "reports/ReportSql.h"

#include <QStringList>

#include "data/DateTimeText.h"
#include "data/JetSql.h"
#include "shifts/ShiftCatalogue.h"

namespace kq::reports {

namespace {

QString codeList(bool (*wanted)(const shifts::Shift&)) {
    QStringList codes;
    for (const shifts::Shift& shift : shifts::catalogue())
        if (wanted(shift)) codes << jetsql::quote(shift.code);
    return codes.join(QLatin1Char(','));
}

}  // namespace

QString shiftCodeList() {
    return codeList([](const shifts::Shift&) { return true; });
}

QString noonToNoonCodeList() {
    return codeList([](const shifts::Shift& shift) { return shift.dayRunsNoonToNoon; });
}

QString dateLiteral(const QDate& date) { return jetsql::dateLiteral(datetime::shortDate(date)); }

QString nameCondition(const QString& name) {
    return name.isEmpty() ? QString() : QStringLiteral(" and 姓名 = ") + jetsql::quote(name);
}

}  // namespace kq::reports
