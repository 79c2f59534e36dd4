#include <gtest/gtest.h>

#include "StatsData.h"
#include "data/Connection.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"
#include "shifts/ShiftCatalogue.h"
#include "stats/StatisticsRun.h"
#include "stats/UnfinishedRun.h"
#include "support/TestFolder.h"

using kq::test::addPunch;
using kq::test::makeSchedule;
using kq::test::tableRows;

namespace {

const QString kJia = QStringLiteral("员工甲");
const QString kYi = QStringLiteral("员工乙");

const QStringList kSevenMessages = {"排班设置一维取数更新完成", "常班统计数据更新完成",
                                    "A班统计数据更新完成",      "B班统计数据更新完成",
                                    "早班统计数据更新完成",     "中班统计数据更新完成",
                                    "夜班统计数据更新完成"};

class StatisticsRunTest : public ::testing::Test {
  protected:
    kq::StatisticsResult run() {
        return kq::runStatistics(connection_, [this](const QString& m) { messages_ << m; });
    }
    QStringList rows(const QString& table) { return tableRows(connection_, table); }
    // The six per-shift tables that hold nothing, in pass order.
    QStringList emptyShiftTables() {
        QStringList empty;
        for (const kq::shifts::Shift& shift : kq::shifts::catalogue())
            if (rows(shift.table).isEmpty()) empty << shift.table;
        return empty;
    }
    void fillShiftTablesWithOldRows() {
        for (const kq::shifts::Shift& shift : kq::shifts::catalogue())
            connection_.executeNative(
                QStringLiteral("insert into \"%1\" values (1, 'old', 0.5)").arg(shift.table));
    }

