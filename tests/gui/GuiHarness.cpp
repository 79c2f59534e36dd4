#include "GuiHarness.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace kq::test {
namespace {

void ensureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "kq_gui_test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives for the whole test program
    QApplication::setApplicationName(QStringLiteral("打卡异常统计"));
}

}  // namespace

GuiHarness::GuiHarness(QDate today) : today_(today) {
    ensureApplication();
    restart();
}

GuiHarness::~GuiHarness() = default;

void GuiHarness::restart() {
    form_.reset();
    const QDate today = today_;
    form_ = std::make_unique<Form1>(folder.path(), [today] { return today; });
}

QAbstractButton* GuiHarness::button(const QString& name) const {
    auto* b = child<QAbstractButton>(name);
    EXPECT_NE(b, nullptr) << name.toStdString();
    return b;
}

kq::ui::FlexGrid* GuiHarness::grid(const QString& name) const {
    auto* g = child<kq::ui::FlexGrid>(name);
    EXPECT_NE(g, nullptr) << name.toStdString();
    return g;
}

QString GuiHarness::frameTitle(const QString& name) const {
    auto* frame = child<QGroupBox>(name);
    EXPECT_NE(frame, nullptr) << name.toStdString();
    return frame ? frame->title() : QString();
}

void GuiHarness::click(const QString& name) {
    if (auto* b = button(name)) b->click();
}

QStringList dateTimeNameRows(kq::ui::FlexGrid* grid) {
    QStringList columns;
    for (int c = 1; c < grid->cols(); ++c) columns << grid->textMatrix(0, c);
    const int date = int(columns.indexOf("日期")) + 1;
    const int time = int(columns.indexOf("时间")) + 1;
    const int name = int(columns.indexOf("姓名")) + 1;
    QStringList rows;
    for (int r = 1; r < grid->rows(); ++r)
        rows << grid->textMatrix(r, date) + ' ' + grid->textMatrix(r, time) + ' ' +
                    grid->textMatrix(r, name);
    return rows;
}

}  // namespace kq::test
