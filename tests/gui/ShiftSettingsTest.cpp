// The shift settings window Form2: loading from pb, the live boxes, save and
// exit, the one-dimensional report; and the main window's schedule view.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <optional>

#include "GuiHarness.h"
#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/TableAppender.h"
#include "settings/Form2.h"

namespace kq::test {
namespace {

using Kind = kq::ui::MessageBox::Kind;

// Row i (from 0) of the test pb: 6:00 plus i * 25 minutes.
QTime shiftTime(int i) { return QTime(6, 0).addSecs(i * 25 * 60); }
QString shiftTimeText(int i) { return kq::datetime::timeText(shiftTime(i)); }

class ShiftSettingsTest : public ::testing::Test {
  protected:
    GuiHarness h;

    // Replaces pb's rows; a missing time gives a row whose 时间 is empty.
    void putShiftTimes(const std::vector<std::optional<QTime>>& times) {
        Connection connection(h.folder.path());
        connection.executeNative(QStringLiteral("delete from pb"));
        TableAppender pb(connection, QStringLiteral("pb"));
        for (const auto& t : times) {
            pb.addNew();
            if (t) pb.set(QStringLiteral("时间"), Value::dateTime(kq::datetime::fromTime(*t)));
            pb.update();
        }
    }
    void putShiftTimes(int count) {
        std::vector<std::optional<QTime>> times;
        for (int i = 0; i < count; ++i) times.push_back(shiftTime(i));
        putShiftTimes(times);
    }

    // yd with 日期, 张三, 李四 and two days.
    void putTwoDaySchedule() {
        Connection connection(h.folder.path());
        connection.executeNative(
            QStringLiteral("drop table yd; create table yd (日期 DATETIME, 张三 TEXT, 李四 TEXT)"));
        TableAppender yd(connection, QStringLiteral("yd"));
        const struct {
            QDate day;
            const char* a;
            const char* b;
        } rows[] = {{QDate(2026, 12, 1), "A", "B"}, {QDate(2026, 12, 2), "常", "休"}};
        for (const auto& row : rows) {
            yd.addNew();
            yd.set(QStringLiteral("日期"), Value::dateTime(kq::datetime::fromDate(row.day)));
            yd.set(QStringLiteral("张三"), QString::fromUtf8(row.a));
            yd.set(QStringLiteral("李四"), QString::fromUtf8(row.b));
            yd.update();
        }
    }

