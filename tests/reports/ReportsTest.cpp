#include <gtest/gtest.h>

#include <QHash>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <tuple>

#include "data/Connection.h"
#include "data/Error.h"
#include "data/JetSql.h"
#include "data/TableCatalogue.h"
#include "queries/ShiftQuery.h"
#include "reports/EmployeeSummary.h"
#include "reports/MissingPunches.h"
#include "reports/ReportPrerequisites.h"
#include "reports/ReportSql.h"
#include "reports/ScheduledDays.h"
#include "stats/StatisticsRun.h"
#include "support/ReportMonth.h"
#include "support/ShiftDaysSql.h"
#include "support/TableRows.h"
#include "support/TestFolder.h"

using namespace kq::reports;

namespace {

const QDate kFirst(2026, 12, 1);
const QDate kFourth(2026, 12, 4);

kq::shifts::WindowTimes windows() {
    kq::shifts::WindowTimes out;
    const QStringList times = kq::test::reportMonthWindows();
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = times[qsizetype(i)];
    return out;
}

// Each row's cells as the grid shows them, joined by "|".
QStringList rowTexts(const kq::RowSet& rows) {
    QStringList out;
    for (qsizetype r = 0; r < rows.rowCount(); ++r) {
        QStringList cells;
        for (qsizetype c = 0; c < rows.columns.size(); ++c) cells << rows.cell(r, c).toText();
        out << cells.join('|');
    }
    return out;
}

class ReportsTest : public ::testing::Test {
  protected:
    ReportsTest() { kq::test::fillReportMonth(folder_.path()); }
    kq::test::TestFolder folder_;
};

TEST_F(ReportsTest, MissingPunchesOfTheMonth) {
    const auto rows = runMissingPunches(folder_.path(), kFirst, kFourth, QString());
    EXPECT_EQ(rows->columns, (QStringList{"日期", "姓名", "班次", "打卡次数", "打卡时间"}));
    // 王五's B night of the 1st ends at 8:05 on the 2nd and is complete, as
    // is 张三's 夜 night of the 4th, which ends on the 5th; 王五's night of
    // the 4th has no out-punch before noon of the 5th (12:00 is the next
    // day's). 12/5 lies outside the range.
    EXPECT_EQ(rowTexts(*rows), (QStringList{
                                   "2026/12/2|李四|中|1|14:30:00",
                                   "2026/12/3|张三|A|0|",
                                   "2026/12/4|王五|B|1|20:05:00",
                                   "2026/12/4|O'Brien|A|1|7:59:00",
                               }));
    EXPECT_EQ(rowTexts(*runMissingPunches(folder_.path(), kFirst, kFourth, "O'Brien")),
              QStringList{"2026/12/4|O'Brien|A|1|7:59:00"});
    // The name is a value, never part of the statement.
    EXPECT_EQ(runMissingPunches(folder_.path(), kFirst, kFourth, "x' or '1'='1")->rowCount(), 0);
    EXPECT_EQ(rowTexts(*runMissingPunches(folder_.path(), QDate(2026, 12, 3), QDate(2026, 12, 3),
                                          QString())),
              QStringList{"2026/12/3|张三|A|0|"});
}

TEST_F(ReportsTest, SummaryOfTheMonthAgreesWithTheShiftButtons) {
    const auto rows = runEmployeeSummary(folder_.path(), windows(), kFirst, kFourth, QString());
    EXPECT_EQ(rows->columns,
              (QStringList{"姓名", "排班天数", "缺卡天数", "常班上异常", "常班下异常", "A班异常",
                           "B班异常", "早班异常", "中班异常", "夜班异常"}));
    EXPECT_EQ(rowTexts(*rows), (QStringList{
                                   "张三|4|1|1|1|0|0|1|0|1",
                                   "李四|3|1|1|0|1|0|0|1|0",
                                   "王五|4|1|0|0|0|2|0|0|0",
                                   "O'Brien|3|1|0|0|0|0|0|1|0",
                               }));

    // Every count is what that button lists for the employee over the range.
    const kq::shifts::WindowTimes w = windows();
    const auto shiftWindows = kq::shifts::windows();
    for (qsizetype r = 0; r < rows->rowCount(); ++r) {
        const QString name = rows->cell(r, 0).toText();
        for (std::size_t i = 0; i < shiftWindows.size(); ++i) {
            const kq::shifts::Window& bounds = *shiftWindows[i].window;
            const auto listed =
                kq::queries::runShiftQuery(folder_.path(), int(i), w[std::size_t(bounds.startTime)],
                                           w[std::size_t(bounds.endTime)], kFirst, kFourth, name);
            EXPECT_EQ(rows->cell(r, 3 + qsizetype(i)).toText(), QString::number(listed->rowCount()))
                << name.toStdString() << ' ' << shiftWindows[i].anomalyCaption().toStdString();
        }
        EXPECT_EQ(
            rows->cell(r, 2).toText(),
            QString::number(runMissingPunches(folder_.path(), kFirst, kFourth, name)->rowCount()));
    }

    EXPECT_EQ(rowTexts(*runEmployeeSummary(folder_.path(), w, kFirst, kFourth, "O'Brien")),
              QStringList{"O'Brien|3|1|0|0|0|0|0|1|0"});
}

TEST(ReportsPrerequisites, ReportsAskForAStatisticsRunAndValidWindows) {
    kq::test::TestFolder folder;
    kq::test::fillReportMonth(folder.path(), false);
    for (const auto& run : std::initializer_list<std::function<void()>>{
             [&] { runMissingPunches(folder.path(), kFirst, kFourth, QString()); },
             [&] { runEmployeeSummary(folder.path(), windows(), kFirst, kFourth, QString()); }}) {
        try {
            run();
            ADD_FAILURE() << "a report ran without a statistics run";
        } catch (const kq::Error& e) {
            EXPECT_EQ(e.description(), kNoScheduleEntriesMessage);
        }
    }
    kq::shifts::WindowTimes bad = windows();
    bad[7] = "Text1";
    try {
        runEmployeeSummary(folder.path(), bad, kFirst, kFourth, QString());
        ADD_FAILURE() << "a design text was taken for a time";
    } catch (const kq::Error& e) {
        EXPECT_TRUE(e.description().contains("B班的结束时间“Text1”"))
            << e.description().toStdString();
    }
}

}  // namespace

