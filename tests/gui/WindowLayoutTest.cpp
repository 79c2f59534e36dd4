// How the windows show at their designed size and when the main window
// grows: whole texts, Tab order with filled grids, caption colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "GuiHarness.h"
#include "controls/QtTranslations.h"
#include "controls/Twips.h"
#include "settings/Form2.h"

namespace {

using kq::test::GuiHarness;
using kq::ui::twipsRect;

// QLineEdit keeps two pixels between its frame and its text on each side.
constexpr int kLineEditTextMargin = 2;

std::shared_ptr<const kq::RowSet> textRows(const QStringList& columns, int count) {
    auto rows = std::make_shared<kq::RowSet>();
    rows->columns = columns;
    for (int r = 0; r < count; ++r)
        for (const QString& column : columns)
            rows->append(kq::Value::text(column + QString::number(r)));
    return rows;
}

void showAndSettle(QWidget& window) {
    window.show();
    QApplication::processEvents();
}

void pressTab(QWidget* target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

// Pixels of a frame's caption strip drawn in a strong red, and in a dark
// text colour.
struct CaptionInk {
    int red = 0;
    int dark = 0;
};
CaptionInk captionInk(QWidget& frame) {
    const QImage image = frame.grab().toImage();
    CaptionInk ink;
    for (int y = 0; y < std::min(image.height(), frame.fontMetrics().height()); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90) ++ink.red;
            if (c.red() < 90 && c.green() < 90 && c.blue() < 90) ++ink.dark;
        }
    return ink;
}

TEST(WindowTexts, DatePickersShowWholeDatesAndLabel7AllItsText) {
    GuiHarness h(QDate(2026, 12, 28));
    showAndSettle(h.form());
    for (const QDate& date : {QDate(2026, 12, 28), QDate(2026, 1, 1)}) {
        for (const char* name : {"DTPicker1", "DTPicker2"}) {
            auto* picker = h.child<QDateEdit>(name);
            picker->setDate(date);
            auto* editor = picker->findChild<QLineEdit*>();
            ASSERT_NE(editor, nullptr);
            EXPECT_EQ(editor->text(), date.toString("yyyy/M/d")) << name;
            const int room = editor->contentsRect().marginsRemoved(editor->textMargins()).width() -
                             2 * kLineEditTextMargin;
            EXPECT_LE(editor->fontMetrics().horizontalAdvance(editor->text()), room)
                << name << ' ' << editor->text().toStdString();
            EXPECT_TRUE(picker->rect().contains(editor->geometry())) << name;
        }
    }
    EXPECT_EQ(h.child<QDateEdit>("DTPicker1")->geometry(), twipsRect(480, 360, 1335, 375));
    EXPECT_EQ(h.child<QDateEdit>("DTPicker2")->geometry(), twipsRect(480, 840, 1335, 375));

    auto* label = h.child<QLabel>("Label7");
    EXPECT_EQ(label->size(), twipsRect(120, 3000, 1455, 855).size());
    const QRect room = label->contentsRect();
    const QRect needed = label->fontMetrics().boundingRect(
        room, int(label->alignment()) | Qt::TextWordWrap, label->text());
    EXPECT_LE(needed.height(), room.height());
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("微信：Veltrane-KQ")));
}

TEST(WindowTexts, StandardButtonsReadInChinese) {
    GuiHarness h;
    ASSERT_TRUE(kq::ui::installChineseQtTranslations(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), "确定");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "是(&Y)");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), "否(&N)");
}

TEST(WindowTabOrder, TabLeavesGridsThatHoldRows) {
    GuiHarness h;
    showAndSettle(h.form());
    h.grid("MSHFlexGrid1")->setDataSource(textRows({"日期", "姓名", "时间"}, 3));
    h.grid("MSHFlexGrid2")->setDataSource(textRows({"日期", "时间", "姓名", "部门"}, 3));
    const std::pair<const char*, const char*> steps[] = {{"MSHFlexGrid1", "Text2"},
                                                         {"MSHFlexGrid2", "Text3"}};
    for (const auto& [from, to] : steps) {
        kq::ui::FlexGrid* grid = h.grid(from);
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        pressTab(grid);
        EXPECT_EQ(h.form().focusWidget(), h.child<QWidget>(to)) << from;
    }
}

