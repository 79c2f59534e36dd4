#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "reports/AttendanceSheet.h"

class QLabel;
class QPushButton;
class QTableView;
class QPrinter;

namespace kq::ui {
class AttendanceSheetModel;
class SpreadsheetLauncher;
}  // namespace kq::ui

// The monthly attendance sheet: a title line, the legend, the sheet with its
// header row and name column fixed, and 导出, 打印, 关闭. Owned by the main
// window, which fills it.
class Form3 : public QWidget {
    Q_OBJECT
  public:
    explicit Form3(QWidget* owner);
    ~Form3() override;

    void showSheet(kq::reports::AttendanceSheet sheet);
    const kq::reports::AttendanceSheet& sheet() const;

    // Test seams: where 导出 opens its file, and what 打印 does with the
    // printer it has set up (the print preview unless set).
    void setSpreadsheetLauncher(std::shared_ptr<kq::ui::SpreadsheetLauncher> launcher);
    using PreviewHandler = std::function<void(QPrinter&)>;
    void setPreviewHandler(PreviewHandler handler) { preview_ = std::move(handler); }

  public slots:
    void Command1_Click();  // 导出
    void Command2_Click();  // 打印
    void Command3_Click();  // 关闭

  private:
    void preview(QPrinter& printer);

    QLabel* Label1;  // the title line
    QLabel* Label2;  // the legend
    QTableView* Grid1;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    kq::ui::AttendanceSheetModel* model_;
    std::shared_ptr<kq::ui::SpreadsheetLauncher> launcher_;
    PreviewHandler preview_;
};