    Form2* settings() { return h.form().shiftSettings(); }
    QLineEdit* box(int i) {
        return settings()->findChild<QLineEdit*>(QStringLiteral("Text1_%1").arg(i));
    }
    QStringList boxTexts() {
        QStringList out;
        for (int i = 0; i < 14; ++i) out << box(i)->text();
        return out;
    }
    void clickInSettings(const char* name) {
        auto* button = settings()->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    // Closing hands the window to deferred deletion; let it happen.
    void settleClose() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void exitSettings() {
        clickInSettings("Command2");
        settleClose();
    }
};

QStringList expectedTimes(int count) {
    QStringList out;
    for (int i = 0; i < count; ++i) out << shiftTimeText(i);
    return out;
}

TEST_F(ShiftSettingsTest, OpensWithTheFirstFourteenTimesOfPbInRowOrder) {
    putShiftTimes(20);
    h.click(QStringLiteral("Command6"));
    ASSERT_TRUE(h.form().isShiftSettingsLoaded());
    EXPECT_TRUE(settings()->isVisible());
    EXPECT_FALSE(settings()->isModal());
    EXPECT_EQ(settings()->windowTitle(), QStringLiteral("班次设置"));
    EXPECT_EQ(boxTexts(), expectedTimes(14));
    EXPECT_EQ(box(0)->text(), QStringLiteral("6:00:00"));
    for (int i = 0; i < 14; ++i) EXPECT_EQ(settings()->shiftWindowText(i), shiftTimeText(i));
    EXPECT_TRUE(h.messages.all().empty()) << h.messages.texts().join(" | ").toStdString();

    // A second press shows the same window without reading pb again.
    putShiftTimes(0);
    Form2* first = settings();
    h.click(QStringLiteral("Command6"));
    EXPECT_EQ(settings(), first);
    EXPECT_EQ(boxTexts(), expectedTimes(14));
}

TEST_F(ShiftSettingsTest, LayoutFollowsTheDesign) {
    putShiftTimes(14);
    Form2* w = settings();
    EXPECT_EQ(w->size(), QSize(366, 332));  // 5490 x 4980 twips
    EXPECT_FALSE(w->windowIcon().isNull());

    const struct {
        const char* frame;
        const char* title;
        int first, last;
    } frames[] = {
        {"Frame1", "常班", 0, 3}, {"Frame2", "AB班", 4, 7}, {"Frame3", "早中晚班", 8, 13}};
    for (const auto& f : frames) {
        auto* frame = w->findChild<QGroupBox*>(QString::fromLatin1(f.frame));
        ASSERT_NE(frame, nullptr) << f.frame;
        EXPECT_EQ(frame->title(), QString::fromUtf8(f.title));
        for (int i = f.first; i <= f.last; ++i) {
            EXPECT_EQ(box(i)->parentWidget(), frame) << i;
            const int row = (i - f.first) / 2;
            EXPECT_EQ(box(i)->geometry(), QRect(i % 2 ? 168 : 48, 16 + 40 * row, 73, 25)) << i;
            EXPECT_TRUE(box(i)->styleSheet().contains(QStringLiteral("rgb(192, 255, 192)"))) << i;
        }
    }
    const struct {
        const char* name;
        const char* text;
    } labels[] = {{"Label1", "上："},  {"Label9", "下："},  {"Label10", "A："},
                  {"Label11", "B："},  {"Label12", "早："}, {"Label13", "中："},
                  {"Label14", "夜："}, {"Label2", "到"},    {"Label8", "到"}};
    for (const auto& l : labels) {
        auto* label = w->findChild<QLabel*>(QString::fromLatin1(l.name));
        ASSERT_NE(label, nullptr) << l.name;
        EXPECT_EQ(label->text(), QString::fromUtf8(l.text));
    }
    EXPECT_EQ(w->findChild<QPushButton*>(QStringLiteral("Command1"))->text(),
              QStringLiteral("保存设置"));
    EXPECT_EQ(w->findChild<QPushButton*>(QStringLiteral("Command2"))->text(),
              QStringLiteral("退出设置"));
    auto* command3 = w->findChild<QPushButton*>(QStringLiteral("Command3"));
    EXPECT_EQ(command3->text(), QStringLiteral("一维报表"));
    // The report's controls lie beyond the client area; List1 is never shown.
    EXPECT_GE(command3->x(), w->width());
    EXPECT_GE(w->findChild<QTreeWidget*>(QStringLiteral("ListView1"))->y(), w->height());
    EXPECT_TRUE(w->findChild<QListWidget*>(QStringLiteral("List1"))->isHidden());

    // Tab visits Text1(0), the two buttons, Text1(1..13), the report button
    // and the list view, then starts over.
    QStringList expected = {"Text1_0", "Command1", "Command2"};
    for (int i = 1; i < 14; ++i) expected << QStringLiteral("Text1_%1").arg(i);
    expected << QStringLiteral("Command3") << QStringLiteral("ListView1");
    QStringList order;
    QWidget* start = box(0);
    QWidget* next = start;
    do {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(w) && next->isEnabled())
            order << next->objectName();
        next = next->nextInFocusChain();
    } while (next != start && order.size() < 40);
    EXPECT_EQ(order, expected);
}

TEST_F(ShiftSettingsTest, EditsCountUntilExitAndReopenReadsPbAgain) {
    putShiftTimes(14);
    h.click(QStringLiteral("Command6"));
    box(4)->setText(QStringLiteral("9:15"));
    EXPECT_EQ(settings()->shiftWindowText(4), QStringLiteral("9:15"));

    exitSettings();
    EXPECT_FALSE(h.form().isShiftSettingsLoaded());
    h.click(QStringLiteral("Command6"));
    EXPECT_EQ(settings()->shiftWindowText(4), shiftTimeText(4));

    // Closing the window from its title bar discards edits the same way.
    box(13)->setText(QStringLiteral("23:59"));
    settings()->close();
    settleClose();
    EXPECT_FALSE(h.form().isShiftSettingsLoaded());
    EXPECT_EQ(settings()->shiftWindowText(13), shiftTimeText(13));
    EXPECT_TRUE(h.messages.all().empty());
}

TEST_F(ShiftSettingsTest, SaveImportsPbButLeavesTheOpenBoxesAlone) {
    putShiftTimes(14);
    h.folder.addFixture(QStringLiteral("pb_14rows.xls"), QStringLiteral("pb.xls"));
    h.click(QStringLiteral("Command6"));
    box(0)->setText(QStringLiteral("7:00"));

    clickInSettings("Command1");
    ASSERT_EQ(h.messages.all().size(), 1u) << h.messages.texts().join(" | ").toStdString();
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Information);
    EXPECT_EQ(h.messages.all()[0].title, QStringLiteral("提示"));
    EXPECT_EQ(h.messages.all()[0].text, QStringLiteral("排班设置更新完成"));
    QStringList stillOld = expectedTimes(14);
    stillOld[0] = QStringLiteral("7:00");
    EXPECT_EQ(boxTexts(), stillOld);

