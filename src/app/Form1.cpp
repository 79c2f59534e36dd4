#include "app/Form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <optional>

#include "controls/FlexGrid.h"
#include "controls/GrowingLayout.h"
#include "controls/HandlerGuard.h"
#include "controls/MessageBox.h"
#include "controls/OpenFolder.h"
#include "controls/TextFit.h"
#include "controls/WindowStyle.h"
#include "import/MissingWorkbook.h"
#include "settings/Form2.h"
#include "sheet/Form3.h"
#include "stats/UnfinishedRun.h"
#include "ui_Form1.h"

using kq::ui::MessageBox;

Form1::Form1(QString programFolder, Clock clock, QWidget* parent)
    : QWidget(parent),
      ui(std::make_unique<Ui::Form1>()),
      programFolder_(std::move(programFolder)),
      clock_(clock ? std::move(clock) : Clock(&QDate::currentDate)) {
    ui->setupUi(this);
    applyDesign();
    connectButtons();
    const QString reason = kq::fallbackReason(programFolder_);
    // The same as the missing-workbook message's button, for a clerk who
    // wants to drop the workbooks in before anything is missing.
    auto* openProgramFolder = new QAction(QStringLiteral("打开文件夹"), ui->Frame4);
    connect(openProgramFolder, &QAction::triggered, this,
            [this] { kq::ui::openFolder(this, programFolder_); });
    ui->Frame4->addAction(openProgramFolder);
    ui->Frame4->setContextMenuPolicy(Qt::ActionsContextMenu);
    ui->Frame4->setToolTip(QStringLiteral("程序文件夹：%1").arg(programFolder_) +
                           (reason.isEmpty() ? QString() : QStringLiteral("（%1）").arg(reason)) +
                           QStringLiteral("\n右键单击可打开该文件夹"));
    Form_Load();
}

Form1::~Form1() = default;

void Form1::applyDesign() {
    using namespace kq::ui;
    setWindowIcon(programIcon());
    // Style sheets are scoped to the widget they name: a rule on the window
    // would reach the settings window, a child window with frames of the
    // same names.
    setStyleSheet(frameStyleSheet());
    ui->Frame1->setStyleSheet(QStringLiteral("QGroupBox { color: #ff0000; }"));
    for (QWidget* w : {static_cast<QWidget*>(ui->Label6), static_cast<QWidget*>(ui->Label7)})
        w->setStyleSheet(QStringLiteral("color: #ff0000;"));
    for (QWidget* w : {ui->Label5_0, ui->Label5_1})
        w->setFont(cjkFont(FontFace::Heiti, 10.5, true));
    for (QWidget* w : {ui->Text1, ui->Text2}) {
        w->setFont(cjkFont(FontFace::YaHeiLight, 12));
        w->setStyleSheet(inputBoxStyleSheet());
    }
    ui->Text3->setFont(cjkFont(FontFace::Songti, 10.5));
    ui->Text3->setStyleSheet(inputBoxStyleSheet());
    for (QDateEdit* picker : {ui->DTPicker1, ui->DTPicker2}) {
        // The calendar popup names months and weekdays in Chinese, too.
        picker->setLocale(QLocale(QLocale::Chinese, QLocale::China));
        showWholeDates(*picker);
    }
    fitWrappedText(*ui->Label7);

    // The designed size is the smallest; a larger window gives the grids the
    // room and moves the filter fields and buttons along the right edge.
    auto* layout = new GrowingLayout(*this);
    layout->setGrowingColumns({{ui->Frame4, ui->MSHFlexGrid2}, {ui->Frame1, ui->MSHFlexGrid1}});
    layout->setRightEdgeControls(
        {ui->Label5_0, ui->Label5_1, ui->Frame2, ui->Frame3, ui->Label6, ui->Frame5, ui->SSTab1});
    ui->SSTab1->setStyleSheet(compactTabStyleSheet());
    ui->MSHFlexGrid1->setFocus();
}

void Form1::connectButtons() {
    const std::pair<QAbstractButton*, void (Form1::*)()> handlers[] = {
        {ui->Command1, &Form1::Command1_Click},   {ui->Command2, &Form1::Command2_Click},
        {ui->Command3, &Form1::Command3_Click},   {ui->Command4, &Form1::Command4_Click},
        {ui->Command5, &Form1::Command5_Click},   {ui->Command6, &Form1::Command6_Click},
        {ui->Command7, &Form1::Command7_Click},   {ui->Command8, &Form1::Command8_Click},
        {ui->Command9, &Form1::Command9_Click},   {ui->Command10, &Form1::Command10_Click},
        {ui->Command11, &Form1::Command11_Click}, {ui->Command12, &Form1::Command12_Click},
        {ui->Command13, &Form1::Command13_Click}, {ui->Command14, &Form1::Command14_Click},
        {ui->Command15, &Form1::Command15_Click}, {ui->Command16, &Form1::Command16_Click},
        {ui->Command17, &Form1::Command17_Click},
    };
    for (const auto& [button, slot] : handlers)
        connect(button, &QAbstractButton::clicked, this, slot);
}

void Form1::Form_Load() {
    kq::ui::runGuarded(this, [this] {
        // Column 0 all but vanishes; column 3 fits a time. Both apply once a
        // binding brings those columns.
        for (kq::ui::FlexGrid* grid : {ui->MSHFlexGrid1, ui->MSHFlexGrid2}) {
            grid->setColWidth(0, 10);
            grid->setColWidth(3, 1150);
        }
        const QDate today = clock_();
        ui->DTPicker1->setDate(QDate(today.year(), today.month(), 1));
        ui->DTPicker2->setDate(today);
    });
}

void Form1::checkDatabase() {
    kq::ui::runGuarded(this, [this] {
        const std::optional<QString> unfinished = kq::checkDatabaseAtStart(programFolder_);
        if (unfinished) MessageBox::warn(this, kq::unfinishedRunMessage(*unfinished));
    });
}

bool Form1::Form_QueryUnload() {
    return MessageBox::askYesNo(this, QStringLiteral("你真的想退出吗？"),
                                QStringLiteral("退出提示"));
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    // The program ends at once: the settings window goes without asking.
    delete form2_.data();
    delete form3_.data();
    event->accept();
    QCoreApplication::quit();
}

Form2* Form1::shiftSettings() {
    if (form2_.isNull()) form2_ = new Form2(programFolder_, this);
    return form2_.data();
}

void Form1::Command6_Click() {
    kq::ui::runGuarded(this, [this] {
        Form2* settings = shiftSettings();
        settings->show();
        settings->raise();
        settings->activateWindow();
    });
}

QString Form1::countCaption(const QString& label, const kq::ui::FlexGrid& grid) const {
    return label + QString::number(grid.rows() - 1) + QStringLiteral("行");
}
