#include "export/GridWorkbook.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <vector>

#include "data/Error.h"
#include "support/HostPython.h"
#include "support/TestFolder.h"

namespace kq {
namespace {

class ListGrid : public GridSource {
  public:
    explicit ListGrid(std::vector<QStringList> cells) : cells_(std::move(cells)) {}
    int rows() const override { return static_cast<int>(cells_.size()); }
    int cols() const override { return cells_.empty() ? 0 : static_cast<int>(cells_[0].size()); }
    QString text(int r, int c) const override { return cells_[static_cast<size_t>(r)][c]; }

  private:
    std::vector<QStringList> cells_;
};

// Reads the workbook back with openpyxl, an implementation that shares no
// code with the writer, and reports what a spreadsheet user would see.
constexpr const char* kReader = R"(
import json, sys, openpyxl
from openpyxl.utils import get_column_letter
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.active
cells = [[{"v": c.value, "t": c.data_type, "b": bool(c.font and c.font.b)} for c in row]
         for row in ws.iter_rows(min_row=1, max_row=ws.max_row, max_col=ws.max_column)]
widths = {}
for i in range(1, ws.max_column + 1):
    letter = get_column_letter(i)
    dim = ws.column_dimensions.get(letter)
    widths[letter] = dim.width if dim is not None and dim.customWidth else None
print(json.dumps({"sheets": len(wb.worksheets), "maxRow": ws.max_row, "maxCol": ws.max_column,
                  "cells": cells, "widths": widths,
                  "active": ws.sheet_view.selection[0].activeCell,
                  "sqref": str(ws.sheet_view.selection[0].sqref)}, ensure_ascii=False))
)";

QJsonObject readBack(const QString& path) {
    return QJsonDocument::fromJson(
               test::runHostPython(
                   {QStringLiteral("-c"), QString::fromUtf8(kReader), test::hostPath(path)}))
        .object();
}

// A cell the read-back does not have is a failure, not an out-of-range read.
QJsonObject cell(const QJsonObject& sheet, int row, int col) {
    const QJsonArray rows = sheet["cells"].toArray();
    if (row < 1 || row > rows.size()) {
        ADD_FAILURE() << "no row " << row << " in the read-back";
        return {};
    }
    const QJsonArray cells = rows[row - 1].toArray();
    if (col < 1 || col > cells.size()) {
        ADD_FAILURE() << "no column " << col << " in row " << row << " of the read-back";
        return {};
    }
    return cells[col - 1].toObject();
}

double width(const QJsonObject& sheet, const char* column) {
    return sheet["widths"].toObject()[QLatin1String(column)].toDouble(-1);
}

class GridWorkbookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const QString why = test::hostPythonMissing(); !why.isEmpty())
            GTEST_SKIP() << why.toStdString();
    }
    QString write(const ListGrid& grid) {
        const QString path = folder_.file(QStringLiteral("out.xlsx"));
        writeGridWorkbook(grid, path);
        return path;
    }
    test::TestFolder folder_;
};

TEST_F(GridWorkbookTest, HeaderAndOneDataRowGiveTwoSheetRowsWithBoldHeader) {
    const ListGrid grid({{"序", "日期", "姓名", "时间"}, {"", "2026/3/2", "张三", "7:58:00"}});
    const QJsonObject sheet = readBack(write(grid));

    EXPECT_EQ(sheet["sheets"].toInt(), 1);
    EXPECT_EQ(sheet["maxRow"].toInt(), 2);
    EXPECT_EQ(sheet["maxCol"].toInt(), 4);
    // Grid cell (r, c) lands in sheet cell (r + 1, c + 1); column A is grid column 0.
    EXPECT_EQ(cell(sheet, 1, 1)["v"].toString(), "序");
    EXPECT_TRUE(cell(sheet, 2, 1)["v"].isNull());
    EXPECT_EQ(cell(sheet, 1, 3)["v"].toString(), "姓名");
    EXPECT_EQ(cell(sheet, 2, 2)["v"].toString(), "2026/3/2");
    EXPECT_EQ(cell(sheet, 2, 4)["v"].toString(), "7:58:00");
    for (int c = 1; c <= 4; ++c) {
        EXPECT_TRUE(cell(sheet, 1, c)["b"].toBool()) << "header column " << c;
    }
    for (int c = 2; c <= 4; ++c) {
        EXPECT_FALSE(cell(sheet, 2, c)["b"].toBool()) << "data column " << c;
    }
    EXPECT_EQ(sheet["active"].toString(), "A1");
    EXPECT_EQ(sheet["sqref"].toString(), "A1");
}