    exitSettings();
    h.click(QStringLiteral("Command6"));
    const QStringList fromWorkbook = {"7:30:00",  "8:00:00",  "17:00:00", "17:30:00", "7:30:00",
                                      "8:00:00",  "19:30:00", "20:00:00", "5:30:00",  "6:00:00",
                                      "13:30:00", "14:00:00", "21:30:00", "22:00:00"};
    EXPECT_EQ(boxTexts(), fromWorkbook);
}

TEST_F(ShiftSettingsTest, SaveWithoutWorkbookReportsAndKeepsPb) {
    putShiftTimes(14);
    h.click(QStringLiteral("Command6"));
    clickInSettings("Command1");
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Error);
    EXPECT_TRUE(h.messages.all()[0].text.contains(QStringLiteral("pb.xls")))
        << h.messages.all()[0].text.toStdString();
    exitSettings();
    h.click(QStringLiteral("Command6"));
    EXPECT_EQ(boxTexts(), expectedTimes(14));
}

TEST_F(ShiftSettingsTest, QueryReadLoadsHiddenAndShowingLaterDoesNotReread) {
    putShiftTimes(14);
    ASSERT_FALSE(h.form().isShiftSettingsLoaded());
    EXPECT_EQ(settings()->shiftWindowText(6), shiftTimeText(6));
    EXPECT_TRUE(h.form().isShiftSettingsLoaded());
    EXPECT_FALSE(settings()->isVisible());

    Form2* loaded = settings();
    putShiftTimes(0);  // would say "没有记录!" if read again
    h.click(QStringLiteral("Command6"));
    EXPECT_EQ(settings(), loaded);
    EXPECT_TRUE(settings()->isVisible());
    EXPECT_EQ(boxTexts(), expectedTimes(14));
    EXPECT_TRUE(h.messages.all().empty());
}

TEST_F(ShiftSettingsTest, EmptyPbSaysNoRecordsAndKeepsTheDesignText) {
    EXPECT_EQ(settings()->shiftWindowText(0), QStringLiteral("Text1"));  // a query's read
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Plain);
    EXPECT_EQ(h.messages.all()[0].title, kq::ui::MessageBox::defaultTitle());
    EXPECT_EQ(h.messages.all()[0].text, QStringLiteral("没有记录!"));
    EXPECT_EQ(boxTexts(), QStringList(14, QStringLiteral("Text1")));
}

