#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>

#include "GuiHarness.h"
#include "data/Connection.h"
#include "settings/Form2.h"

namespace {

using kq::test::GuiHarness;
using Kind = kq::ui::MessageBox::Kind;

int rowsIn(const QString& folder, const QString& table) {
    kq::Connection connection(folder);
    return int(connection.open(QStringLiteral("select * from %1 ").arg(table)).recordCount());
}

TEST(Form1Start, ShowsTheMonthSoFarAndTheFirstStepOnly) {
    GuiHarness h(QDate(2026, 12, 6));
    EXPECT_EQ(h.form().windowTitle(), "Veltrane打卡异常统计");
    EXPECT_EQ(h.child<QDateEdit>("DTPicker1")->date(), QDate(2026, 12, 1));
    EXPECT_EQ(h.child<QDateEdit>("DTPicker2")->date(), QDate(2026, 12, 6));
    EXPECT_TRUE(h.button("Command1")->isEnabled());
    EXPECT_FALSE(h.button("Command4")->isEnabled());
    EXPECT_FALSE(h.button("Command5")->isEnabled());
    EXPECT_EQ(h.child<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_EQ(h.child<QLineEdit>("Text1")->text(), "0:00");
    EXPECT_EQ(h.child<QLineEdit>("Text2")->text(), "23:59");
    // Unbound grids: two rows and two columns, one of each fixed.
    EXPECT_EQ(h.grid("MSHFlexGrid1")->rows(), 2);
    EXPECT_EQ(h.grid("MSHFlexGrid1")->cols(), 2);
    EXPECT_TRUE(h.messages.all().empty());
}

TEST(Form1Start, OnTheFirstOfAMonthBothDatesAreEqual) {
    GuiHarness h(QDate(2027, 3, 1));
    EXPECT_EQ(h.child<QDateEdit>("DTPicker1")->date(), QDate(2027, 3, 1));
    EXPECT_EQ(h.child<QDateEdit>("DTPicker2")->date(), QDate(2027, 3, 1));
}

TEST(Form1Close, NoKeepsTheWindowYesEndsItAndTheSettingsWindow) {
    GuiHarness h;
    h.form().show();
    h.child<QLineEdit>("Text3")->setText(QStringLiteral("员工甲"));
    h.messages.answerNext(QMessageBox::No);
    EXPECT_FALSE(h.form().close());
    EXPECT_TRUE(h.form().isVisible());
    EXPECT_EQ(h.child<QLineEdit>("Text3")->text(), "员工甲");
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].text, "你真的想退出吗？");
    EXPECT_EQ(h.messages.all()[0].title, "退出提示");
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Question);

    h.click("Command6");
    ASSERT_TRUE(h.form().isShiftSettingsLoaded());
    h.messages.clear();
    h.messages.answerNext(QMessageBox::Yes);
    EXPECT_TRUE(h.form().close());
    EXPECT_FALSE(h.form().isVisible());
    EXPECT_FALSE(h.form().isShiftSettingsLoaded());
    // No further question from the settings window.
    EXPECT_EQ(h.messages.texts(), QStringList{"你真的想退出吗？"});
}

TEST(Form1Settings, OpeningTwiceShowsTheSameWindow) {
    GuiHarness h;
    h.click("Command6");
    Form2* first = h.form().shiftSettings();
    EXPECT_TRUE(first->isVisible());
    h.click("Command6");
    EXPECT_EQ(h.form().shiftSettings(), first);
    EXPECT_EQ(h.form().findChildren<Form2*>().size(), 1);
}

