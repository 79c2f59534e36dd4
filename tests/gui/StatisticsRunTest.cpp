#include <gtest/gtest.h>

#include <QApplication>

#include "GuiHarness.h"
#include "data/Connection.h"
#include "data/TableAppender.h"
#include "data/TableCatalogue.h"
#include "support/TableRows.h"

namespace {

using kq::test::GuiHarness;
using Kind = kq::ui::MessageBox::Kind;

const QStringList kSevenMessages = {"排班设置一维取数更新完成", "常班统计数据更新完成",
                                    "A班统计数据更新完成",      "B班统计数据更新完成",
                                    "早班统计数据更新完成",     "中班统计数据更新完成",
                                    "夜班统计数据更新完成"};

// yd: 员工甲 on A on 2024-01-05 and resting on the 6th; ry: his two punches
// of the 5th, one of the 6th and one of 员工乙, who is not scheduled.
void fillWorkedExample(const QString& folder) {
    kq::Connection c(folder);
    c.executeNative("drop table yd; create table yd (日期 DATETIME, 员工甲 TEXT)");
    kq::test::appendRow(c, "yd", {"日期", "员工甲"}, {"2024-01-05", "A"});
    kq::test::appendRow(c, "yd", {"日期", "员工甲"}, {"2024-01-06", "休"});
    const QStringList columns = {"日期", "时间", "姓名"};
    kq::test::appendRow(c, "ry", columns, {"2024/1/5", "7:58", "员工甲"});
    kq::test::appendRow(c, "ry", columns, {"2024/1/5", "16:05", "员工甲"});
    kq::test::appendRow(c, "ry", columns, {"2024/1/6", "8:10", "员工甲"});
    kq::test::appendRow(c, "ry", columns, {"2024/1/5", "7:55", "员工乙"});
}

qsizetype rowCount(const QString& folder, const QString& table) {
    kq::Connection c(folder);
    return c.open("select * from " + kq::quoteIdentifier(table)).recordCount();
}

TEST(StatisticsRunTest, WorkedExampleAnnouncesEveryStageAndCountsTheGrids) {
    GuiHarness h;
    fillWorkedExample(h.folder.path());
    {
        kq::Connection c(h.folder.path());
        h.grid("MSHFlexGrid2")->setDataSource(c.open("select * from ry "));  // 4 punches shown
    }
    // While each message is up: the stage it reports is already stored, and
    // the user is not shown a busy cursor.
    QStringList seenInA;
    bool busyWhileShown = false;
    h.messages.onMessage([&](const auto&) {
        seenInA << QString::number(rowCount(h.folder.path(), "A"));
        busyWhileShown = busyWhileShown || QApplication::overrideCursor() != nullptr;
    });
    h.button("Command5")->setEnabled(true);  // as the schedule import leaves it
    h.click("Command5");

    EXPECT_EQ(h.messages.texts(), kSevenMessages);
    for (const auto& m : h.messages.all()) {
        EXPECT_EQ(m.kind, Kind::Information);
        EXPECT_EQ(m.title, "提示");
    }
    EXPECT_EQ(seenInA, QStringList({"0", "0", "2", "2", "2", "2", "2"}));
    EXPECT_FALSE(busyWhileShown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    EXPECT_EQ(rowCount(h.folder.path(), "yw"), 2);
    {
        kq::Connection c(h.folder.path());
        auto a = c.open("select 日期, 姓名, 时间 from A order by rowid");
        QStringList rows;
        for (; !a.eof(); a.moveNext())
            rows << a.field(0).toText() + ' ' + a.field(1).toText() + ' ' + a.field(2).toText();
        EXPECT_EQ(rows, QStringList({"2024/1/5 员工甲 7:58:00", "2024/1/5 员工甲 16:05:00"}));
    }
    for (const QString table : {"tj", "B", "Z", "ZH", "Y"})
        EXPECT_EQ(rowCount(h.folder.path(), table), 0) << table.toStdString();

    // The grids keep what they showed; the unbound result grid has its two
    // default rows.
    EXPECT_EQ(h.grid("MSHFlexGrid1")->rows(), 2);
    EXPECT_EQ(h.frameTitle("Frame1"), "异常打卡记录条数：1行");
    EXPECT_EQ(h.frameTitle("Frame4"), "导入数据记录条数：4行");
    EXPECT_TRUE(h.button("Command5")->isEnabled());
}

TEST(StatisticsRunTest, ANameThatNeverMeetsIsPointedOutAfterEveryRun) {
    GuiHarness h;
    {
        // The clock wrote 员工甲 with a full-width blank after the name.
        kq::Connection c(h.folder.path());
        c.executeNative("drop table yd; create table yd (日期 DATETIME, 员工甲 TEXT)");
        kq::test::appendRow(c, "yd", {"日期", "员工甲"}, {"2024-01-05", "A"});
        kq::test::appendRow(c, "ry", {"日期", "时间", "姓名"},
                            {"2024/1/5", "7:58", QStringLiteral("员工甲\u3000")});
    }
    h.button("Command5")->setEnabled(true);
    for (int run = 0; run < 2; ++run) {
        h.messages.clear();
        h.click("Command5");
        ASSERT_EQ(h.messages.all().size(), 8u);
        EXPECT_EQ(h.messages.texts().mid(0, 7), kSevenMessages);
        const auto& hint = h.messages.all().back();
        EXPECT_EQ(hint.kind, Kind::Exclamation);
        EXPECT_EQ(hint.title, "提示");
        EXPECT_EQ(hint.text,
                  QStringLiteral("排班表中的“员工甲”没有打卡记录；打卡记录中有“员工甲\u3000”"
                                 "（多了空格）\n以上均未更改。如是同一人或同一班次，"
                                 "请改正工作簿后重新导入并统计。"));
    }
    EXPECT_EQ(rowCount(h.folder.path(), "A"), 0);  // nothing renamed
}

TEST(StatisticsRunTest, BadScheduleIsReportedAndLeavesCaptionsAndTablesAlone) {
    GuiHarness h;
    {
        kq::Connection c(h.folder.path());
        c.executeNative("drop table yd; create table yd (员工甲 TEXT, 日期 DATETIME)");
        kq::test::appendRow(c, "A", {"日期", "姓名", "时间"}, {"2024/1/5", "员工甲", "8:00"});
    }
    const QString frame1 = h.frameTitle("Frame1");
    h.form().Command5_Click();

    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Error);
    EXPECT_TRUE(h.messages.all()[0].text.contains("第一列必须是“日期”"))
        << h.messages.all()[0].text.toStdString();
    EXPECT_EQ(h.frameTitle("Frame1"), frame1);
    EXPECT_EQ(rowCount(h.folder.path(), "A"), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(StatisticsRunTest, ARunThatDidNotFinishIsToldAtStartAndWithEachShiftQuery) {
    GuiHarness h;
    fillWorkedExample(h.folder.path());
    {
        kq::Connection c(h.folder.path());
        for (int i = 0; i < 14; ++i) kq::test::appendRow(c, "pb", {"时间"}, {"0:00"});
    }
    // The program goes down while the A pass's message is up.
    h.messages.onMessage([](const auto& m) {
        if (m.text == QStringLiteral("A班统计数据更新完成")) throw std::runtime_error("gone");
    });
    h.button("Command5")->setEnabled(true);
    h.click("Command5");
    h.messages.onMessage({});

    h.restart();
    h.messages.clear();
    h.form().checkDatabase();
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all().front().kind, Kind::Exclamation);
    EXPECT_TRUE(h.messages.texts().front().contains("请重新点击“开始统计”"));

    // The query still shows what the table holds, and says it may mix runs.
    h.messages.clear();
    h.click("Command10");
    EXPECT_EQ(h.frameTitle("Frame1"), "A班异常数：0行");
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_TRUE(h.messages.texts().front().contains("可能一部分来自这次统计"));

    // A whole run ends the warnings.
    h.button("Command5")->setEnabled(true);
    h.click("Command5");
    h.messages.clear();
    h.click("Command10");
    h.form().checkDatabase();
    EXPECT_TRUE(h.messages.all().empty()) << h.messages.texts().join(" | ").toStdString();
}

}  // namespace
