// Form1: the statistics run.
#include <optional>

#include "app/Form1.h"
#include "controls/BusyCursor.h"
#include "controls/FlexGrid.h"
#include "controls/HandlerGuard.h"
#include "controls/MessageBox.h"
#include "stats/StatisticsRun.h"
#include "ui_Form1.h"

using kq::ui::MessageBox;

void Form1::Command5_Click() {
    kq::ui::runGuarded(this, [this] {
        kq::StatisticsResult result;
        {
            std::optional<kq::ui::BusyCursor> busy(std::in_place);
            result = kq::runStatistics(programFolder_, [&](const QString& message) {
                busy.reset();  // the user reads each message with the normal cursor
                MessageBox::inform(this, message);
                busy.emplace();
            });
        }
        // Neither grid is reloaded: the counts are of what they show now.
        ui->Frame1->setTitle(countCaption(QStringLiteral("异常打卡记录条数："), *ui->MSHFlexGrid1));
        ui->Frame4->setTitle(countCaption(QStringLiteral("导入数据记录条数："), *ui->MSHFlexGrid2));
        if (!result.lookAlikeHint.isEmpty()) MessageBox::warn(this, result.lookAlikeHint);
    });
}
