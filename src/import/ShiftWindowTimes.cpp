#include "import/ShiftWindowTimes.h"

#include "data/Connection.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"
#include "import/WorkbookImport.h"

namespace kq {

ShiftWindowTimes readShiftWindowTimes(Connection& connection) {
    Recordset rows = connection.open(QStringLiteral("select * from pb "));
    ShiftWindowTimes times;
    times.rowCount = rows.recordCount();
    if (times.rowCount == 0) return times;
    if (rows.fieldIndex(tables::kTime) < 0)
        throw Error(ErrorKind::FieldNotFound,
                    QStringLiteral("班次时间表 pb 中没有“时间”列。请在 %1 的第一行写上“时间”，"
                                   "再按“保存设置”重新导入。")
                        .arg(workbookFileName(connection.programFolder(), Workbook::ShiftTimes)));
    // Rows after the fourteenth are not shift times.
    for (; !rows.eof() && times.texts.size() < shifts::kWindowTimeCount; rows.moveNext())
        times.texts << rows.field(tables::kTime).toText();
    return times;
}

QString shortShiftTimesMessage(qsizetype found) {
    return QStringLiteral(
               "班次时间不全：pb 表中只找到%1个时间，应有%2个。"
               "其余%3个时间框仍显示“Text1”，用到它们的异常查询无法进行。"
               "请补全 pb.xls 后按“保存设置”，再重新打开班次设置。")
        .arg(found)
        .arg(shifts::kWindowTimeCount)
        .arg(shifts::kWindowTimeCount - found);
}

}  // namespace kq
