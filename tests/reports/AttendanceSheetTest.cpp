#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>
#include <random>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"
#include "queries/ShiftQuery.h"
#include "reports/AttendanceSheetTable.h"
#include "reports/EmployeeSummary.h"
#include "reports/MissingPunches.h"
#include "stats/StatisticsRun.h"
#include "support/ReportMonth.h"
#include "support/TableRows.h"
#include "support/TestFolder.h"

using namespace kq::reports;

namespace {

kq::shifts::WindowTimes monthWindows() {
    kq::shifts::WindowTimes out;
    const QStringList times = kq::test::reportMonthWindows();
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = times[qsizetype(i)];
    return out;
}

QStringList tableRows(const AttendanceSheetTable& table) {
    QStringList out;
    for (int r = 0; r < table.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < table.cols(); ++c) cells << table.text(r, c);
        out << cells.join('|');
    }
    return out;
}

// The worked month over a payroll range that runs past the month's end.
TEST(AttendanceSheet, WorkedMonthCellByCell) {
    kq::test::TestFolder folder;
    kq::test::fillReportMonth(folder.path());
    const AttendanceSheet sheet = runAttendanceSheet(folder.path(), monthWindows(),
                                                     QDate(2026, 11, 30), QDate(2026, 12, 5), {});
    const AttendanceSheetTable table(sheet);
    EXPECT_EQ(sheetTitle(sheet), "考勤月报　2026/11/30 至 2026/12/5");
    // 王五's B night of 12/1 ends at 8:05 on 12/2, his night of 12/4 has no
    // punch before noon of 12/5; O'Brien's 夜 night of 11/30 ends on 12/1, a
    // rest day. " A" stays as typed and is no shift.
    EXPECT_EQ(tableRows(table), (QStringList{
                                    "姓名|11/30\n一|12/1\n二|12/2\n三|12/3\n四|12/4\n五|12/5\n六|"
                                    "排班天数|正常|异常|缺卡|旷工|事假| A|休",
                                    "张三|事假|常异|早异|A旷|夜异|常异|5|0|4|0|1|1|0|0",
                                    "李四|常|A异|中缺|休|常异|休|4|1|2|1|0|0|0|2",
                                    "王五| A|B异|夜|早|B缺|休|4|2|1|1|0|0|1|1",
                                    "O'Brien|夜异|休|常|中异|A缺|休|4|1|2|1|0|0|0|2",
                                    "合计|1|3|2|2|4|1|17|4|9|3|1|1|1|5",
                                }));
    using S = SheetCellStyle;
    EXPECT_EQ(table.style(1, 1), S::Other);
    EXPECT_EQ(table.style(1, 2), S::Anomaly);
    EXPECT_EQ(table.style(1, 4), S::Absent);
    EXPECT_EQ(table.style(2, 3), S::Missing);
    EXPECT_EQ(table.style(3, 3), S::Plain);
    EXPECT_EQ(table.style(0, 6), S::WeekendHeader);
    EXPECT_EQ(table.style(0, 5), S::Header);

    const AttendanceSheet one = runAttendanceSheet(
        folder.path(), monthWindows(), QDate(2026, 12, 1), QDate(2026, 12, 1), "O'Brien");
    EXPECT_EQ(tableRows(AttendanceSheetTable(one)),
              (QStringList{"姓名|12/1\n二|排班天数|正常|异常|缺卡|旷工|休",
                           "O'Brien|休|0|0|0|0|0|1", "合计|0|0|0|0|0|0|1"}));
}

TEST(AttendanceSheet, RangeLimits) {
    EXPECT_EQ(sheetRangeProblem(QDate(2026, 12, 2), QDate(2026, 12, 1)),
              "开始日期不能晚于结束日期。");
    EXPECT_EQ(sheetRangeProblem(QDate(2026, 12, 1), QDate(2027, 1, 31)), "");  // 62 days
    EXPECT_EQ(sheetRangeProblem(QDate(2026, 12, 1), QDate(2027, 2, 1)),
              "统计日期最多62天，请缩短日期范围。");
}

