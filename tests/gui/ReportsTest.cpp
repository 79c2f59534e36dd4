#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLineEdit>
#include <QTabWidget>

#include "GuiHarness.h"
#include "data/Connection.h"
#include "reports/ReportPrerequisites.h"
#include "settings/Form2.h"
#include "stats/StatisticsRun.h"
#include "support/ReportMonth.h"

namespace {

using kq::test::GuiHarness;
using Kind = kq::ui::MessageBox::Kind;

// The result grid's data rows, cells joined by "|" (column 0 is the fixed one).
QStringList gridRows(GuiHarness& h, int from = 0) {
    kq::ui::FlexGrid* grid = h.grid("MSHFlexGrid1");
    QStringList rows;
    for (int r = from; r < grid->rows(); ++r) {
        QStringList cells;
        for (int c = 1; c < grid->cols(); ++c) cells << grid->textMatrix(r, c);
        rows << cells.join('|');
    }
    return rows;
}

TEST(ReportsPage, BothButtonsOverTheWorkedMonth) {
    GuiHarness h(QDate(2026, 12, 6));
    auto* tabs = h.child<QTabWidget>("SSTab1");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(2), "汇总");
    EXPECT_EQ(h.button("Command15")->text(), "缺卡名单");
    EXPECT_EQ(h.button("Command16")->text(), "人员汇总");
    EXPECT_EQ(tabs->widget(2), h.button("Command15")->parentWidget());
    EXPECT_EQ(h.button("Command3")->nextInFocusChain(), h.button("Command15"));
    EXPECT_EQ(h.button("Command15")->nextInFocusChain(), h.button("Command16"));

    // Before a statistics run: a message, and the grid stays as it was.
    kq::test::fillReportMonth(h.folder.path(), false);
    for (const char* button : {"Command15", "Command16"}) {
        h.messages.clear();
        h.click(button);
        ASSERT_EQ(h.messages.all().size(), 1u) << button;
        EXPECT_EQ(h.messages.all()[0].kind, Kind::Exclamation);
        EXPECT_EQ(h.messages.all()[0].text, kq::reports::kNoScheduleEntriesMessage);
        EXPECT_EQ(h.grid("MSHFlexGrid1")->rows(), 2);
    }
    {
        kq::Connection c(h.folder.path());
        kq::runStatistics(c, [](const QString&) {});
    }
    h.messages.clear();
    h.child<QDateEdit>("DTPicker2")->setDate(QDate(2026, 12, 4));

    h.click("Command15");
    EXPECT_EQ(gridRows(h), (QStringList{
                               "日期|姓名|班次|打卡次数|打卡时间",
                               "2026/12/2|李四|中|1|14:30:00",
                               "2026/12/3|张三|A|0|",
                               "2026/12/4|王五|B|1|20:05:00",
                               "2026/12/4|O'Brien|A|1|7:59:00",
                           }));
    EXPECT_EQ(h.frameTitle("Frame1"), "缺卡记录数：4行");

    h.click("Command16");
    EXPECT_EQ(
        gridRows(h).first(),
        "姓名|排班天数|缺卡天数|常班上异常|常班下异常|A班异常|B班异常|早班异常|中班异常|夜班异常");
    EXPECT_EQ(gridRows(h, 1), (QStringList{
                                  "张三|4|1|1|1|0|0|1|0|1",
                                  "李四|3|1|1|0|1|0|0|1|0",
                                  "王五|4|1|0|0|0|2|0|0|0",
                                  "O'Brien|3|1|0|0|0|0|0|1|0",
                              }));
    EXPECT_EQ(h.frameTitle("Frame1"), "人员汇总：4人");
    // Loaded hidden from pb, as a shift button would.
    EXPECT_TRUE(h.form().isShiftSettingsLoaded());
    EXPECT_FALSE(h.form().shiftSettings()->isVisible());

    h.child<QLineEdit>("Text3")->setText("O'Brien");
    h.click("Command15");
    EXPECT_EQ(gridRows(h, 1), QStringList{"2026/12/4|O'Brien|A|1|7:59:00"});
    EXPECT_EQ(h.frameTitle("Frame1"), "缺卡记录数：1行");
    h.click("Command16");
    EXPECT_EQ(h.frameTitle("Frame1"), "人员汇总：1人");
    EXPECT_TRUE(h.messages.all().empty());
}

}  // namespace
