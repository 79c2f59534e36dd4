#include "import/ScheduleReport.h"

#include <algorithm>

#include "data/Connection.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"
#include "import/WorkbookImport.h"

namespace kq {

ScheduleReport readScheduleReport(Connection& connection) {
    Recordset rows = connection.open(QStringLiteral("select * from yd  "));
    ScheduleReport report;
    report.columns = rows.fieldNames();
    if (rows.recordCount() == 0) return report;
    const int dateColumn = rows.fieldIndex(tables::kDate);
    if (dateColumn < 0)
        throw Error(ErrorKind::FieldNotFound,
                    QStringLiteral("排班表 yd 中没有“日期”列。请在 %1 第一行的第一格写上“日期”，"
                                   "再按“更新排班”重新导入。")
                        .arg(workbookFileName(connection.programFolder(), Workbook::Schedule)));
    const int n = rows.fieldCount();
    report.lines.reserve(std::size_t(rows.recordCount()) * std::size_t(std::max(n - 1, 0)));
    for (; !rows.eof(); rows.moveNext()) {
        const QString date = rows.field(dateColumn).toText();
        for (int k = 1; k < n; ++k)
            report.lines.push_back({date, report.columns[k], rows.field(k).toText()});
    }
    return report;
}

QString reportLineCountMessage(qsizetype lineCount, const QString& columnList) {
    return QStringLiteral("ListView有%1行：%2").arg(QString::number(lineCount), columnList);
}

QString reportFieldCountMessage(qsizetype fieldCount, const QString& columnList) {
    return QStringLiteral("定价表共有%1个字段，字段名分别是：%2")
        .arg(QString::number(fieldCount), columnList);
}

}  // namespace kq
