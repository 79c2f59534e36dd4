#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

#include "import/ShiftWindowTimes.h"

namespace Ui {
class Form2;
}

class QLineEdit;

// The shift settings window. Constructing it is loading it: the fourteen
// boxes Text1(0..13) are filled from pb, and while the window lives (shown
// or hidden) they are the shift windows that the anomaly queries apply.
// Closing it ("退出设置" or the title bar) unloads it and drops any edits.
class Form2 : public QWidget {
    Q_OBJECT
  public:
    Form2(QString programFolder, QWidget* parent = nullptr);
    ~Form2() override;

    // What box Text1(index) shows now, edits included; index 0..13.
    QString shiftWindowText(int index) const;

  public slots:
    void Command1_Click();  // 保存设置
    void Command2_Click();  // 退出设置
    void Command3_Click();  // 一维报表

  private:
    void Form_Load();
    void applyDesign();

    std::unique_ptr<Ui::Form2> ui;
    std::array<QLineEdit*, kq::kShiftWindowTimeCount> Text1{};
    QString programFolder_;
};
