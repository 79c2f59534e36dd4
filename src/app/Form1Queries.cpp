// Form1: the anomaly queries and the punch query.
#include <QLineEdit>

#include "app/Form1.h"
#include "controls/BusyCursor.h"
#include "controls/FlexGrid.h"
#include "controls/HandlerGuard.h"
#include "controls/MessageBox.h"
#include "queries/PunchQuery.h"
#include "queries/ShiftQuery.h"
#include "settings/Form2.h"
#include "stats/UnfinishedRun.h"
#include "ui_Form1.h"

using kq::ui::MessageBox;

namespace {

// A punch query time that does not read as one: say so, empty the box and
// put the user there.
bool acceptTime(QWidget* parent, QLineEdit* box, const QString& message) {
    if (kq::queries::isTimeText(box->text())) return true;
    MessageBox::warn(parent, message);
    box->setText(QString());
    box->setFocus();
    return false;
}

}  // namespace

// One shift button: its window from the settings window's boxes as they read
// now, its result into the result grid, its count into Frame1. A box that is
// not a time is named in a message before the database is asked; the grid
// and the caption then keep what they showed. After a statistics run that did
// not finish, the result comes with a warning that it may mix two runs.
void Form1::showShiftQuery(int window) {
    kq::ui::runGuarded(this, [&] {
        const kq::shifts::Window& bounds = *kq::shifts::windowAt(window).window;
        // Asked first: a database that cannot be opened is reported once,
        // here, and not again through the settings window's loading.
        const auto unfinishedRun = kq::unfinishedStatisticsRun(programFolder_);
        Form2* settings = shiftSettings();  // loads it hidden, with its stored times, if needed
        const QString start = settings->shiftWindowText(bounds.startTime);
        const QString end = settings->shiftWindowText(bounds.endTime);
        if (const auto problem = kq::queries::windowTimeProblem(window, start, end)) {
            MessageBox::warn(this, settings->windowTimeProblemMessage(*problem));
            return;
        }
        {
            kq::ui::BusyCursor busy;
            ui->MSHFlexGrid1->setDataSource(kq::queries::runShiftQuery(
                programFolder_, window, start, end, ui->DTPicker1->date(), ui->DTPicker2->date(),
                ui->Text3->text()));
        }
        ui->Frame1->setTitle(countCaption(
            kq::shifts::windowAt(window).name() + QStringLiteral("异常数："), *ui->MSHFlexGrid1));
        if (unfinishedRun) MessageBox::warn(this, kq::unfinishedRunMessage(*unfinishedRun));
    });
}

void Form1::Command2_Click() {
    kq::ui::runGuarded(this, [this] {
        if (!acceptTime(this, ui->Text1, QStringLiteral("起始时间中，请输入正确格式的开始时间")))
            return;
        if (!acceptTime(this, ui->Text2, QStringLiteral("结束时间中，请输入正确格式的结束时间")))
            return;
        {
            kq::ui::BusyCursor busy;
            ui->MSHFlexGrid1->setDataSource(kq::queries::runPunchQuery(
                programFolder_, ui->Text1->text(), ui->Text2->text(), ui->DTPicker1->date(),
                ui->DTPicker2->date(), ui->Text3->text()));
        }
        ui->Frame1->setTitle(countCaption(QStringLiteral("异常打卡记录条数："), *ui->MSHFlexGrid1));
        ui->Frame4->setTitle(countCaption(QStringLiteral("导入数据记录条数："), *ui->MSHFlexGrid2));
        MessageBox::inform(this, QStringLiteral("统计完成"));
    });
}

// The buttons in the order of the catalogue's windows.
void Form1::Command8_Click() { showShiftQuery(0); }

void Form1::Command9_Click() { showShiftQuery(1); }

void Form1::Command10_Click() { showShiftQuery(2); }

void Form1::Command11_Click() { showShiftQuery(3); }

void Form1::Command12_Click() { showShiftQuery(4); }

void Form1::Command13_Click() { showShiftQuery(5); }

void Form1::Command14_Click() { showShiftQuery(6); }