TEST(Form1Import, PunchImportShowsTheRowsCountsAndEnablesTheSchedule) {
    GuiHarness h;
    h.folder.addFixture(QStringLiteral("ry_3punches.xls"), QStringLiteral("ry.xls"));
    h.click("Command1");
    EXPECT_EQ(rowsIn(h.folder.path(), "ry"), 3);
    auto* grid = h.grid("MSHFlexGrid2");
    EXPECT_EQ(grid->rows(), 4);
    EXPECT_EQ(grid->cols(), 5);  // fixed column + 日期, 时间, 姓名, 部门
    EXPECT_EQ(grid->textMatrix(0, 1), "日期");
    EXPECT_EQ(grid->textMatrix(0, 4), "部门");
    EXPECT_EQ(grid->textMatrix(1, 1), "2024/1/5");
    EXPECT_EQ(grid->textMatrix(1, 2), "7:58:00");
    EXPECT_EQ(grid->textMatrix(2, 3), "张'三");
    EXPECT_EQ(h.frameTitle("Frame4"), "导入数据记录条数：3行");
    ASSERT_EQ(h.messages.texts(), QStringList{"数据更新完成"});
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Information);
    EXPECT_EQ(h.messages.all()[0].title, "提示");
    EXPECT_TRUE(h.button("Command4")->isEnabled());
    EXPECT_FALSE(h.button("Command5")->isEnabled());
    // The narrow first column and the time column keep the widths set at start.
    EXPECT_LE(grid->colWidth(0), 15);
    EXPECT_EQ(grid->colWidth(3), 1155);
}

TEST(Form1Import, SecondShorterImportReplacesTheRows) {
    GuiHarness h;
    h.folder.addFixture(QStringLiteral("ry_3punches.xls"), QStringLiteral("ry.xls"));
    h.click("Command1");
    h.folder.addFixture(QStringLiteral("ry_1punch.xls"), QStringLiteral("ry.xls"));
    h.click("Command1");
    EXPECT_EQ(rowsIn(h.folder.path(), "ry"), 1);
    EXPECT_EQ(h.grid("MSHFlexGrid2")->rows(), 2);
    EXPECT_EQ(h.grid("MSHFlexGrid2")->textMatrix(1, 3), "王五");
    EXPECT_EQ(h.frameTitle("Frame4"), "导入数据记录条数：1行");
}

TEST(Form1Import, MissingWorkbookKeepsTheTableTheGridAndTheButtons) {
    GuiHarness h;
    h.folder.addFixture(QStringLiteral("ry_3punches.xls"), QStringLiteral("ry.xls"));
    h.click("Command1");
    h.restart();  // a new session: the schedule button is disabled again
    QFile::remove(h.folder.file(QStringLiteral("ry.xls")));
    h.messages.clear();
    h.click("Command1");
    EXPECT_EQ(rowsIn(h.folder.path(), "ry"), 3);
    EXPECT_FALSE(h.button("Command4")->isEnabled());
    EXPECT_EQ(h.grid("MSHFlexGrid2")->rows(), 2);
    EXPECT_EQ(h.frameTitle("Frame4"), "已导入数据");
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Error);
    EXPECT_TRUE(h.messages.all()[0].text.contains(QStringLiteral("ry.xls")));
    // The failed import can be repeated once the workbook is back.
    h.folder.addFixture(QStringLiteral("ry_1punch.xls"), QStringLiteral("ry.xls"));
    h.click("Command1");
    EXPECT_EQ(rowsIn(h.folder.path(), "ry"), 1);
    EXPECT_TRUE(h.button("Command4")->isEnabled());
}

TEST(Form1Import, SheetNamedSheet1WithCapitalImports) {
    GuiHarness h;
    h.folder.addFixture(QStringLiteral("ry_Sheet1.xls"), QStringLiteral("ry.xls"));
    h.click("Command1");
    EXPECT_EQ(h.frameTitle("Frame4"), "导入数据记录条数：2行");
    EXPECT_EQ(h.grid("MSHFlexGrid2")->textMatrix(0, 4), "卡号");
}

TEST(Form1Import, WorkbookWithoutANeededColumnIsRefusedByName) {
    GuiHarness h;
    h.folder.addFixture(QStringLiteral("ry_3punches.xls"), QStringLiteral("ry.xls"));
    h.click("Command1");
    h.folder.addFixture(QStringLiteral("ry_no_name.xls"), QStringLiteral("ry.xls"));
    h.messages.clear();
    h.click("Command1");
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_TRUE(h.messages.all()[0].text.contains(QStringLiteral("姓名")));
    EXPECT_TRUE(h.messages.all()[0].text.contains(QStringLiteral("ry.xls")));
    EXPECT_EQ(rowsIn(h.folder.path(), "ry"), 3);
    EXPECT_EQ(h.frameTitle("Frame4"), "导入数据记录条数：3行");
}

