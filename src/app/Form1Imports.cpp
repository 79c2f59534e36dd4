// Form1: the workbook imports and the schedule view.
#include "app/Form1.h"
#include "controls/BusyCursor.h"
#include "controls/FlexGrid.h"
#include "controls/HandlerGuard.h"
#include "controls/MessageBox.h"
#include "import/ImportRun.h"
#include "ui_Form1.h"

using kq::ui::MessageBox;

void Form1::Command1_Click() {
    kq::ui::runGuarded(this, [this] {
        {
            kq::ui::BusyCursor busy;
            ui->MSHFlexGrid2->setDataSource(kq::importPunches(programFolder_));
        }
        ui->Frame4->setTitle(countCaption(QStringLiteral("导入数据记录条数："), *ui->MSHFlexGrid2));
        MessageBox::inform(this, QStringLiteral("数据更新完成"));
        ui->Command4->setEnabled(true);
    });
}

void Form1::Command4_Click() {
    kq::ui::runGuarded(this, [this] {
        {
            kq::ui::BusyCursor busy;
            kq::importWorkbook(programFolder_, kq::Workbook::Schedule);
        }
        MessageBox::inform(this, QStringLiteral("排班数据更新完成"));
        ui->Command5->setEnabled(true);
    });
}

void Form1::Command7_Click() {
    kq::ui::runGuarded(this, [this] {
        ui->MSHFlexGrid2->setDataSource(kq::readSchedule(programFolder_));
        ui->Frame4->setTitle(ui->Command7->text());
    });
}