namespace {

kq::shifts::WindowTimes punchDaysTestWindows() {
    kq::shifts::WindowTimes times;
    const QStringList given = kq::test::reportMonthWindows();
    for (std::size_t i = 0; i < times.size(); ++i) times[i] = given[qsizetype(i)];
    return times;
}

// Both reports read the punch days a run writes from ry: a second run
// rewrites them to the same rows, and punches imported after a run are
// refused until the next run.
TEST(ReportsPunchDays, SecondRunRewritesThemAndANewImportWaitsForTheNextRun) {
    kq::test::TestFolder folder;
    kq::test::fillReportMonth(folder.path());
    const QDate from(2026, 11, 30), to(2026, 12, 4);
    const auto missing = *kq::reports::runMissingPunches(folder.path(), from, to, {});
    const auto summary =
        *kq::reports::runEmployeeSummary(folder.path(), punchDaysTestWindows(), from, to, {});
    ASSERT_GT(missing.rowCount(), 0);

    kq::Connection connection(folder.path());
    kq::runStatistics(connection, [](const QString&) {});
    EXPECT_EQ(*kq::reports::runMissingPunches(folder.path(), from, to, {}), missing);
    EXPECT_EQ(*kq::reports::runEmployeeSummary(folder.path(), punchDaysTestWindows(), from, to, {}),
              summary);

    kq::test::appendRow(connection, "ry", {"日期", "时间", "姓名"}, {"2026/12/3", "9:30", "张三"});
    EXPECT_THROW(kq::reports::runMissingPunches(folder.path(), from, to, {}), kq::Error);
    kq::runStatistics(connection, [](const QString&) {});
    EXPECT_NE(*kq::reports::runMissingPunches(folder.path(), from, to, {}), missing);
}

}  // namespace

