#include "stats/ScheduleFlattening.h"

#include <sqlite3.h>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "data/InMemoryTable.h"
#include "data/TableCatalogue.h"
#include "import/WorkbookImport.h"

namespace kq {
namespace {

void checkLayout(const RowSet& yd, const QString& workbook) {
    if (!yd.columns.isEmpty() && yd.columns.first() == tables::kDate) return;
    const auto at = yd.columns.indexOf(tables::kDate);
    QString where = at < 0 ? QStringLiteral("表中没有“日期”列")
                           : QStringLiteral("“日期”现在是第%1列").arg(at + 1);
    throw Error(ErrorKind::BadSchedule,
                QStringLiteral("排班表yd的第一列必须是“日期”，其后每一列是一名员工（%1）。"
                               "请把%2第一行第一格改为“日期”后重新更新排班。")
                    .arg(where, workbook));
}

bool rowHasCodes(const RowSet& yd, qsizetype row) {
    for (qsizetype c = 1; c < yd.columns.size(); ++c)
        if (!yd.cell(row, c).toText().isEmpty()) return true;
    return false;
}

}  // namespace

double entryDay(const QString& dateText) {
    const auto day = datetime::parse(dateText);
    if (!day)
        throw Error(
            ErrorKind::BadSchedule,
            QStringLiteral("排班日期“%1”不是有效的日期。请检查yd.xls的“日期”列后重新更新排班。")
                .arg(dateText));
    return *day;
}

double EntryDays::operator()(const QString& dateText) {
    if (!any_ || dateText != lastText_) {
        lastDay_ = entryDay(dateText);
        lastText_ = dateText;
        any_ = true;
    }
    return lastDay_;
}

std::vector<ScheduleEntry> flattenSchedule(Connection& connection) {
    const Recordset yd = connection.open(QStringLiteral("select * from yd  "));
    const RowSet& rows = *yd.rows();
    const QString workbook = workbookFileName(connection.programFolder(), Workbook::Schedule);
    checkLayout(rows, workbook);
    const qsizetype employees = rows.columns.size() - 1;

    std::vector<ScheduleEntry> entries;
    entries.reserve(std::size_t(rows.rowCount() * employees));
    for (qsizetype r = 0; r < rows.rowCount(); ++r) {
        const QString date = rows.cell(r, 0).toText();
        if (date.isEmpty() && !rowHasCodes(rows, r)) continue;  // a blank line of the sheet
        if (date.isEmpty() || !datetime::parse(date))
            throw Error(ErrorKind::BadSchedule,
                        QStringLiteral("排班表yd第%1条记录（%4第%2行）的日期“%3”不是有效的日期。"
                                       "请改正%4后重新更新排班。")
                            .arg(r + 1)
                            .arg(r + 2)
                            .arg(date, workbook));
        for (qsizetype c = 1; c <= employees; ++c)
            entries.push_back({date, rows.columns.at(c), rows.cell(r, c).toText()});
    }
    return entries;
}

void writeScheduleEntries(Connection& connection, const std::vector<ScheduleEntry>& entries) {
    Transaction transaction(connection);
    connection.execute(QStringLiteral("delete from yw"));
    // The long date of each entry's day: the day itself, without a time.
    std::vector<double> days(entries.size());
    EntryDays entryDays;
    for (std::size_t i = 0; i < entries.size(); ++i)
        days[i] = datetime::roundToSecond(
            datetime::fromDate(datetime::datePart(entryDays(entries[i].date))));
    InMemoryTable rows(connection.handle(), QStringLiteral("kq_schedule_entries"),
                       {QStringLiteral("day"), QStringLiteral("name"), QStringLiteral("code")});
    QByteArray text;  // SQLite copies each text it is handed
    rows.show(qsizetype(entries.size()), [&](qsizetype r, int col, sqlite3_context* result) {
        const ScheduleEntry& entry = entries[std::size_t(r)];
        if (col == 0) {
            sqlite3_result_double(result, days[std::size_t(r)]);
            return;
        }
        text = (col == 1 ? entry.name : entry.code).toUtf8();
        sqlite3_result_text(result, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    });
    Statement fill = connection.prepare(
        QStringLiteral(
            "insert into yw (\"日期\", \"姓名\", \"班次\") select day, name, code from ") +
        rows.name());
    fill.step();
    transaction.commit();
}

}  // namespace kq
