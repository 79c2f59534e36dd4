#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>

#include "GuiHarness.h"
#include "data/Connection.h"
#include "data/TableAppender.h"
#include "data/TableCatalogue.h"
#include "settings/Form2.h"
#include "stats/StatisticsRun.h"
#include "support/TableRows.h"

namespace {

using kq::test::GuiHarness;
using Kind = kq::ui::MessageBox::Kind;

// The fourteen shift-window times as pb holds them, in box order.
const QStringList kShiftTimes = {"7:30", "8:00", "13:00", "13:30", "8:00",  "12:00", "20:00",
                                 "8:00", "6:00", "7:00",  "14:00", "15:00", "22:00", "23:00"};

void punch(kq::Connection& c, const QString& date, const QString& time, const QString& name) {
    kq::test::appendRow(c, "ry", {"日期", "时间", "姓名"}, {date, time, name});
}

// pb, a schedule and punches in December 2026, then a statistics run: the
// employee 甲 works B on the 1st and the 7th and the regular shift on the
// 2nd; 乙, " " and O'Brien work A on the 3rd.
void fillDatabase(const QString& folder) {
    kq::Connection c(folder);
    kq::Transaction t(c);
    for (const QString& time : kShiftTimes) kq::test::appendRow(c, "pb", {"时间"}, {time});
    const QStringList employees = {"甲", "乙", " ", "O'Brien"};
    c.executeNative("drop table yd");
    QStringList columns = {"日期 DATETIME"};
    for (const QString& e : employees) columns << kq::quoteIdentifier(e) + " TEXT";
    c.executeNative("create table yd (" + columns.join(',') + ")");
    const QStringList ydColumns = QStringList{"日期"} + employees;
    kq::test::appendRow(c, "yd", ydColumns, {"2026/12/1", "B", "休", "休", "休"});
    kq::test::appendRow(c, "yd", ydColumns, {"2026/12/2", "常", "休", "休", "休"});
    kq::test::appendRow(c, "yd", ydColumns, {"2026/12/3", "休", "A", "A", "A"});
    kq::test::appendRow(c, "yd", ydColumns, {"2026/12/7", "B", "休", "休", "休"});
    for (const char* time : {"21:30", "6:15", "20:00", "8:00", "12:00"})
        punch(c, "2026/12/1", time, "甲");
    punch(c, "2026/12/7", "6:15", "甲");
    for (const char* time : {"7:50", "13:10", "10:00"}) punch(c, "2026/12/2", time, "甲");
    punch(c, "2026/12/3", "9:00", "乙");
    punch(c, "2026/12/3", "9:05", " ");
    punch(c, "2026/12/3", "9:10", "O'Brien");
    punch(c, "2026/12/3", "8:00", "O'Brien");
    t.commit();
    kq::runStatistics(c, [](const QString&) {});
}

// "日期 时间 姓名" of each result row.
QStringList resultRows(GuiHarness& h) { return kq::test::dateTimeNameRows(h.grid("MSHFlexGrid1")); }

QLineEdit* settingsBox(GuiHarness& h, int index) {
    return h.form().shiftSettings()->findChild<QLineEdit*>(QStringLiteral("Text1_%1").arg(index));
}

class QueriesTest : public ::testing::Test {
  protected:
    QueriesTest() { fillDatabase(h.folder.path()); }
    GuiHarness h{QDate(2026, 12, 6)};
};

TEST_F(QueriesTest, OvernightWindowListsTheNightWithinTheRange) {
    h.click("Command11");
    EXPECT_EQ(resultRows(h), (QStringList{"2026/12/1 21:30:00 甲", "2026/12/1 6:15:00 甲"}));
    EXPECT_EQ(h.frameTitle("Frame1"), "B班异常数：2行");
    // Loaded hidden from pb by the query.
    ASSERT_TRUE(h.form().isShiftSettingsLoaded());
    EXPECT_FALSE(h.form().shiftSettings()->isVisible());
    EXPECT_TRUE(h.messages.all().empty());
    // Pressing again shows the same; nothing accumulates.
    h.click("Command11");
    EXPECT_EQ(h.grid("MSHFlexGrid1")->rows(), 3);
    // The morning of the 7th is there, and listed once the range reaches it.
    h.child<QDateEdit>("DTPicker2")->setDate(QDate(2026, 12, 7));
    h.click("Command11");
    EXPECT_EQ(resultRows(h).last(), "2026/12/7 6:15:00 甲");
    EXPECT_EQ(h.frameTitle("Frame1"), "B班异常数：3行");
}

TEST_F(QueriesTest, EditedBoxIsWhatTheNextQueryUses) {
    h.click("Command10");
    EXPECT_EQ(resultRows(h), (QStringList{"2026/12/3 9:00:00 乙", "2026/12/3 9:05:00  ",
                                          "2026/12/3 9:10:00 O'Brien"}));
    EXPECT_EQ(h.frameTitle("Frame1"), "A班异常数：3行");

    // A start later than the end lists nothing: only the B shift wraps.
    settingsBox(h, 4)->setText("20:00");
    settingsBox(h, 5)->setText("8:00");
    h.click("Command10");
    EXPECT_EQ(h.grid("MSHFlexGrid1")->rows(), 1);
    EXPECT_EQ(h.grid("MSHFlexGrid1")->textMatrix(0, 1), "日期");  // the header stays
    EXPECT_EQ(h.frameTitle("Frame1"), "A班异常数：0行");

    settingsBox(h, 4)->setText("9:02");
    settingsBox(h, 5)->setText("9:10");
    h.click("Command10");
    EXPECT_EQ(resultRows(h), QStringList{"2026/12/3 9:05:00  "});
}

TEST_F(QueriesTest, ResultColumnsShowWholeInTheDefaultWindow) {
    h.form().show();
    QApplication::processEvents();
    h.click("Command10");
    kq::ui::FlexGrid* grid = h.grid("MSHFlexGrid1");
    ASSERT_EQ(grid->rows(), 4);
    // A cell's text is drawn inside this margin on each side, else elided.
    const int textMargin =
        grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    int total = grid->verticalHeader()->width();
    for (int c = 1; c < grid->cols(); ++c) {
        int widest =
            grid->horizontalHeader()->fontMetrics().horizontalAdvance(grid->textMatrix(0, c));
        for (int r = 1; r < grid->rows(); ++r)
            widest =
                std::max(widest, grid->fontMetrics().horizontalAdvance(grid->textMatrix(r, c)));
        EXPECT_GE(grid->columnWidth(c - 1), widest + 2 * textMargin)
            << grid->textMatrix(0, c).toStdString();
        total += grid->columnWidth(c - 1);
    }
    // 日期, 姓名 and 时间 side by side in the designed window.
    EXPECT_LE(total, grid->viewport()->width());
}

TEST_F(QueriesTest, RegularShiftButtonsEachApplyTheirOwnRow) {
    h.click("Command8");
    EXPECT_EQ(resultRows(h), QStringList{"2026/12/2 7:50:00 甲"});
    EXPECT_EQ(h.frameTitle("Frame1"), "常班上午异常数：1行");
    h.click("Command9");
    EXPECT_EQ(resultRows(h), QStringList{"2026/12/2 13:10:00 甲"});
    EXPECT_EQ(h.frameTitle("Frame1"), "常班下午异常数：1行");
}

TEST_F(QueriesTest, NameFilterTakesTheTextAsTyped) {
    auto* name = h.child<QLineEdit>("Text3");
    name->setText(" ");
    h.click("Command10");
    EXPECT_EQ(resultRows(h), QStringList{"2026/12/3 9:05:00  "});
    name->setText("O'Brien");
    h.click("Command10");
    EXPECT_EQ(resultRows(h), QStringList{"2026/12/3 9:10:00 O'Brien"});
    name->setText("甲");
    h.click("Command11");
    EXPECT_EQ(h.frameTitle("Frame1"), "B班异常数：2行");
    name->setText("乙");
    h.click("Command11");
    EXPECT_EQ(h.frameTitle("Frame1"), "B班异常数：0行");
    EXPECT_TRUE(h.messages.all().empty());
}

TEST_F(QueriesTest, BoxThatIsNotATimeIsNamedAndNothingChanges) {
    h.click("Command8");
    settingsBox(h, 7)->setText("Text1");
    h.click("Command11");
    ASSERT_EQ(h.messages.all().size(), 1u);
    const auto& message = h.messages.all()[0];
    EXPECT_EQ(message.kind, Kind::Exclamation);
    EXPECT_EQ(message.title, "提示");
    EXPECT_EQ(message.text,
              "B班的结束时间“Text1”不是有效的时间，无法查询B班异常。\n"
              "请在“班次设置”窗口“AB班”栏“B：”行右边的时间框（第8个时间框）中"
              "输入形如 8:00 的时间。");
    EXPECT_EQ(resultRows(h), QStringList{"2026/12/2 7:50:00 甲"});
    EXPECT_EQ(h.frameTitle("Frame1"), "常班上午异常数：1行");
}

TEST_F(QueriesTest, PunchQueryValidatesTheStartFirst) {
    h.form().show();
    const QString caption = h.frameTitle("Frame1");
    auto* start = h.child<QLineEdit>("Text1");
    auto* end = h.child<QLineEdit>("Text2");
    start->setText("");
    end->setText("abc");
    h.click("Command2");
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].text, "起始时间中，请输入正确格式的开始时间");
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Exclamation);
    EXPECT_EQ(h.messages.all()[0].title, "提示");
    EXPECT_EQ(start->text(), "");
    EXPECT_EQ(end->text(), "abc");  // not examined
    EXPECT_EQ(h.form().focusWidget(), start);
    EXPECT_EQ(h.frameTitle("Frame1"), caption);

    h.messages.clear();
    start->setText("8:00");
    end->setText("25:00");
    h.click("Command2");
    EXPECT_EQ(h.messages.texts(), QStringList{"结束时间中，请输入正确格式的结束时间"});
    EXPECT_EQ(start->text(), "8:00");
    EXPECT_EQ(end->text(), "");
    EXPECT_EQ(h.form().focusWidget(), end);
    EXPECT_EQ(h.grid("MSHFlexGrid1")->rows(), 2);  // never bound
}