TEST(WindowStyles, OnlyTheMainWindowsResultFrameIsRed) {
    GuiHarness h;
    showAndSettle(h.form());
    h.click("Command6");
    Form2* settings = h.form().shiftSettings();
    QApplication::processEvents();
    const CaptionInk result = captionInk(*h.child<QWidget>("Frame1"));
    EXPECT_GT(result.red, 0);
    EXPECT_EQ(result.dark, 0);
    for (const char* name : {"Frame1", "Frame2", "Frame3"}) {
        const CaptionInk ink = captionInk(*settings->findChild<QWidget*>(name));
        EXPECT_EQ(ink.red, 0) << name;
        EXPECT_GT(ink.dark, 0) << name;
    }
}

TEST(WindowSize, TheMainWindowGrowsFromItsDesignedSize) {
    GuiHarness h;
    Form1& form = h.form();
    showAndSettle(form);
    const QSize designed = twipsRect(0, 0, 11970, 6150).size();
    EXPECT_EQ(form.size(), designed);
    EXPECT_EQ(form.minimumSize(), designed);

    const QStringList rightHand = {"Label5_1", "Frame2", "Frame3", "Label6", "Frame5", "SSTab1"};
    std::map<QString, QRect> before;
    for (const QString& name : rightHand) before[name] = h.child<QWidget>(name)->geometry();
    const QRect grid2 = h.grid("MSHFlexGrid2")->geometry();
    const QRect grid1 = h.grid("MSHFlexGrid1")->geometry();

    form.resize(1600, 900);
    QApplication::processEvents();
    ASSERT_EQ(form.size(), QSize(1600, 900));
    const int extra = 1600 - designed.width();
    for (const QString& name : rightHand) {
        const QRect now = h.child<QWidget>(name)->geometry();
        EXPECT_EQ(now.size(), before[name].size()) << name.toStdString();
        EXPECT_EQ(now.topLeft(), before[name].topLeft() + QPoint(extra, 0)) << name.toStdString();
    }
    const QRect grown2 = h.grid("MSHFlexGrid2")->geometry();
    const QRect grown1 = h.grid("MSHFlexGrid1")->geometry();
    EXPECT_EQ(grown2.height(), grid2.height() + 900 - designed.height());
    EXPECT_EQ(grown1.height(), grid1.height() + 900 - designed.height());
    // The extra width is shared as the designed widths of Frame4 and Frame1.
    EXPECT_EQ(grown2.width() - grid2.width() + grown1.width() - grid1.width(), extra);
    EXPECT_NEAR(double(grown2.width() - grid2.width()) / extra, 3855.0 / (3855 + 3975), 0.01);
    // Frame1 follows Frame4's right edge; nothing overlaps.
    EXPECT_LT(h.child<QWidget>("Frame4")->geometry().right(),
              h.child<QWidget>("Frame1")->geometry().left());
    EXPECT_LT(h.child<QWidget>("Frame1")->geometry().right(),
              h.child<QWidget>("Frame2")->geometry().left());

    // Never smaller than designed; back at that size every place is as designed.
    form.resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(form.size(), designed);
    EXPECT_EQ(h.child<QWidget>("Frame1")->geometry(), twipsRect(4080, 120, 3975, 5895));
    EXPECT_EQ(h.child<QWidget>("Frame4")->geometry(), twipsRect(120, 120, 3855, 5895));
    EXPECT_EQ(h.grid("MSHFlexGrid1")->geometry(), twipsRect(120, 360, 3735, 5415));
    EXPECT_EQ(h.child<QWidget>("SSTab1")->geometry(), twipsRect(10320, 960, 1605, 5055));
}

TEST(WindowSize, TheSettingsWindowKeepsItsSize) {
    GuiHarness h;
    h.click("Command6");
    Form2* settings = h.form().shiftSettings();
    const QSize designed = twipsRect(0, 0, 5490, 4980).size();
    EXPECT_EQ(settings->size(), designed);
    EXPECT_EQ(settings->minimumSize(), designed);
    EXPECT_EQ(settings->maximumSize(), designed);
}

}  // namespace
