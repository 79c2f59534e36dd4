// Form1: the reports of the page "汇总".
#include <QLineEdit>

#include "app/Form1.h"
#include "controls/BusyCursor.h"
#include "controls/FlexGrid.h"
#include "controls/HandlerGuard.h"
#include "controls/MessageBox.h"
#include "queries/ShiftQuery.h"
#include "reports/AttendanceSheet.h"
#include "reports/EmployeeSummary.h"
#include "reports/MissingPunches.h"
#include "reports/ReportPrerequisites.h"
#include "settings/Form2.h"
#include "sheet/Form3.h"
#include "ui_Form1.h"

using kq::ui::MessageBox;

// Both reports read yw: before a statistics run they would show an empty
// list that looks like a month without gaps, so they say so instead.
void Form1::Command15_Click() {
    kq::ui::runGuarded(this, [this] {
        if (!kq::reports::scheduleEntriesWritten(programFolder_)) {
            MessageBox::warn(this, kq::reports::kNoScheduleEntriesMessage);
            return;
        }
        {
            kq::ui::BusyCursor busy;
            ui->MSHFlexGrid1->setDataSource(kq::reports::runMissingPunches(
                programFolder_, ui->DTPicker1->date(), ui->DTPicker2->date(), ui->Text3->text()));
        }
        ui->Frame1->setTitle(countCaption(QStringLiteral("缺卡记录数："), *ui->MSHFlexGrid1));
    });
}

// The per-button counts use the shift windows exactly as the seven buttons
// would read them now, edits in the settings window included.
void Form1::Command16_Click() {
    kq::ui::runGuarded(this, [this] {
        if (!kq::reports::scheduleEntriesWritten(programFolder_)) {
            MessageBox::warn(this, kq::reports::kNoScheduleEntriesMessage);
            return;
        }
        Form2* settings = shiftSettings();  // loads it hidden, with its stored times, if needed
        const kq::shifts::WindowTimes times = settings->shiftWindowTimes();
        if (const auto problem = kq::queries::firstWindowTimeProblem(times)) {
            MessageBox::warn(this, settings->windowTimeProblemMessage(*problem));
            return;
        }
        {
            kq::ui::BusyCursor busy;
            ui->MSHFlexGrid1->setDataSource(
                kq::reports::runEmployeeSummary(programFolder_, times, ui->DTPicker1->date(),
                                                ui->DTPicker2->date(), ui->Text3->text()));
        }
        ui->Frame1->setTitle(QStringLiteral("人员汇总：%1人").arg(ui->MSHFlexGrid1->rows() - 1));
    });
}

// The sheet marks 异 with the windows as the seven buttons would read them
// now; the statistics run comes first, then the range.
void Form1::Command17_Click() {
    kq::ui::runGuarded(this, [this] {
        if (!kq::reports::scheduleEntriesWritten(programFolder_)) {
            MessageBox::warn(this, kq::reports::kNoScheduleEntriesMessage);
            return;
        }
        const QDate from = ui->DTPicker1->date();
        const QDate to = ui->DTPicker2->date();
        if (const QString problem = kq::reports::sheetRangeProblem(from, to); !problem.isEmpty()) {
            MessageBox::warn(this, problem);
            return;
        }
        Form2* settings = shiftSettings();
        const kq::shifts::WindowTimes times = settings->shiftWindowTimes();
        if (const auto problem = kq::queries::firstWindowTimeProblem(times)) {
            MessageBox::warn(this, settings->windowTimeProblemMessage(*problem));
            return;
        }
        kq::reports::AttendanceSheet sheet;
        {
            kq::ui::BusyCursor busy;
            sheet =
                kq::reports::runAttendanceSheet(programFolder_, times, from, to, ui->Text3->text());
        }
        if (form3_.isNull()) form3_ = new Form3(this);
        form3_->showSheet(std::move(sheet));
        form3_->show();
        form3_->raise();
        form3_->activateWindow();
    });
}

Form3* Form1::attendanceSheet() const { return form3_.data(); }
