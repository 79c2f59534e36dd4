// Form1: the export of the result grid.
#include <QFile>

#include "app/Form1.h"
#include "app/SpreadsheetLauncher.h"
#include "controls/BusyCursor.h"
#include "controls/FlexGrid.h"
#include "controls/HandlerGuard.h"
#include "controls/MessageBox.h"
#include "export/GridWorkbook.h"
#include "ui_Form1.h"

namespace {

class FlexGridSource : public kq::GridSource {
  public:
    explicit FlexGridSource(const kq::ui::FlexGrid& grid) : grid_(grid) {}
    int rows() const override { return grid_.rows(); }
    int cols() const override { return grid_.cols(); }
    QString text(int row, int col) const override { return grid_.textMatrix(row, col); }

  private:
    const kq::ui::FlexGrid& grid_;
};

}  // namespace

void Form1::Command3_Click() { ExportToExcel(*ui->MSHFlexGrid1); }

void Form1::setSpreadsheetLauncher(std::shared_ptr<kq::ui::SpreadsheetLauncher> launcher) {
    launcher_ = std::move(launcher);
}

void Form1::ExportToExcel(kq::ui::FlexGrid& myflexgrid) {
    using kq::ui::MessageBox;
    kq::ui::runGuarded(this, [&] {
        if (myflexgrid.rows() <= 1) {
            MessageBox::inform(this, QStringLiteral("没有数据！"));
            return;
        }
        // A file that cannot be written (temporary folder full or not
        // writable) is reported as such, not blamed on a missing spreadsheet
        // program.
        QString file;
        {
            kq::ui::BusyCursor busy;
            file = kq::writeGridToTempWorkbook(FlexGridSource(myflexgrid));
        }
        if (!launcher_) launcher_ = kq::ui::SpreadsheetLauncher::desktop();
        if (!launcher_->open(file)) {
            QFile::remove(file);  // nobody will ever open it
            MessageBox::warn(this, QStringLiteral("当前无法导出为Excel！可能未正确安装EXCEL软件"));
        }
    });
}