TEST_F(ShiftSettingsTest, ShortPbFillsWhatItHasAndSaysHowManyWereFound) {
    putShiftTimes(5);
    h.click(QStringLiteral("Command6"));
    QStringList expected = expectedTimes(5);
    for (int i = 5; i < 14; ++i) expected << QStringLiteral("Text1");
    EXPECT_EQ(boxTexts(), expected);
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Exclamation);
    const QString text = h.messages.all()[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("只找到5个时间")) &&
                text.contains(QStringLiteral("14")))
        << text.toStdString();
    EXPECT_TRUE(settings()->isVisible());
}

TEST_F(ShiftSettingsTest, EmptyTimeGivesEmptyBoxAndMissingTimeColumnIsReported) {
    std::vector<std::optional<QTime>> times;
    for (int i = 0; i < 14; ++i) times.push_back(shiftTime(i));
    times[3].reset();
    putShiftTimes(times);
    QStringList expected = expectedTimes(14);
    expected[3] = QString();
    EXPECT_EQ(boxTexts(), expected);
    EXPECT_TRUE(h.messages.all().empty());
    exitSettings();

    {
        Connection connection(h.folder.path());
        connection.executeNative(QStringLiteral(
            "drop table pb; create table pb (开始 DATETIME); insert into pb values (0.25)"));
    }
    h.click(QStringLiteral("Command6"));
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Error);
    EXPECT_TRUE(h.messages.all()[0].text.contains(QStringLiteral("“时间”")));
    EXPECT_TRUE(settings()->isVisible());  // the window still opens
    EXPECT_EQ(boxTexts(), QStringList(14, QStringLiteral("Text1")));
}

TEST_F(ShiftSettingsTest, ProgramExitClosesTheSettingsWindowWithoutFurtherQuestions) {
    putShiftTimes(14);
    h.click(QStringLiteral("Command6"));
    box(0)->setText(QStringLiteral("7:00"));
    h.messages.answerNext(QMessageBox::Yes);
    h.form().close();
    EXPECT_FALSE(h.form().isShiftSettingsLoaded());
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].text, QStringLiteral("你真的想退出吗？"));
}

TEST_F(ShiftSettingsTest, ScheduleViewShowsYdUnderItsCaption) {
    putTwoDaySchedule();
    h.click(QStringLiteral("Command7"));
    kq::ui::FlexGrid* grid = h.grid(QStringLiteral("MSHFlexGrid2"));
    ASSERT_EQ(grid->rows(), 3);
    ASSERT_EQ(grid->cols(), 4);  // the fixed column, then 日期, 张三, 李四
    EXPECT_EQ(grid->textMatrix(0, 1), QStringLiteral("日期"));
    EXPECT_EQ(grid->textMatrix(0, 3), QStringLiteral("李四"));
    EXPECT_EQ(grid->textMatrix(1, 1), QStringLiteral("2026/12/1"));
    EXPECT_EQ(grid->textMatrix(2, 2), QStringLiteral("常"));
    EXPECT_EQ(h.frameTitle(QStringLiteral("Frame4")), QStringLiteral("查看排班"));
    EXPECT_TRUE(h.messages.all().empty());
}

