#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "queries/ShiftQuery.h"
#include "shifts/ShiftCatalogue.h"

namespace Ui {
class Form2;
}

class QGroupBox;
class QLabel;
class QLineEdit;

// The shift settings window. Constructing it is loading it: the fourteen
// boxes Text1(0..13) are filled from the stored shift times, and while the
// window lives (shown or hidden) they are the shift windows that the anomaly
// queries apply.
// Closing it ("退出设置" or the title bar) unloads it and drops any edits.
class Form2 : public QWidget {
    Q_OBJECT
  public:
    Form2(QString programFolder, QWidget* parent = nullptr);
    ~Form2() override;

    // What box Text1(index) shows now, edits included; index 0..13.
    QString shiftWindowText(int index) const;
    // All fourteen, in box order.
    kq::shifts::WindowTimes shiftWindowTimes() const;

    // The message for a settings time that is not a time: the problem, then
    // where in this window to correct it.
    QString windowTimeProblemMessage(const kq::queries::WindowTimeProblem& problem) const;

  public slots:
    void Command1_Click();  // 保存设置
    void Command2_Click();  // 退出设置
    void Command3_Click();  // 一维报表

  private:
    void Form_Load();
    void applyDesign();

    std::unique_ptr<Ui::Form2> ui;
    // The frame and the row label of each window of the shift catalogue.
    struct WindowRow {
        QGroupBox* frame;
        QLabel* label;
    };

    std::array<QLineEdit*, kq::shifts::kWindowTimeCount> Text1{};
    std::vector<WindowRow> windowRows_;
    QString programFolder_;
};
