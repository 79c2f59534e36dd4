#pragma once

#include <QAbstractButton>
#include <QDate>
#include <QGroupBox>
#include <QMessageBox>
#include <QStringList>
#include <memory>

#include "app/Form1.h"
#include "controls/FlexGrid.h"
#include "controls/MessageBox.h"
#include "controls/MessageRecorder.h"
#include "support/TestFolder.h"

namespace kq::test {

using MessageRecorder = kq::ui::MessageRecorder;

// A fresh Form1 over a fresh, empty program folder, started on a fixed day.
class GuiHarness {
  public:
    explicit GuiHarness(QDate today = QDate(2026, 12, 6));
    ~GuiHarness();

    TestFolder folder;
    MessageRecorder messages;

    Form1& form() { return *form_; }
    // Discards the window and starts a new one over the same folder.
    void restart();

    // A control of the main window itself; the settings window is a child
    // window with controls of the same names, and is never searched.
    template <class T>
    T* child(const QString& name) const {
        for (T* candidate : form_->findChildren<T*>(name))
            if (candidate->window() == form_.get()) return candidate;
        return nullptr;
    }
    QAbstractButton* button(const QString& name) const;
    kq::ui::FlexGrid* grid(const QString& name) const;
    QString frameTitle(const QString& name) const;
    // Presses a button as the user would (nothing happens while disabled).
    void click(const QString& name);

  private:
    QDate today_;
    std::unique_ptr<Form1> form_;
};

// "日期 时间 姓名" of each data row of a grid, in grid order.
QStringList dateTimeNameRows(kq::ui::FlexGrid* grid);

}  // namespace kq::test