// A month of random schedules and punches, times on and beside every bound.
void fillRandomMonth(const QString& folder, int employees, int days, unsigned seed) {
    std::mt19937 random(seed);
    const QStringList codes = {"常", "A", "B", "早", "中", "夜", "休", "事假", ""};
    QStringList times = kq::test::reportMonthWindows();
    times << "12:00"
          << "11:59"
          << "0:00"
          << "23:59";
    kq::Connection c(folder);
    {
        kq::Transaction t(c);
        for (const QString& time : kq::test::reportMonthWindows())
            kq::test::appendRow(c, "pb", {"时间"}, {time});
        c.executeNative("drop table yd");
        QStringList columns = {"日期 DATETIME"}, yd = {"日期"}, names;
        for (int e = 0; e < employees; ++e) {
            // Not in code-point order, so the column order shows.
            names << QStringLiteral("员工%1").arg(employees - e);
            columns << kq::quoteIdentifier(names.last()) + " TEXT";
        }
        yd += names;
        c.executeNative("create table yd (" + columns.join(',') + ")");
        const QDate first(2026, 12, 1);
        for (int d = 0; d < days; ++d) {
            QStringList row = {first.addDays(d).toString("yyyy/M/d")};
            for (int e = 0; e < employees; ++e) row << codes[int(random() % codes.size())];
            kq::test::appendRow(c, "yd", yd, row);
        }
        for (int d = 0; d <= days; ++d)
            for (const QString& name : names)
                for (unsigned n = random() % 4; n > 0; --n) {
                    const unsigned pick = random() % (times.size() + 4);
                    const QString time = pick < unsigned(times.size())
                                             ? times[qsizetype(pick)]
                                             : QStringLiteral("%1:%2")
                                                   .arg(random() % 24)
                                                   .arg(random() % 60, 2, 10, QChar('0'));
                    kq::test::appendRow(c, "ry", {"日期", "时间", "姓名"},
                                        {first.addDays(d).toString("yyyy/M/d"), time, name});
                }
        t.commit();
    }
    kq::runStatistics(c, [](const QString&) {});
}

// The sheet agrees with the missing-punch list, the summary and the shift
// buttons, employee by employee.
TEST(AttendanceSheet, AgreesWithTheListsOverAGeneratedMonth) {
    kq::test::TestFolder folder;
    fillRandomMonth(folder.path(), 12, 20, 20261208u);
    const QDate from(2026, 12, 1), to(2026, 12, 20);
    const auto times = monthWindows();
    const AttendanceSheet sheet = runAttendanceSheet(folder.path(), times, from, to, {});
    const auto summary = runEmployeeSummary(folder.path(), times, from, to, {});
    const auto missing = runMissingPunches(folder.path(), from, to, {});

    ASSERT_EQ(sheet.employees.size(), summary->rowCount());
    QSet<QString> listed;  // "name|date|count" of the missing-punch rows
    for (qsizetype r = 0; r < missing->rowCount(); ++r)
        listed << missing->cell(r, 1).toText() + '|' + missing->cell(r, 0).toText() + '|' +
                      missing->cell(r, 3).toText();
    QSet<QString> marked;
    for (int e = 0; e < int(sheet.employees.size()); ++e) {
        const QString& name = sheet.employees[e];
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(summary->cell(e, 0).toText(), name);
        const SheetTotals& totals = sheet.totals[std::size_t(e)];
        EXPECT_EQ(QString::number(totals.scheduled), summary->cell(e, 1).toText());
        EXPECT_EQ(QString::number(totals.missing + totals.absent), summary->cell(e, 2).toText());
        // Per shift of the calendar day, the dates its buttons list.
        std::vector<QSet<QString>> buttonDates(kq::shifts::kShiftCount);
        for (std::size_t w = 0; w < kq::shifts::windows().size(); ++w) {
            const auto& window = kq::shifts::windowAt(int(w));
            const auto rows = kq::queries::runShiftQuery(
                folder.path(), int(w), times[std::size_t(window.window->startTime)],
                times[std::size_t(window.window->endTime)], from, to, name);
            const int shift = kq::shifts::shiftIndex(window.shift->code);
            for (qsizetype r = 0; r < rows->rowCount(); ++r)
                buttonDates[std::size_t(shift)]
                    << rows->cell(r, rows->columns.indexOf("日期")).toText();
        }
        for (int d = 0; d < int(sheet.days.size()); ++d) {
            const SheetCell& cell = sheet.cell(e, d);
            const QString date = kq::datetime::shortDate(sheet.days[std::size_t(d)]);
            if (cell.mark == DayMark::Absent) marked << name + '|' + date + "|0";
            if (cell.mark == DayMark::Missing) marked << name + '|' + date + "|1";
            const int shift = kq::shifts::shiftIndex(cell.code);
            if (shift < 0 || kq::shifts::catalogue()[std::size_t(shift)].dayRunsNoonToNoon ||
                cell.mark == DayMark::Absent || cell.mark == DayMark::Missing)
                continue;
            EXPECT_EQ(cell.mark == DayMark::Anomaly, buttonDates[std::size_t(shift)].contains(date))
                << date.toStdString() << ' ' << cell.text().toStdString();
        }
    }
    // The generated month has days of every mark.
    EXPECT_GT(sheet.columnSums.anomalous, 0);
    EXPECT_GT(sheet.columnSums.missing, 0);
    EXPECT_GT(sheet.columnSums.absent, 0);
    EXPECT_EQ(marked, listed);
    EXPECT_EQ(marked.size(), missing->rowCount());  // one row per day: no date twice in yd
}

}  // namespace
