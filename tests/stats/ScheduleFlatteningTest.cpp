#include <gtest/gtest.h>

#include "StatsData.h"
#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "stats/ScheduleFlattening.h"
#include "support/TestFolder.h"

using kq::ScheduleEntry;
using kq::test::makeSchedule;
using kq::test::tableRows;

namespace {

const QString kJia = QStringLiteral("员工甲");
const QString kYi = QStringLiteral("员工乙");

class ScheduleFlatteningTest : public ::testing::Test {
  protected:
    kq::test::TestFolder folder_;
    kq::Connection connection_{folder_.path()};
};

TEST_F(ScheduleFlatteningTest, EntriesRunRowByRowThenLeftToRightAndFillYw) {
    makeSchedule(connection_, {kJia, kYi},
                 {{"2024-01-05", {"A", "早"}}, {"2024-01-06", {"B", "休"}}});
    const std::vector<ScheduleEntry> expected = {{"2024/1/5", kJia, "A"},
                                                 {"2024/1/5", kYi, "早"},
                                                 {"2024/1/6", kJia, "B"},
                                                 {"2024/1/6", kYi, "休"}};
    const auto entries = kq::flattenSchedule(connection_);
    EXPECT_EQ(entries, expected);

    kq::writeScheduleEntries(connection_, entries);
    EXPECT_EQ(tableRows(connection_, "yw"),
              QStringList({"2024/1/5 员工甲 A", "2024/1/5 员工乙 早", "2024/1/6 员工甲 B",
                           "2024/1/6 员工乙 休"}));
    // 日期 holds the day itself, as the long-date text reads.
    auto day = connection_.open("select 日期 from yw where 班次 = 'A'");
    EXPECT_EQ(day.field(0), kq::Value::dateTime(45296));
}

TEST_F(ScheduleFlatteningTest, CodesAreKeptExactlyAndBlankCellsBecomeEmptyCodes) {
    makeSchedule(connection_, {kJia, kYi, "员工丙"}, {{"2024/1/5", {" A", "a ", QString()}}});
    const auto entries = kq::flattenSchedule(connection_);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].code, " A");
    EXPECT_EQ(entries[1].code, "a ");
    EXPECT_EQ(entries[2].code, "");

    kq::writeScheduleEntries(connection_, entries);
    auto codes = connection_.open("select 班次 from yw order by rowid");
    EXPECT_EQ(codes.field(0).textValue(), " A");
    codes.moveNext();
    codes.moveNext();
    EXPECT_EQ(codes.field(0), kq::Value::text(""));  // an empty code, not a missing one
}

TEST_F(ScheduleFlatteningTest, ScheduleWithoutEmployeesOrRowsGivesNoEntriesAndEmptiesYw) {
    kq::writeScheduleEntries(connection_, {{"2024/1/5", kJia, "A"}});
    makeSchedule(connection_, {}, {{"2024/1/5", {}}, {"2024/1/6", {}}});
    EXPECT_TRUE(kq::flattenSchedule(connection_).empty());

    makeSchedule(connection_, {kJia}, {});
    const auto entries = kq::flattenSchedule(connection_);
    EXPECT_TRUE(entries.empty());
    kq::writeScheduleEntries(connection_, entries);
    EXPECT_TRUE(tableRows(connection_, "yw").isEmpty());
}

TEST_F(ScheduleFlatteningTest, BlankSheetLinesArePassedOverButADatelessRowWithCodesIsReported) {
    makeSchedule(connection_, {kJia}, {{"2024/1/5", {"A"}}, {"", {QString()}}});
    EXPECT_EQ(kq::flattenSchedule(connection_).size(), 1u);

    makeSchedule(connection_, {kJia}, {{"2024/1/5", {"A"}}, {"", {"B"}}});
    try {
        kq::flattenSchedule(connection_);
        FAIL() << "a row with codes but no date was accepted";
    } catch (const kq::Error& e) {
        EXPECT_EQ(e.kind(), kq::ErrorKind::BadSchedule);
        EXPECT_TRUE(e.description().contains("第2条记录")) << e.description().toStdString();
    }
}

TEST_F(ScheduleFlatteningTest, DateNotInFirstColumnIsReportedClearly) {
    connection_.executeNative("drop table yd; create table yd (员工甲 TEXT, 日期 DATETIME)");
    try {
        kq::flattenSchedule(connection_);
        FAIL() << "a schedule without 日期 first was accepted";
    } catch (const kq::Error& e) {
        EXPECT_EQ(e.kind(), kq::ErrorKind::BadSchedule);
        EXPECT_TRUE(e.description().contains("第一列必须是“日期”"));
        EXPECT_TRUE(e.description().contains("第2列"));
    }
    connection_.executeNative("drop table yd; create table yd (Date DATETIME, 员工甲 TEXT)");
    EXPECT_THROW(kq::flattenSchedule(connection_), kq::Error);
}

TEST_F(ScheduleFlatteningTest, SchedulesBeyondSixteenBitCountsAreFlattenedWhole) {
    // 200 employees on 170 days: 34,000 entries.
    QStringList employees;
    for (int i = 0; i < 200; ++i) employees << QStringLiteral("员工%1").arg(i);
    std::vector<kq::test::ScheduleRow> rows;
    const QStringList codes(200, "A");
    for (int d = 0; d < 170; ++d)
        rows.push_back({kq::datetime::shortDate(QDate(2024, 1, 1).addDays(d)), codes});
    makeSchedule(connection_, employees, rows);

    const auto entries = kq::flattenSchedule(connection_);
    ASSERT_EQ(entries.size(), 34000u);
    EXPECT_EQ(entries.back(), (ScheduleEntry{"2024/6/18", "员工199", "A"}));
    kq::writeScheduleEntries(connection_, entries);
    EXPECT_EQ(connection_.open("select count(*) from yw").field(0).toText(), "34000");
}

}  // namespace
