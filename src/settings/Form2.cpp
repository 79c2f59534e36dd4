#include "settings/Form2.h"

#include <QListWidget>
#include <QTreeWidget>
#include <stdexcept>

#include "controls/BusyCursor.h"
#include "controls/HandlerGuard.h"
#include "controls/MessageBox.h"
#include "controls/WindowStyle.h"
#include "import/ImportRun.h"
#include "ui_Form2.h"

using kq::ui::MessageBox;

Form2::Form2(QString programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui(std::make_unique<Ui::Form2>()),
      programFolder_(std::move(programFolder)) {
    ui->setupUi(this);
    applyDesign();
    connect(ui->Command1, &QAbstractButton::clicked, this, &Form2::Command1_Click);
    connect(ui->Command2, &QAbstractButton::clicked, this, &Form2::Command2_Click);
    connect(ui->Command3, &QAbstractButton::clicked, this, &Form2::Command3_Click);
    Form_Load();
}

Form2::~Form2() = default;

void Form2::applyDesign() {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(kq::ui::programIcon());
    setStyleSheet(kq::ui::frameStyleSheet());
    // Command3 and ListView1 lie beyond this size on purpose: only Tab reaches them.
    setFixedSize(size());
    Text1 = {ui->Text1_0,  ui->Text1_1,  ui->Text1_2,  ui->Text1_3, ui->Text1_4,
             ui->Text1_5,  ui->Text1_6,  ui->Text1_7,  ui->Text1_8, ui->Text1_9,
             ui->Text1_10, ui->Text1_11, ui->Text1_12, ui->Text1_13};
    for (QLineEdit* box : Text1) box->setStyleSheet(kq::ui::inputBoxStyleSheet());
    // In the order of the shift catalogue's windows.
    windowRows_ = {{ui->Frame1, ui->Label1},  {ui->Frame1, ui->Label9},  {ui->Frame2, ui->Label10},
                   {ui->Frame2, ui->Label11}, {ui->Frame3, ui->Label12}, {ui->Frame3, ui->Label13},
                   {ui->Frame3, ui->Label14}};
    // The report view starts without column headers; each report adds three.
    ui->ListView1->setColumnCount(0);
    ui->Text1_0->setFocus();
}

QString Form2::shiftWindowText(int index) const {
    if (index < 0 || index >= int(Text1.size()))
        throw std::out_of_range("Form2::shiftWindowText: index outside 0..13");
    return Text1[std::size_t(index)]->text();
}

kq::shifts::WindowTimes Form2::shiftWindowTimes() const {
    kq::shifts::WindowTimes times;
    for (std::size_t i = 0; i < times.size(); ++i) times[i] = Text1[i]->text();
    return times;
}

QString Form2::windowTimeProblemMessage(const kq::queries::WindowTimeProblem& problem) const {
    const WindowRow& row = windowRows_.at(std::size_t(problem.window));
    return kq::queries::describe(problem) +
           QStringLiteral(
               "\n请在“%1”窗口“%2”栏“%3”行%4的时间框（第%5个时间框）中输入形如 8:00 的时间。")
               .arg(windowTitle(), row.frame->title(), row.label->text(),
                    problem.atStart ? QStringLiteral("左边") : QStringLiteral("右边"),
                    QString::number(problem.timeIndex + 1));
}

void Form2::Form_Load() {
    kq::ui::runGuarded(this, [this] {
        const kq::ShiftWindowTimes times = kq::readShiftWindowTimes(programFolder_);
        if (times.rowCount == 0) {
            MessageBox::plain(this, QStringLiteral("没有记录!"));
            return;
        }
        for (qsizetype i = 0; i < times.texts.size(); ++i)
            Text1[std::size_t(i)]->setText(times.texts[i]);
        // Too few stored times would leave boxes reading "Text1"; say so
        // instead of letting a query fail on them later.
        if (!times.isComplete())
            MessageBox::warn(this, kq::shortShiftTimesMessage(times.texts.size()));
    });
}

void Form2::Command1_Click() {
    kq::ui::runGuarded(this, [this] {
        {
            kq::ui::BusyCursor busy;
            kq::importWorkbook(programFolder_, kq::Workbook::ShiftTimes);
        }
        MessageBox::inform(this, QStringLiteral("排班设置更新完成"));
    });
}

void Form2::Command2_Click() { close(); }

void Form2::Command3_Click() {
    kq::ui::runGuarded(this, [this] {
        const kq::ScheduleReport report = kq::readScheduleReport(programFolder_);
        for (int j = 0; j < report.columns.size(); ++j) {
            if (QListWidgetItem* item = ui->List1->item(j))
                item->setText(report.columns[j]);
            else
                ui->List1->addItem(report.columns[j]);
        }

        QTreeWidget* view = ui->ListView1;
        const int firstHeader = view->columnCount();
        view->setColumnCount(firstHeader + 3);
        QTreeWidgetItem* header = view->headerItem();
        header->setText(firstHeader, QStringLiteral("日期"));
        header->setText(firstHeader + 1, QStringLiteral("姓名"));
        header->setText(firstHeader + 2, QStringLiteral("班次"));

        QList<QTreeWidgetItem*> items;
        items.reserve(qsizetype(report.lines.size()));
        for (const auto& line : report.lines)
            items << new QTreeWidgetItem(QStringList{line.date, line.name, line.shiftCode});
        view->addTopLevelItems(items);

        const QString columnList = report.columnList();
        MessageBox::plain(this, kq::reportLineCountMessage(view->topLevelItemCount(), columnList));
        MessageBox::plain(this, kq::reportFieldCountMessage(report.columns.size(), columnList));
        MessageBox::inform(this, QStringLiteral("排班设置更新完成"));
    });
}
