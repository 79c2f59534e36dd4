#include <gtest/gtest.h>

#include <QStringList>
#include <set>

#include "data/Connection.h"
#include "data/TableCatalogue.h"
#include "queries/ShiftQuery.h"
#include "reports/EmployeeSummary.h"
#include "shifts/ShiftCatalogue.h"
#include "stats/StatisticsRun.h"
#include "support/ReportMonth.h"
#include "support/TestFolder.h"

namespace {

const QDate kFirst(2026, 12, 1);
const QDate kFourth(2026, 12, 4);

// "日期 姓名 third" per row of a table, as texts.
QStringList rowsOf(kq::Connection& connection, const QString& table, const QString& third) {
    kq::Recordset rows = connection.open(
        QStringLiteral("select 日期, 姓名, %1 from %2").arg(third, kq::quoteIdentifier(table)));
    QStringList out;
    for (; !rows.eof(); rows.moveNext())
        out << rows.field(0).toText() + ' ' + rows.field(1).toText() + ' ' + rows.field(2).toText();
    return out;
}

// Each shift, over the report month: a fresh database has its table, the
// statistics run fills that table with the punches of the days scheduled on
// its code, each of its windows' queries lists rows of that table, and the
// summary has a column per window that counts what the query lists.
TEST(ShiftCatalogueTest, EveryShiftHasItsTablePassQueriesAndSummaryColumns) {
    kq::test::TestFolder fresh;
    kq::Connection empty(fresh.path());

    kq::test::TestFolder month;
    kq::test::fillReportMonth(month.path(), false);
    kq::Connection connection(month.path());
    QStringList messages;
    const auto result =
        kq::runStatistics(connection, [&](const QString& message) { messages << message; });
    kq::shifts::WindowTimes times;
    const QStringList monthTimes = kq::test::reportMonthWindows();
    for (std::size_t i = 0; i < times.size(); ++i) times[i] = monthTimes[qsizetype(i)];
    const auto summary = kq::reports::runEmployeeSummary(month.path(), times, kFirst, kFourth, {});

    const QStringList entries = rowsOf(connection, "yw", "班次");
    const auto& shifts = kq::shifts::catalogue();
    ASSERT_EQ(messages.size(), qsizetype(shifts.size()) + 1);
    std::set<int> timesUsed;
    int window = 0;
    for (std::size_t s = 0; s < shifts.size(); ++s) {
        const kq::shifts::Shift& shift = shifts[s];
        SCOPED_TRACE(shift.name.toStdString());
        EXPECT_TRUE(kq::TableExist(empty, shift.table));

        const QStringList collected = rowsOf(connection, shift.table, "时间");
        EXPECT_FALSE(collected.isEmpty());
        EXPECT_EQ(result.punches[s], collected.size());
        for (const QString& row : collected)
            EXPECT_TRUE(entries.contains(row.section(' ', 0, 1) + ' ' + shift.code))
                << row.toStdString();
        EXPECT_TRUE(messages[qsizetype(s) + 1].startsWith(shift.name));

        for (const kq::shifts::Window& bounds : shift.windows) {
            timesUsed.insert({bounds.startTime, bounds.endTime});
            const auto listed = kq::queries::runShiftQuery(
                month.path(), window, times[std::size_t(bounds.startTime)],
                times[std::size_t(bounds.endTime)], kFirst, kFourth, {});
            EXPECT_GT(listed->rowCount(), 0);  // B's window lists only by wrapping midnight
            const qsizetype date = listed->columns.indexOf("日期");
            const qsizetype name = listed->columns.indexOf("姓名");
            const qsizetype time = listed->columns.indexOf("时间");
            for (qsizetype r = 0; r < listed->rowCount(); ++r) {
                const QString row = listed->cell(r, date).toText() + ' ' +
                                    listed->cell(r, name).toText() + ' ' +
                                    listed->cell(r, time).toText();
                EXPECT_TRUE(collected.contains(row)) << row.toStdString();
            }

            const qsizetype column =
                summary->columns.indexOf(kq::shifts::windowAt(window).anomalyCaption());
            ASSERT_GE(column, 0);
            qsizetype counted = 0;
            for (qsizetype r = 0; r < summary->rowCount(); ++r)
                counted += summary->cell(r, column).toText().toInt();
            EXPECT_EQ(counted, listed->rowCount());
            ++window;
        }
    }
    EXPECT_EQ(std::size_t(window), kq::shifts::windows().size());
    // The windows share out the settings times, each used once.
    EXPECT_EQ(timesUsed.size(), std::size_t(kq::shifts::kWindowTimeCount));
    EXPECT_EQ(*timesUsed.rbegin(), kq::shifts::kWindowTimeCount - 1);
    EXPECT_EQ(summary->columns.size(), 3 + window);
}

}  // namespace
