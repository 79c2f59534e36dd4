#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "GuiHarness.h"
#include "app/SpreadsheetLauncher.h"
#include "data/Recordset.h"
#include "support/HostPython.h"

namespace kq::test {
namespace {

using kq::ui::MessageBox;

// Records what the export asked to open instead of starting an application.
class FakeLauncher : public kq::ui::SpreadsheetLauncher {
  public:
    explicit FakeLauncher(bool succeeds) : succeeds_(succeeds) {}
    bool open(const QString& file) override {
        files.push_back(file);
        if (QFileInfo::exists(file) && test::hostPythonMissing().isEmpty())
            contents.push_back(sheetRows(file));
        return succeeds_;
    }
    std::vector<QString> files;
    std::vector<QJsonArray> contents;

  private:
    // The cell texts of the first sheet, row by row, read by openpyxl.
    static QJsonArray sheetRows(const QString& file) {
        return QJsonDocument::fromJson(
                   runHostPython({QStringLiteral("-c"),
                                  QStringLiteral("import json,sys,openpyxl\n"
                                                 "ws=openpyxl.load_workbook(sys.argv[1]).active\n"
                                                 "print(json.dumps([[c.value for c in r] for r in "
                                                 "ws.iter_rows()],ensure_ascii=False))"),
                                  hostPath(file)}))
            .array();
    }
    bool succeeds_;
};

std::shared_ptr<const RowSet> rowsOf(QStringList columns, std::vector<QStringList> records) {
    auto rows = std::make_shared<RowSet>();
    rows->columns = std::move(columns);
    for (const QStringList& record : records)
        for (const QString& text : record) rows->append(Value::text(text));
    return rows;
}

std::vector<QStringList> snapshot(const kq::ui::FlexGrid& grid) {
    std::vector<QStringList> out;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < grid.cols(); ++c) row << grid.textMatrix(r, c);
        out.push_back(row);
    }
    return out;
}

class ExportTest : public ::testing::Test {
  protected:
    void useLauncher(bool succeeds) {
        launcher_ = std::make_shared<FakeLauncher>(succeeds);
        gui_.form().setSpreadsheetLauncher(launcher_);
    }
    void TearDown() override {
        if (launcher_)
            for (const QString& f : launcher_->files) QFile::remove(f);
    }
    GuiHarness gui_;
    std::shared_ptr<FakeLauncher> launcher_;
};

TEST_F(ExportTest, HeaderOnlyResultGridSaysNoDataAndOpensNothing) {
    useLauncher(true);
    // The imported-data grid holds rows, the result grid only its header:
    // the export looks at the result grid alone.
    gui_.grid("MSHFlexGrid2")->setDataSource(rowsOf({"姓名"}, {{"张三"}, {"李四"}}));
    gui_.grid("MSHFlexGrid1")->setDataSource(rowsOf({"日期", "姓名", "时间"}, {}));
    ASSERT_EQ(gui_.grid("MSHFlexGrid1")->rows(), 1);

    gui_.click("Command3");

    ASSERT_EQ(gui_.messages.all().size(), 1u);
    const auto& m = gui_.messages.all().front();
    EXPECT_EQ(m.kind, MessageBox::Kind::Information);
    EXPECT_EQ(m.title, "提示");
    EXPECT_EQ(m.text, "没有数据！");
    EXPECT_TRUE(launcher_->files.empty());
}

TEST_F(ExportTest, ExportsTheResultGridWholeAndLeavesItUnchanged) {
    if (const QString why = test::hostPythonMissing(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    useLauncher(true);
    gui_.grid("MSHFlexGrid2")->setDataSource(rowsOf({"导入"}, {{"不该导出"}, {"也不该"}}));
    gui_.grid("MSHFlexGrid1")
        ->setDataSource(rowsOf({"日期", "姓名", "时间"}, {{"2026/12/1", "张三", "7:59:00"},
                                                          {"2026/12/2", "=王五", "18:01:30"}}));
    const auto before = snapshot(*gui_.grid("MSHFlexGrid1"));

    gui_.click("Command3");

    EXPECT_TRUE(gui_.messages.all().empty()) << gui_.messages.texts().join('|').toStdString();
    ASSERT_EQ(launcher_->files.size(), 1u);
    const QFileInfo file(launcher_->files.front());
    EXPECT_EQ(file.suffix(), "xlsx");
    EXPECT_EQ(QDir(file.absolutePath()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
    ASSERT_EQ(launcher_->contents.size(), 1u);
    const QJsonArray sheet = launcher_->contents.front();
    ASSERT_EQ(sheet.size(), 3);
    // Column A is the grid's fixed column 0, empty here.
    EXPECT_EQ(sheet[0].toArray(), QJsonArray({QJsonValue(), "日期", "姓名", "时间"}));
    EXPECT_EQ(sheet[1].toArray(), QJsonArray({QJsonValue(), "2026/12/1", "张三", "7:59:00"}));
    EXPECT_EQ(sheet[2].toArray(), QJsonArray({QJsonValue(), "2026/12/2", "=王五", "18:01:30"}));
    EXPECT_EQ(snapshot(*gui_.grid("MSHFlexGrid1")), before);
}

TEST_F(ExportTest, ApplicationThatCannotStartGivesTheExclamationMessage) {
    useLauncher(false);
    gui_.grid("MSHFlexGrid1")->setDataSource(rowsOf({"姓名"}, {{"张三"}}));
    const auto before = snapshot(*gui_.grid("MSHFlexGrid1"));

    gui_.click("Command3");

    ASSERT_EQ(launcher_->files.size(), 1u);
    ASSERT_EQ(gui_.messages.all().size(), 1u);
    const auto& m = gui_.messages.all().front();
    EXPECT_EQ(m.kind, MessageBox::Kind::Exclamation);
    EXPECT_EQ(m.title, "提示");
    EXPECT_EQ(m.text, "当前无法导出为Excel！可能未正确安装EXCEL软件");
    EXPECT_FALSE(QFileInfo::exists(launcher_->files.front()))
        << "an unopened export is not left behind";
    EXPECT_EQ(snapshot(*gui_.grid("MSHFlexGrid1")), before);
}

}  // namespace
}  // namespace kq::test