namespace {

// Generated months: every code, rest days and blank cells, punches on both
// sides of 12:00 (12:00 itself too), punches without a time, nights into the
// day after the range. The two reports, which read the run's punch days in
// memory, agree with the shift-day rule the monthly sheet runs in the engine
// and with the windows' own query texts.
TEST(ReportsAgreeWithTheEngine, OverGeneratedMonths) {
    const QStringList employees = {"张三", "李四", "O'Brien", "王五"};
    const QStringList codes = {"常", "A", "B", "早", "中", "夜", "休", "", "a"};
    const QStringList times = {"0:00",  "5:58",  "7:45",  "8:00",  "11:59:59", "12:00",
                               "13:10", "17:35", "20:05", "22:30", "23:59:59", ""};
    const kq::shifts::WindowTimes windows = punchDaysTestWindows();
    for (quint32 seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        QRandomGenerator random(seed);
        kq::test::TestFolder folder;
        kq::Connection c(folder.path());
        c.executeNative("drop table yd");
        QStringList columns = {"日期 DATETIME"};
        for (const QString& e : employees) columns << kq::quoteIdentifier(e) + " TEXT";
        c.executeNative("create table yd (" + columns.join(',') + ")");
        for (int day = 1; day <= 8; ++day) {
            QStringList row = {QStringLiteral("2026/12/%1").arg(day)};
            for (qsizetype e = 0; e < employees.size(); ++e)
                row << codes[random.bounded(codes.size())];
            kq::test::appendRow(c, "yd", QStringList{"日期"} + employees, row);
        }
        for (int day = 1; day <= 9; ++day)
            for (const QString& e : employees)
                for (int n = random.bounded(4); n > 0; --n)
                    kq::test::appendRow(c, "ry", {"日期", "时间", "姓名"},
                                        {QStringLiteral("2026/12/%1").arg(day),
                                         times[random.bounded(times.size())], e});
        kq::runStatistics(c, [](const QString&) {});

        for (const auto& [from, to, name] :
             {std::tuple(QDate(2026, 12, 1), QDate(2026, 12, 8), QString()),
              std::tuple(QDate(2026, 12, 3), QDate(2026, 12, 5), QString()),
              std::tuple(QDate(2026, 12, 2), QDate(2026, 12, 7), QString("O'Brien"))}) {
            const auto engine =
                c.open(kq::test::shiftDaysClause(from, to, name) +
                       "select day, name, code, punches, time from x where punches < 2 "
                       "order by day, rank, seq")
                    .rows();
            QStringList expected;
            QHash<QString, int> missingOf;
            for (qsizetype r = 0; r < engine->rowCount(); ++r) {
                const kq::Value& time = engine->cell(r, 4);
                expected << QStringList{kq::Value::dateTime(engine->cell(r, 0).toDouble()).toText(),
                                        engine->cell(r, 1).toText(), engine->cell(r, 2).toText(),
                                        engine->cell(r, 3).toText(),
                                        time.isNull() ? QString()
                                        : time.type() == kq::Value::Type::Text
                                            ? time.toText()
                                            : kq::Value::dateTime(time.toDouble()).toText()}
                                .join('|');
                ++missingOf[engine->cell(r, 1).toText()];
            }
            EXPECT_EQ(rowTexts(*runMissingPunches(folder.path(), from, to, name)), expected);

            // The monthly sheet's reading, from ry with the windows' marks.
            const auto marks = c.open(kq::test::shiftDaysClause(from, to, name, &windows) +
                                      "select seq, punches, marked from x order by seq")
                                   .rows();
            QStringList engineMarks, readMarks;
            for (qsizetype r = 0; r < marks->rowCount(); ++r)
                engineMarks << QStringList{marks->cell(r, 0).toText(), marks->cell(r, 1).toText(),
                                           marks->cell(r, 2).toText()}
                                   .join('|');
            auto days = readScheduledRange(c, from, to, name, &windows).days;
            std::ranges::sort(days, {}, &ScheduledDay::seq);
            for (const ScheduledDay& d : days)
                readMarks
                    << QStringLiteral("%1|%2|%3").arg(d.seq).arg(d.punches).arg(int(d.marked));
            EXPECT_EQ(readMarks, engineMarks);

            // 姓名, 排班天数 and rank as the schedule gives them, then 缺卡天数 and
            // each window's rows by name.
            const QString range = QStringLiteral("日期 >= %1 and 日期 <= %2%3")
                                      .arg(dateLiteral(from), dateLiteral(to), nameCondition(name));
            const auto scheduled = c.open("select 姓名, sum(班次 in (" + shiftCodeList() +
                                          ")) from yw where 班次 <> '' and " + range +
                                          " group by 姓名 order by min(rowid)")
                                       .rows();
            QStringList summary;
            for (qsizetype r = 0; r < scheduled->rowCount(); ++r) {
                const QString employee = scheduled->cell(r, 0).toText();
                QStringList cells = {employee, scheduled->cell(r, 1).toText(),
                                     QString::number(missingOf.value(employee))};
                for (const kq::shifts::ShiftWindow& w : kq::shifts::windows()) {
                    const auto n =
                        c.open("select count(*) from (" +
                               kq::queries::queryText(w, windows[std::size_t(w.window->startTime)],
                                                      windows[std::size_t(w.window->endTime)], from,
                                                      to, name) +
                               ") where 姓名 = " + kq::jetsql::quote(employee))
                            .rows();
                    cells << n->cell(0, 0).toText();
                }
                summary << cells.join('|');
            }
            EXPECT_EQ(rowTexts(*runEmployeeSummary(folder.path(), windows, from, to, name)),
                      summary);
        }
    }
}

}  // namespace