TEST_F(ShiftSettingsTest, OneDimensionalReportListsEveryEmployeeDayAndAppends) {
    putShiftTimes(14);
    putTwoDaySchedule();
    clickInSettings("Command3");

    auto* list1 = settings()->findChild<QListWidget*>(QStringLiteral("List1"));
    auto* view = settings()->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_TRUE(list1 && view);
    ASSERT_EQ(list1->count(), 3);
    EXPECT_EQ(list1->item(0)->text(), QStringLiteral("日期"));
    EXPECT_EQ(list1->item(2)->text(), QStringLiteral("李四"));
    ASSERT_EQ(view->columnCount(), 3);
    EXPECT_EQ(view->headerItem()->text(1), QStringLiteral("姓名"));
    const QStringList lines[] = {{"2026/12/1", "张三", "A"},
                                 {"2026/12/1", "李四", "B"},
                                 {"2026/12/2", "张三", "常"},
                                 {"2026/12/2", "李四", "休"}};
    ASSERT_EQ(view->topLevelItemCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const QTreeWidgetItem* item = view->topLevelItem(i);
        EXPECT_EQ((QStringList{item->text(0), item->text(1), item->text(2)}), lines[i]) << i;
    }
    const auto& m = h.messages.all();
    ASSERT_EQ(m.size(), 3u) << h.messages.texts().join(" | ").toStdString();
    EXPECT_EQ(m[0].text, QStringLiteral("ListView有4行：日期,张三,李四"));
    EXPECT_EQ(m[0].kind, Kind::Plain);
    EXPECT_EQ(m[1].text, QStringLiteral("定价表共有3个字段，字段名分别是：日期,张三,李四"));
    EXPECT_EQ(m[1].kind, Kind::Plain);
    EXPECT_EQ(m[2].text, QStringLiteral("排班设置更新完成"));
    EXPECT_EQ(m[2].kind, Kind::Information);
    EXPECT_EQ(m[2].title, QStringLiteral("提示"));

    h.messages.clear();
    clickInSettings("Command3");
    EXPECT_EQ(view->columnCount(), 6);
    EXPECT_EQ(view->headerItem()->text(3), QStringLiteral("日期"));
    EXPECT_EQ(view->headerItem()->text(5), QStringLiteral("班次"));
    EXPECT_EQ(view->topLevelItemCount(), 8);
    EXPECT_EQ(list1->count(), 3);
    ASSERT_EQ(h.messages.all().size(), 3u);
    EXPECT_EQ(h.messages.all()[0].text, QStringLiteral("ListView有8行：日期,张三,李四"));

    // Unloading the window drops the report.
    exitSettings();
    EXPECT_EQ(settings()->findChild<QTreeWidget*>(QStringLiteral("ListView1"))->topLevelItemCount(),
              0);
}

TEST_F(ShiftSettingsTest, ReportOnDateOnlyScheduleHasNoLines) {
    putShiftTimes(14);
    {
        Connection connection(h.folder.path());
        TableAppender yd(connection, QStringLiteral("yd"));
        yd.addNew();
        yd.set(QStringLiteral("日期"), Value::dateTime(kq::datetime::fromDate(QDate(2026, 12, 1))));
        yd.update();
    }
    clickInSettings("Command3");
    EXPECT_EQ(settings()->findChild<QTreeWidget*>(QStringLiteral("ListView1"))->topLevelItemCount(),
              0);
    EXPECT_EQ(h.messages.texts(),
              (QStringList{QStringLiteral("ListView有0行：日期"),
                           QStringLiteral("定价表共有1个字段，字段名分别是：日期"),
                           QStringLiteral("排班设置更新完成")}));
}

TEST_F(ShiftSettingsTest, ReportWithoutDateColumnChangesNothing) {
    putShiftTimes(14);
    {
        Connection connection(h.folder.path());
        connection.executeNative(QStringLiteral(
            "drop table yd; create table yd (张三 TEXT); insert into yd values ('A')"));
    }
    clickInSettings("Command3");
    ASSERT_EQ(h.messages.all().size(), 1u);
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Error);
    EXPECT_TRUE(h.messages.all()[0].text.contains(QStringLiteral("“日期”")));
    EXPECT_EQ(settings()->findChild<QTreeWidget*>(QStringLiteral("ListView1"))->columnCount(), 0);
    EXPECT_EQ(settings()->findChild<QListWidget*>(QStringLiteral("List1"))->count(), 0);
}

}  // namespace
}  // namespace kq::test
