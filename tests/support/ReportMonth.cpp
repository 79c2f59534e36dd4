#include "support/ReportMonth.h"

#include "data/Connection.h"
#include "data/TableCatalogue.h"
#include "stats/StatisticsRun.h"
#include "support/TableRows.h"

namespace kq::test {

QStringList reportMonthWindows() {
    // 常上, 常下, A, B (past midnight), 早, 中, 夜
    return {"7:30", "8:00", "13:00", "13:30", "8:00",  "12:00", "20:00",
            "8:00", "6:00", "7:00",  "14:00", "15:00", "22:00", "23:00"};
}

QStringList reportMonthEmployees() { return {"张三", "李四", "王五", "O'Brien"}; }

void fillReportMonth(const QString& programFolder, bool withStatistics) {
    kq::Connection c(programFolder);
    {
        kq::Transaction t(c);
        for (const QString& time : reportMonthWindows()) appendRow(c, "pb", {"时间"}, {time});
        const QStringList employees = reportMonthEmployees();
        c.executeNative("drop table yd");
        QStringList columns = {"日期 DATETIME"};
        for (const QString& e : employees) columns << kq::quoteIdentifier(e) + " TEXT";
        c.executeNative("create table yd (" + columns.join(',') + ")");
        const QStringList yd = QStringList{"日期"} + employees;
        appendRow(c, "yd", yd, {"2026/12/1", "常", "A", "B", "休"});
        appendRow(c, "yd", yd, {"2026/12/2", "早", "中", "夜", "常"});
        appendRow(c, "yd", yd, {"2026/12/3", "A", "休", "早", "中"});
        appendRow(c, "yd", yd, {"2026/12/4", "夜", "常", "B", "A"});
        appendRow(c, "yd", yd, {"2026/12/5", "常", "休", "休", "休"});
        // The last day of November, entered last: a leave, a mistyped code
        // (a rest day to the statistics run) and a 夜 night into December.
        appendRow(c, "yd", yd, {"2026/11/30", "事假", "常", " A", "夜"});

        const auto punch = [&](const QString& date, const QString& name, const QStringList& times) {
            for (const QString& time : times)
                appendRow(c, "ry", {"日期", "时间", "姓名"}, {date, time, name});
        };
        punch("2026/12/1", "张三", {"7:45", "12:01", "13:10", "17:35"});
        punch("2026/12/2", "张三", {"6:20", "14:05"});
        // 12/3: 张三 is on A and never punches.
        // 夜 on the 4th: in at 22:30, out the next morning.
        punch("2026/12/4", "张三", {"22:30"});
        punch("2026/12/5", "张三", {"5:55", "7:50", "17:30"});
        punch("2026/12/1", "李四", {"8:30", "16:05"});
        punch("2026/12/2", "李四", {"14:30"});  // no out-punch
        punch("2026/12/3", "李四", {"9:00"});   // a rest day
        punch("2026/12/4", "李四", {"7:55", "17:40"});
        // B on the 1st: in at 20:10, out the next morning.
        punch("2026/12/1", "王五", {"20:10"});
        punch("2026/12/2", "王五", {"8:05", "21:58"});
        punch("2026/12/3", "王五", {"5:58", "14:02"});
        // B on the 4th: in, and no out-punch before noon of the 5th.
        punch("2026/12/4", "王五", {"20:05"});
        punch("2026/12/5", "王五", {"12:00"});
        punch("2026/12/2", "O'Brien", {"8:00", "17:30"});
        punch("2026/12/3", "O'Brien", {"14:00", "14:45", "22:10"});
        punch("2026/12/4", "O'Brien", {"7:59"});
        punch("2026/11/30", "李四", {"7:20", "17:00"});
        punch("2026/11/30", "O'Brien", {"22:40"});
        punch("2026/12/1", "O'Brien", {"6:00"});  // the end of the night of 11/30
        t.commit();
    }
    if (withStatistics) kq::runStatistics(c, [](const QString&) {});
}

}  // namespace kq::test