TEST_F(GridWorkbookTest, EveryCellIsTheGridTextExactly) {
    const QStringList texts = {"张三",       "=1+1", "=SUM(A1:A2)", "0012",
                               "1e5",        "TRUE", "2026/1/5",    "'引号",
                               "行一\n行二", "😀 x",  "a&b<c>",      "  前后空格  "};
    QStringList header;
    for (int i = 0; i < texts.size(); ++i) header << QStringLiteral("列%1").arg(i);
    const QJsonObject sheet = readBack(write(ListGrid({header, texts})));

    for (int i = 0; i < texts.size(); ++i) {
        const QJsonObject got = cell(sheet, 2, i + 1);
        EXPECT_EQ(got["v"].toString(), texts[i]) << i;
        EXPECT_EQ(got["t"].toString(), "s") << texts[i].toStdString() << " must stay text";
    }
}

TEST_F(GridWorkbookTest, ColumnWidthsFollowTheWidestText) {
    const ListGrid grid({{"", "abc", "张三丰", "x", "", QString(300, u'长')},
                         {"1", "abcdefghijklmnopqrst", "李四", "y", "", "z"}});
    const QJsonObject sheet = readBack(write(grid));

    const double a = width(sheet, "A"), b = width(sheet, "B"), c = width(sheet, "C"),
                 d = width(sheet, "D"), f = width(sheet, "F");
    EXPECT_GT(b, c) << "twenty Latin letters need more room than three CJK characters";
    EXPECT_GT(b, 20.0);
    EXPECT_GE(a, 1.0);
    EXPECT_GT(c, d) << "three CJK characters are wider than one letter";
    // CJK counts double: "张三丰" needs more than "abc" would.
    const ListGrid latin({{"abc"}, {"abc"}});
    const QString latinPath = folder_.file(QStringLiteral("latin.xlsx"));
    writeGridWorkbook(latin, latinPath);
    EXPECT_GT(c, width(readBack(latinPath), "A"));
    EXPECT_LT(sheet["widths"].toObject()["E"].toDouble(-1), 0)
        << "an empty column keeps the default";
    EXPECT_GT(f, 50.0);
    EXPECT_LT(f, 101.0) << "very long text is capped, not fitted";
    EXPECT_EQ(cell(sheet, 1, 6)["v"].toString().size(), 300) << "but the text itself stays whole";
}

TEST_F(GridWorkbookTest, TempWorkbookGetsAFreshNameInTheTemporaryFolder) {
    const ListGrid grid({{"a", "b"}, {"1", "2"}});
    const QString first = writeGridToTempWorkbook(grid);
    const QString second = writeGridToTempWorkbook(grid);
    EXPECT_NE(first, second);
    for (const QString& path : {first, second}) {
        const QFileInfo info(path);
        EXPECT_TRUE(info.isFile()) << path.toStdString();
        EXPECT_EQ(info.suffix(), "xlsx");
        EXPECT_EQ(QDir(info.absolutePath()).canonicalPath(),
                  QDir(QDir::tempPath()).canonicalPath());
        EXPECT_EQ(cell(readBack(path), 2, 2)["v"].toString(), "2");
        QFile::remove(path);
    }
}

class HugeGrid : public GridSource {
  public:
    int rows() const override { return 2; }
    int cols() const override { return 20000; }
    QString text(int, int) const override { return QStringLiteral("x"); }
};

// Nothing to read back: these run wherever the writer does.
class GridWorkbookFailureTest : public ::testing::Test {
  protected:
    test::TestFolder folder_;
};

TEST_F(GridWorkbookFailureTest, FailuresAreExportErrorsAndLeaveNoFile) {
    const QString missingDir = folder_.file(QStringLiteral("missing/out.xlsx"));
    try {
        writeGridWorkbook(ListGrid({{"a"}, {"b"}}), missingDir);
        ADD_FAILURE() << "writing into a missing folder must fail";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Export);
        EXPECT_TRUE(e.description().contains(QStringLiteral("missing"))) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(missingDir));

    // Wider than a worksheet: refused whole, nothing silently cut off.
    const QString tooWide = folder_.file(QStringLiteral("wide.xlsx"));
    try {
        writeGridWorkbook(HugeGrid(), tooWide);
        ADD_FAILURE() << "a grid wider than a sheet must be refused";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Export);
        EXPECT_TRUE(e.description().contains(QStringLiteral("20000"))) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(tooWide));

    const QString tooLong = folder_.file(QStringLiteral("long.xlsx"));
    EXPECT_THROW(writeGridWorkbook(ListGrid({{"a"}, {QString(40000, u'x')}}), tooLong), Error);
    EXPECT_FALSE(QFileInfo::exists(tooLong));
}

}  // namespace
}  // namespace kq