TEST(Form1Import, ScheduleImportOnlyAnnouncesAndEnablesTheRun) {
    GuiHarness h;
    h.folder.addFixture(QStringLiteral("ry_3punches.xls"), QStringLiteral("ry.xls"));
    h.folder.addFixture(QStringLiteral("yd_2days.xls"), QStringLiteral("yd.xls"));
    h.click("Command4");  // disabled until the punches are in: nothing happens
    EXPECT_TRUE(h.messages.all().empty());
    h.click("Command1");
    h.click("Command4");
    EXPECT_EQ(h.messages.texts(), (QStringList{"数据更新完成", "排班数据更新完成"}));
    EXPECT_TRUE(h.button("Command5")->isEnabled());
    EXPECT_EQ(rowsIn(h.folder.path(), "yd"), 2);
    EXPECT_EQ(h.grid("MSHFlexGrid2")->textMatrix(0, 3), "姓名");  // still the punches
    EXPECT_EQ(h.frameTitle("Frame4"), "导入数据记录条数：3行");
}

// The file as it lies in the folder, byte for byte.
QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Form1Database, ADamagedFileIsSetAsideOnlyOnTheClerksYes) {
    GuiHarness h;
    h.folder.addFixture("ry_3punches.xls", "ry.xls");
    const QString db = h.folder.file("KQ.db");
    const QByteArray garbage(20000, 'x');
    {
        QFile file(db);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(garbage);
    }

    // At start: the clerk is asked, answers No, and nothing changes.
    h.messages.answerNext(QMessageBox::No);
    h.form().checkDatabase();
    ASSERT_EQ(h.messages.all().size(), 1u);
    const auto& question = h.messages.all().front();
    EXPECT_EQ(question.kind, Kind::Question);
    EXPECT_TRUE(question.text.contains(QDir::toNativeSeparators(db)));
    EXPECT_TRUE(question.text.contains("KQ.db.damaged-"));
    EXPECT_TRUE(question.text.contains("ry.xls、yd.xls、pb.xls"));
    EXPECT_FALSE(question.text.contains("not a database"));
    EXPECT_TRUE(question.details.contains("not a database"));
    EXPECT_EQ(QDir(h.folder.path()).entryList(QDir::Files), QStringList({"KQ.db", "ry.xls"}));
    EXPECT_EQ(bytesOf(db), garbage);

    // A shift query asks once, not again through the settings window.
    h.messages.clear();
    h.messages.answerNext(QMessageBox::No);
    h.click("Command10");
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all().front().kind, Kind::Question);
    EXPECT_EQ(bytesOf(db), garbage);

    // 更新打卡 meets the same file; Yes sets it aside under the name asked
    // about and starts a fresh database.
    h.messages.clear();
    h.click("Command1");
    ASSERT_EQ(h.messages.all().size(), 2u);
    const QString asked = h.messages.all()[0].text;
    const QStringList aside = QDir(h.folder.path()).entryList({"KQ.db.damaged-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(asked.contains("“" + aside.front() + "”"));
    EXPECT_TRUE(
        QRegularExpression("^KQ\\.db\\.damaged-\\d{8}-\\d{6}$").match(aside.front()).hasMatch());
    EXPECT_EQ(bytesOf(h.folder.file(aside.front())), garbage);
    EXPECT_EQ(h.messages.all()[1].kind, Kind::Information);
    EXPECT_TRUE(h.messages.all()[1].text.contains("已新建空数据库"));
    EXPECT_FALSE(h.button("Command4")->isEnabled());  // the import itself has not run

    h.messages.clear();
    h.click("Command1");
    EXPECT_EQ(h.messages.texts(), QStringList({"数据更新完成"}));
    EXPECT_EQ(rowsIn(h.folder.path(), "ry"), 3);
}

}  // namespace