TEST_F(QueriesTest, PunchQueryListsRecountsAndAnnounces) {
    h.click("Command2");  // 0:00 to 23:59, 1 to 6 December: all but the 7th
    EXPECT_EQ(h.frameTitle("Frame1"), "异常打卡记录条数：12行");
    EXPECT_EQ(h.frameTitle("Frame4"), "导入数据记录条数：1行");  // the unbound grid: 2 rows
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].text, "统计完成");
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Information);
    EXPECT_EQ(h.messages.all()[0].title, "提示");

    // Frame4 follows whatever the imported-data grid holds now.
    {
        kq::Connection c(h.folder.path());
        h.grid("MSHFlexGrid2")->setDataSource(c.open("select * from yd "));
    }
    h.child<QLineEdit>("Text1")->setText("13:00");
    h.child<QLineEdit>("Text2")->setText("8:00");
    h.messages.clear();
    h.click("Command2");
    EXPECT_EQ(h.grid("MSHFlexGrid1")->rows(), 1);
    EXPECT_EQ(h.frameTitle("Frame1"), "异常打卡记录条数：0行");
    EXPECT_EQ(h.frameTitle("Frame4"), "导入数据记录条数：4行");
    EXPECT_EQ(h.messages.texts(), QStringList{"统计完成"});

    h.child<QLineEdit>("Text1")->setText("8:00");
    h.child<QLineEdit>("Text2")->setText("21:30");
    h.child<QLineEdit>("Text3")->setText("甲");
    h.click("Command2");
    EXPECT_EQ(resultRows(h), (QStringList{"2026/12/1 20:00:00 甲", "2026/12/1 12:00:00 甲",
                                          "2026/12/2 13:10:00 甲", "2026/12/2 10:00:00 甲"}));
}

}  // namespace
