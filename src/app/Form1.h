#pragma once

#include <QDate>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class Form1;
}

namespace kq::ui {
class FlexGrid;
class SpreadsheetLauncher;
}  // namespace kq::ui

class Form2;
class Form3;
class QCloseEvent;

// The main window: filter fields, the two grids and the buttons that drive
// the work. Each handler reads its controls, calls one core operation and
// shows the result; the handlers live in Form1<Area>.cpp by subsystem.
class Form1 : public QWidget {
    Q_OBJECT
  public:
    using Clock = std::function<QDate()>;

    // programFolder holds KQ.db and the three workbooks; clock gives today's
    // date (the system clock when empty).
    explicit Form1(QString programFolder, Clock clock = {}, QWidget* parent = nullptr);
    ~Form1() override;

    const QString& programFolder() const { return programFolder_; }

    // The shift settings window, loaded (hidden) on first use; there is only
    // ever one.
    Form2* shiftSettings();
    bool isShiftSettingsLoaded() const { return !form2_.isNull(); }

    // Copies a grid into a new spreadsheet document (the export).
    void ExportToExcel(kq::ui::FlexGrid& myflexgrid);
    // Test seam: where the export opens its file (the desktop's spreadsheet
    // application unless set).
    void setSpreadsheetLauncher(std::shared_ptr<kq::ui::SpreadsheetLauncher> launcher);

  public slots:
    void Form_Load();
    // Run once the window is up: a damaged database is offered to be set
    // aside, and a statistics run that did not finish is reported.
    void checkDatabase();
    void Command1_Click();   // 更新打卡
    void Command2_Click();   // 查询
    void Command3_Click();   // 导出
    void Command4_Click();   // 更新排班
    void Command5_Click();   // 开始统计
    void Command6_Click();   // 班次设置
    void Command7_Click();   // 查看排班
    void Command8_Click();   // 常班上异常
    void Command9_Click();   // 常班下异常
    void Command10_Click();  // A班异常
    void Command11_Click();  // B班异常
    void Command12_Click();  // 早班异常
    void Command13_Click();  // 中班异常
    void Command14_Click();  // 夜班异常
    void Command15_Click();  // 缺卡名单
    void Command16_Click();  // 人员汇总
    void Command17_Click();  // 考勤月报

  public:
    // The monthly sheet window, once 考勤月报 has opened it.
    Form3* attendanceSheet() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Asks before the program ends; false cancels the close.
    bool Form_QueryUnload();
    void applyDesign();
    void connectButtons();
    QString countCaption(const QString& label, const kq::ui::FlexGrid& grid) const;
    // The shared work of the seven shift buttons: the query of one window of
    // the shift catalogue, by its index there.
    void showShiftQuery(int window);

    std::unique_ptr<Ui::Form1> ui;
    QString programFolder_;
    Clock clock_;
    QPointer<Form2> form2_;
    QPointer<Form3> form3_;
    std::shared_ptr<kq::ui::SpreadsheetLauncher> launcher_;
};