    kq::test::TestFolder folder_;
    kq::Connection connection_{folder_.path()};
    QStringList messages_;
};

TEST_F(StatisticsRunTest, WorkedExampleFillsOnlyAWithTheScheduledDaysPunches) {
    makeSchedule(connection_, {kJia}, {{"2024-01-05", {"A"}}, {"2024-01-06", {"休"}}});
    addPunch(connection_, "2024/1/5", "7:58", kJia);
    addPunch(connection_, "2024/1/5", "16:05", kJia);
    addPunch(connection_, "2024/1/6", "8:10", kJia);
    addPunch(connection_, "2024/1/5", "7:55", kYi);

    const auto result = run();

    EXPECT_EQ(messages_, kSevenMessages);
    EXPECT_EQ(rows("yw"), QStringList({"2024/1/5 员工甲 A", "2024/1/6 员工甲 休"}));
    EXPECT_EQ(rows("A"), QStringList({"2024/1/5 员工甲 7:58:00", "2024/1/5 员工甲 16:05:00"}));
    EXPECT_EQ(emptyShiftTables(), QStringList({"tj", "B", "Z", "ZH", "Y"}));
    EXPECT_EQ(result.entries, 2);
    EXPECT_EQ(result.punches, (std::array<qsizetype, 6>{0, 2, 0, 0, 0, 0}));
}

TEST_F(StatisticsRunTest, EachCodeFillsItsOwnTableAndNothingElseMatches) {
    const QStringList staff = {"常1", "A1", "B1", "早1", "中1", "夜1", "小a", "空A", "休1"};
    makeSchedule(connection_, staff,
                 {{"2024/1/5", {"常", "A", "B", "早", "中", "夜", "a", " A", "休"}}});
    for (const QString& name : staff) addPunch(connection_, "2024/1/5", "9:00", name);

    run();

    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(rows(kq::shifts::catalogue()[i].table),
                  QStringList(QStringLiteral("2024/1/5 %1 9:00:00").arg(staff[qsizetype(i)])))
            << kq::shifts::catalogue()[i].table.toStdString();
    EXPECT_EQ(rows("yw").size(), 9);
}

TEST_F(StatisticsRunTest, PunchesAfterMidnightGoOnlyWhereTheNextDateIsScheduled) {
    makeSchedule(connection_, {kJia, kYi}, {{"2024/1/5", {"B", "B"}}, {"2024/1/6", {"休", "B"}}});
    for (const QString& name : {kJia, kYi}) {
        addPunch(connection_, "2024/1/5", "19:58", name);
        addPunch(connection_, "2024/1/6", "8:02", name);
    }
    run();
    EXPECT_EQ(rows("B"), QStringList({"2024/1/5 员工甲 19:58:00", "2024/1/5 员工乙 19:58:00",
                                      "2024/1/6 员工乙 8:02:00"}));
}

TEST_F(StatisticsRunTest, SameShiftTwiceOnOneDateCollectsTheDayTwice) {
    makeSchedule(connection_, {kJia}, {{"2024/1/5", {"早"}}, {"2024/1/5", {"早"}}});
    addPunch(connection_, "2024/1/5", "6:01", kJia);
    addPunch(connection_, "2024/1/5", "14:03", kJia);
    run();
    EXPECT_EQ(rows("Z"), QStringList({"2024/1/5 员工甲 6:01:00", "2024/1/5 员工甲 14:03:00",
                                      "2024/1/5 员工甲 6:01:00", "2024/1/5 员工甲 14:03:00"}));
}

TEST_F(StatisticsRunTest, EmptyScheduleEmptiesAllTablesAndStillAnnouncesEveryStage) {
    fillShiftTablesWithOldRows();
    makeSchedule(connection_, {kJia}, {});
    addPunch(connection_, "2024/1/5", "8:00", kJia);
    run();
    EXPECT_EQ(messages_, kSevenMessages);
    EXPECT_EQ(emptyShiftTables(), QStringList({"tj", "A", "B", "Z", "ZH", "Y"}));
    EXPECT_TRUE(rows("yw").isEmpty());
}

TEST_F(StatisticsRunTest, SecondRunLeavesOnlyTheSecondRunsRows) {
    makeSchedule(connection_, {kJia, kYi}, {{"2024/1/5", {"A", "中"}}});
    addPunch(connection_, "2024/1/5", "8:00", kJia);
    addPunch(connection_, "2024/1/5", "12:00", kYi);
    run();
    ASSERT_EQ(rows("ZH").size(), 1);

    makeSchedule(connection_, {kJia, kYi}, {{"2024/1/5", {"常", "休"}}});
    run();
    EXPECT_EQ(rows("yw"), QStringList({"2024/1/5 员工甲 常", "2024/1/5 员工乙 休"}));
    EXPECT_EQ(rows("tj"), QStringList({"2024/1/5 员工甲 8:00:00"}));
    EXPECT_EQ(emptyShiftTables(), QStringList({"A", "B", "Z", "ZH", "Y"}));
    EXPECT_EQ(messages_.size(), 14);
}

TEST_F(StatisticsRunTest, NamesWithApostrophesAreCollectedLikeAnyOther) {
    makeSchedule(connection_, {"O'Brien", "张'三"}, {{"2024/1/5", {"A", "A"}}});
    addPunch(connection_, "2024/1/5", "8:00", "O'Brien");
    addPunch(connection_, "2024/1/5", "8:01", "张'三");
    addPunch(connection_, "2024/1/5", "8:02", "O");
    run();
    EXPECT_EQ(rows("A"), QStringList({"2024/1/5 O'Brien 8:00:00", "2024/1/5 张'三 8:01:00"}));
}

TEST_F(StatisticsRunTest, BlankCellsAndIncompletePunchesDoNotStopTheRun) {
    makeSchedule(connection_, {kJia, kYi}, {{"2024/1/5", {"A", QString()}}});
    addPunch(connection_, "2024/1/5", "", kJia);
    addPunch(connection_, "2024/1/5", "8:00", kJia);
    addPunch(connection_, "2024/1/5", "8:05", kYi);
    connection_.executeNative(
        "insert into ry (日期, 时间, 姓名) values (null, 0.5, '员工甲'), (45296, 0.5, null)");
    run();
    EXPECT_EQ(messages_, kSevenMessages);
    EXPECT_EQ(rows("yw"), QStringList({"2024/1/5 员工甲 A", "2024/1/5 员工乙 "}));
    EXPECT_EQ(rows("A"), QStringList({"2024/1/5 员工甲 8:00:00"}));
    EXPECT_EQ(emptyShiftTables(), QStringList({"tj", "B", "Z", "ZH", "Y"}));
}

TEST_F(StatisticsRunTest, LookupsBeyondSixteenBitCountsAreCollectedWhole) {
    makeSchedule(connection_, {kJia}, {{"2024/1/5", {"夜"}}});
    connection_.executeNative(
        "with recursive n(i) as (select 0 union all select i + 1 from n where i < 32999) "
        "insert into ry (日期, 时间, 姓名) select 45296, i / 86400.0, '员工甲' from n");
    const auto result = run();
    EXPECT_EQ(result.punches[5], 33000);
    EXPECT_EQ(connection_.open("select count(*) from Y").field(0).toText(), "33000");
    const auto last = connection_.open("select 时间 from Y order by rowid desc limit 1");
    EXPECT_EQ(last.field(0).toText(), "9:09:59");
}

TEST_F(StatisticsRunTest, FailingPassLeavesItsTableAsItWasAndStopsTheRun) {
    fillShiftTablesWithOldRows();
    makeSchedule(connection_, {kJia, kYi}, {{"2024/1/5", {"A", "早"}}});
    addPunch(connection_, "2024/1/5", "8:00", kJia);
    addPunch(connection_, "2024/1/5", "6:00", kYi);
    connection_.executeNative(
        "create trigger z_full before insert on Z begin select raise(abort, 'disk full'); end");

    EXPECT_THROW(run(), kq::Error);

    EXPECT_EQ(messages_, kSevenMessages.mid(0, 4));  // yw and the first three passes
    EXPECT_EQ(rows("A"), QStringList({"2024/1/5 员工甲 8:00:00"}));
    EXPECT_TRUE(rows("tj").isEmpty());
    EXPECT_EQ(rows("Z"), QStringList({"1899/12/31 old 12:00:00"}));  // untouched
    EXPECT_EQ(rows("ZH"), QStringList({"1899/12/31 old 12:00:00"}));
    // The working tables went with the failure.
    EXPECT_EQ(connection_.open("select count(*) from temp.sqlite_master").field(0).toText(), "0");
}

TEST_F(StatisticsRunTest, BadScheduleLayoutIsReportedBeforeAnythingChanges) {
    fillShiftTablesWithOldRows();
    connection_.executeNative("drop table yd; create table yd (员工甲 TEXT, 日期 DATETIME)");
    try {
        run();
        FAIL() << "the run accepted a schedule without 日期 first";
    } catch (const kq::Error& e) {
        EXPECT_EQ(e.kind(), kq::ErrorKind::BadSchedule);
    }
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_TRUE(emptyShiftTables().isEmpty());
}

TEST_F(StatisticsRunTest, PunchTableWithoutATimeColumnIsNamedInTheError) {
    makeSchedule(connection_, {kJia}, {{"2024/1/5", {"A"}}});
    connection_.executeNative("drop table ry; create table ry (日期 DATETIME, 姓名 TEXT)");
    try {
        run();
        FAIL() << "the run read punches without 时间";
    } catch (const kq::Error& e) {
        EXPECT_TRUE(e.description().contains("ry中没有“时间”列")) << e.description().toStdString();
    }
    // ry is read before the run writes anything: no pass has begun.
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_FALSE(kq::unfinishedStatisticsRun(connection_));
}

}  // namespace
