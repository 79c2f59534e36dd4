// The whole chain from the clerk's workbooks to the anomaly lists: the three
// imports, the statistics run, the seven shift buttons and the punch query,
// for the same month written by xlwt, by LibreOffice with formula dates,
// saved as .xlsx, saved as .csv, and with the schedule as a titled month grid.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "GuiHarness.h"
#include "settings/Form2.h"

namespace {

using kq::test::GuiHarness;

struct MonthFiles {
    const char* label;
    const char* ry;
    const char* yd;
    const char* pb;
};

void PrintTo(const MonthFiles& files, std::ostream* out) { *out << files.label; }

// The month (tests/fixtures/make_fixtures.py): 1 to 3 December 2026;
// 王伟 and " 王伟" are two people. Anomalies lie strictly inside a window:
// 常 8:00-12:00 and 13:30-17:30, A 8:00-16:00, B after 20:00 or before 8:00,
// 早 6:00-14:00, 中 14:00-22:00, 夜 22:00-23:59:59.
struct Expected {
    const char* button;
    const char* caption;
    QStringList rows;  // 日期 时间 姓名
};
const std::vector<Expected> kShiftQueries = {
    {"Command8", "常班上午异常数：2行", {"2026/12/1 9:00:00 王伟", "2026/12/3 8:30:00  王伟"}},
    {"Command9", "常班下午异常数：2行", {"2026/12/1 14:00:00 王伟", "2026/12/3 15:00:00  王伟"}},
    {"Command10", "A班异常数：2行", {"2026/12/1 10:00:00  王伟", "2026/12/3 12:00:00 李娜"}},
    {"Command11", "B班异常数：1行", {"2026/12/1 20:30:00 李娜"}},
    {"Command12", "早班异常数：1行", {"2026/12/2 13:00:00 王伟"}},
    {"Command13", "中班异常数：1行", {"2026/12/2 14:30:00  王伟"}},
    {"Command14", "夜班异常数：1行", {"2026/12/2 23:00:00 李娜"}},
};

QStringList gridRows(kq::ui::FlexGrid* grid) {
    QStringList rows = kq::test::dateTimeNameRows(grid);
    rows.sort();
    return rows;
}

class WorkbookChainTest : public ::testing::TestWithParam<MonthFiles> {};

TEST_P(WorkbookChainTest, ImportsStatisticsAndEveryQueryGiveTheMonthsCounts) {
    const MonthFiles files = GetParam();
    GuiHarness h;
    const auto place = [&](const char* fixture, const char* table) {
        const QString name = QString::fromUtf8(fixture);
        h.folder.addFixture(name, QString::fromUtf8(table) + name.mid(name.lastIndexOf('.')));
    };
    place(files.ry, "ry");
    place(files.yd, "yd");
    place(files.pb, "pb");

    h.click("Command1");
    EXPECT_EQ(h.frameTitle("Frame4"), "导入数据记录条数：21行");
    // 23:59:59.6 stays on its day as 23:59:59.
    EXPECT_TRUE(gridRows(h.grid("MSHFlexGrid2")).contains("2026/12/2 23:59:59 李娜"));
    h.click("Command4");
    // pb through "保存设置", then the window is closed so the queries load
    // it again from pb.
    h.click("Command6");
    Form2* settings = h.form().shiftSettings();
    settings->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    settings->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(h.messages.texts().contains("排班设置更新完成"));
    EXPECT_EQ(h.messages.texts().mid(0, 2), QStringList({"数据更新完成", "排班数据更新完成"}));

    h.messages.clear();
    h.click("Command5");
    EXPECT_EQ(h.messages.texts().size(), 7);
    EXPECT_EQ(h.messages.texts().last(), "夜班统计数据更新完成");

    for (const Expected& query : kShiftQueries) {
        h.click(query.button);
        EXPECT_EQ(h.frameTitle("Frame1"), query.caption) << query.button;
        EXPECT_EQ(gridRows(h.grid("MSHFlexGrid1")), query.rows) << query.button;
    }

    h.child<QLineEdit>("Text1")->setText("21:00");
    h.child<QLineEdit>("Text2")->setText("23:59:59");
    h.click("Command2");
    EXPECT_EQ(gridRows(h.grid("MSHFlexGrid1")),
              QStringList({"2026/12/2 21:50:00 李娜", "2026/12/2 22:10:00  王伟",
                           "2026/12/2 23:00:00 李娜"}));
    EXPECT_EQ(h.frameTitle("Frame1"), "异常打卡记录条数：3行");
}

INSTANTIATE_TEST_SUITE_P(
    SameMonth, WorkbookChainTest,
    ::testing::Values(
        MonthFiles{"xlwt", "month_ry.xls", "month_yd.xls", "month_pb.xls"},
        MonthFiles{"LibreOfficeFormulaDates", "month_ry.xls", "month_yd_formulas.xls",
                   "month_pb.xls"},
        MonthFiles{"Xlsx", "month_ry.xlsx", "month_yd.xlsx", "month_pb.xlsx"},
        MonthFiles{"XlsxFormulaDates", "month_ry.xlsx", "month_yd_formulas.xlsx", "month_pb.xlsx"},
        MonthFiles{"MonthGridSchedule", "month_ry.xls", "shape_grid_yd.xlsx", "month_pb.xls"},
        MonthFiles{"Csv", "month_ry.csv", "month_yd.csv", "month_pb.csv"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
