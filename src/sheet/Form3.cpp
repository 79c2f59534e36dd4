#include "sheet/Form3.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/SpreadsheetLauncher.h"
#include "controls/BusyCursor.h"
#include "controls/ColumnFit.h"
#include "controls/HandlerGuard.h"
#include "controls/MessageBox.h"
#include "controls/WindowStyle.h"
#include "reports/AttendanceSheetTable.h"
#include "reports/AttendanceSheetWorkbook.h"
#include "sheet/AttendanceSheetModel.h"
#include "sheet/SheetPrintLayout.h"

using kq::ui::MessageBox;

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLabel* label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

}  // namespace

Form3::Form3(QWidget* owner)
    : QWidget(owner, Qt::Window), model_(new kq::ui::AttendanceSheetModel(this)) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("考勤月报"));
    setWindowIcon(kq::ui::programIcon());
    Label1 = label(this, "Label1");
    Label1->setFont(kq::ui::cjkFont(kq::ui::FontFace::Heiti, 12, true));
    Label2 = label(this, "Label2");
    Label2->setText(kq::reports::sheetLegend());

    Grid1 = new QTableView(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setModel(model_);
    Grid1->setAccessibleName(QStringLiteral("考勤月报"));
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Rows of one line each: fixed heights spare measuring two thousand rows.
    Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->verticalHeader()->setDefaultSectionSize(Grid1->fontMetrics().height() + 8);
    Grid1->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);

    Command1 = button(this, "Command1", QStringLiteral("导出"));
    Command2 = button(this, "Command2", QStringLiteral("打印"));
    Command3 = button(this, "Command3", QStringLiteral("关闭"));
    connect(Command1, &QAbstractButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QAbstractButton::clicked, this, &Form3::Command2_Click);
    connect(Command3, &QAbstractButton::clicked, this, &Form3::Command3_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {Command1, Command2, Command3}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Grid1, 1);
    layout->addLayout(buttons);
    // About fifteen days and the names in view without scrolling.
    resize(1100, 620);
}

Form3::~Form3() = default;

void Form3::showSheet(kq::reports::AttendanceSheet sheet) {
    Label1->setText(kq::reports::sheetTitle(sheet));
    model_->setSheet(std::move(sheet));
    kq::ui::fitColumnsToTexts(*Grid1);
}

const kq::reports::AttendanceSheet& Form3::sheet() const { return model_->sheet(); }

void Form3::setSpreadsheetLauncher(std::shared_ptr<kq::ui::SpreadsheetLauncher> launcher) {
    launcher_ = std::move(launcher);
}

void Form3::Command1_Click() {
    kq::ui::runGuarded(this, [this] {
        QString file;
        {
            kq::ui::BusyCursor busy;
            file = kq::reports::writeAttendanceSheetToTempWorkbook(sheet());
        }
        if (!launcher_) launcher_ = kq::ui::SpreadsheetLauncher::desktop();
        if (!launcher_->open(file)) {
            QFile::remove(file);
            MessageBox::warn(this, QStringLiteral("当前无法导出为Excel！可能未正确安装EXCEL软件"));
        }
    });
}

void Form3::Command2_Click() {
    kq::ui::runGuarded(this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        printer.setDocName(kq::reports::sheetTitle(sheet()));
        if (preview_)
            preview_(printer);
        else
            preview(printer);
    });
}

void Form3::preview(QPrinter& printer) {
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印预览 - 考勤月报"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        kq::ui::BusyCursor busy;
        kq::ui::printAttendanceSheet(*target, sheet());
    });
    dialog.resize(1000, 760);
    dialog.exec();
}

void Form3::Command3_Click() { close(); }
