// The month of the chain test in the shapes clerks' files come in: each is
// imported and must give the table its plain workbook gives, be refused with
// its message, or draw the run's look-alike hint.
#include <gtest/gtest.h>

#include "data/Connection.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"
#include "import/WorkbookImport.h"
#include "stats/StatisticsRun.h"
#include "support/TestFolder.h"

namespace kq {
namespace {

using test::TestFolder;

enum class Expect { SameTable, Refused, Hint };

struct Shape {
    const char* label;
    Workbook which;
    const char* fixture;
    Expect expect;
    // SameTable: the table's columns, joined by ","; Refused: the message;
    // Hint: the hint after a statistics run over the month.
    const char* says;
};

void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.label; }

const char* plainOf(Workbook which) {
    switch (which) {
        case Workbook::Punches:
            return "month_ry.xls";
        case Workbook::Schedule:
            return "month_yd.xls";
        case Workbook::ShiftTimes:
            break;
    }
    return "month_pb.xls";
}

QString tableOf(Workbook which) {
    switch (which) {
        case Workbook::Punches:
            return QStringLiteral("ry");
        case Workbook::Schedule:
            return QStringLiteral("yd");
        case Workbook::ShiftTimes:
            break;
    }
    return QStringLiteral("pb");
}

// The three workbooks of the month in a folder, `shape` in place of one.
void layOut(const TestFolder& folder, const Shape* shape) {
    for (const Workbook which : {Workbook::Punches, Workbook::Schedule, Workbook::ShiftTimes}) {
        const bool shaped = shape && shape->which == which;
        const QString fixture = QString::fromUtf8(shaped ? shape->fixture : plainOf(which));
        folder.addFixture(fixture, tableOf(which) + fixture.mid(fixture.lastIndexOf('.')));
    }
}

// The named columns of the table, row by row, as the grid shows them.
std::vector<QStringList> rowsOf(Connection& connection, const QString& table,
                                const QStringList& columnNames) {
    QStringList quoted;
    for (const QString& name : columnNames) quoted << quoteIdentifier(name);
    Recordset rs = connection.open(
        QStringLiteral("select %1 from %2 ").arg(quoted.join(QStringLiteral(", ")), table));
    std::vector<QStringList> rows;
    for (; !rs.eof(); rs.moveNext()) {
        QStringList row;
        for (int i = 0; i < rs.fieldCount(); ++i)
            row << (rs.field(i).isNull() ? QStringLiteral("<null>") : rs.field(i).toText());
        rows.push_back(row);
    }
    return rows;
}

QStringList columnsOf(Connection& connection, const QString& table) {
    return connection.open(QStringLiteral("select * from %1 ").arg(table)).fieldNames();
}

class WorkbookShapesTest : public ::testing::TestWithParam<Shape> {};

TEST_P(WorkbookShapesTest, ImportsAsThePlainMonthOrSaysWhy) {
    const Shape& shape = GetParam();
    const QString table = tableOf(shape.which);
    const QString says = QString::fromUtf8(shape.says);
    TestFolder folder;
    layOut(folder, &shape);
    Connection connection(folder.path());

    switch (shape.expect) {
        case Expect::SameTable: {
            TestFolder plainFolder;
            layOut(plainFolder, nullptr);
            Connection plain(plainFolder.path());
            const qsizetype plainRows = importWorkbook(plain, shape.which);
            EXPECT_EQ(importWorkbook(connection, shape.which), plainRows);
            EXPECT_EQ(columnsOf(connection, table).join(','), says);
            const QStringList plainColumns = columnsOf(plain, table);
            EXPECT_EQ(rowsOf(connection, table, plainColumns), rowsOf(plain, table, plainColumns));
            break;
        }
        case Expect::Refused:
            try {
                importWorkbook(connection, shape.which);
                ADD_FAILURE() << "imported";
            } catch (const Error& e) {
                EXPECT_EQ(e.description(), says);
            }
            break;
        case Expect::Hint:
            importWorkbook(connection, Workbook::Punches);
            importWorkbook(connection, Workbook::Schedule);
            EXPECT_EQ(runStatistics(connection, [](const QString&) {}).lookAlikeHint, says);
            break;
    }
}

constexpr const char* kRy = "日期,时间,姓名,卡号";
constexpr const char* kYd = "日期,王伟, 王伟,李娜";

INSTANTIATE_TEST_SUITE_P(
    SameMonth, WorkbookShapesTest,
    ::testing::Values(
        Shape{"TitleRowRy", Workbook::Punches, "shape_title_ry.xls", Expect::SameTable, kRy},
        Shape{"TitleRowYd", Workbook::Schedule, "shape_title_yd.xls", Expect::SameTable, kYd},
        Shape{"TitleRowPb", Workbook::ShiftTimes, "shape_title_pb.xls", Expect::SameTable,
              "时间,说明"},
        Shape{"OneMomentColumn", Workbook::Punches, "shape_moment_ry.xls", Expect::SameTable,
              "姓名,打卡时间,卡号,日期,时间"},
        Shape{"DateAndTimeBothWhole", Workbook::Punches, "shape_both_full_ry.xls",
              Expect::SameTable, kRy},
        Shape{"OnlySheetNamedInChinese", Workbook::Punches, "shape_only_sheet_ry.xls",
              Expect::SameTable, kRy},
        Shape{"OnlySheetNamedSheet0", Workbook::Schedule, "shape_only_sheet_yd.xls",
              Expect::SameTable, kYd},
        Shape{"MonthGrid", Workbook::Schedule, "shape_grid_yd.xls", Expect::SameTable, kYd},
        Shape{"MonthGridTitledXlsx", Workbook::Schedule, "shape_grid_yd.xlsx", Expect::SameTable,
              kYd},
        Shape{"PlainMonthNeedsNoHint", Workbook::Punches, "month_ry.xls", Expect::Hint, ""},
        Shape{"NameWithTrailingBlank", Workbook::Punches, "shape_name_blank_ry.xls", Expect::Hint,
              "排班表中的“李娜”没有打卡记录；打卡记录中有“李娜 ”（多了空格）"
              "\n以上均未更改。如是同一人或同一班次，请改正工作簿后重新导入并统计。"},
        Shape{"CodesNearlyA", Workbook::Schedule, "shape_codes_yd.xls", Expect::Hint,
              "排班表中有 2 个班次代码与班次相近，按休息日统计：“a”（2026/12/1  王伟）、"
              "“ A”（2026/12/3 李娜）"
              "\n以上均未更改。如是同一人或同一班次，请改正工作簿后重新导入并统计。"},
        Shape{"NoHeaderInTwentyRows", Workbook::Punches, "shape_no_header_ry.xls", Expect::Refused,
              "工作簿 ry.xls 的 sheet1 的前 20 行中找不到列名行（应有一行含“日期”、“时间”和"
              "“姓名”列，或含“姓名”列和“打卡时间”、“考勤时间”、“刷卡时间”、“签到时间”、"
              "“日期时间”中的一列），请按此写好列名，数据未导入，原有数据保持不变。"},
        Shape{"DateAndTimeNameTwoMoments", Workbook::Punches, "shape_moments_differ_ry.xls",
              Expect::Refused,
              "工作簿 ry.xls 的 sheet1 第 3 行的“日期”（2026/12/1 7:58:12）与“时间”（8:00:00）"
              "不是同一时刻，请改正其中之一，数据未导入，原有数据保持不变。"},
        Shape{"MonthGridWithoutYears", Workbook::Schedule, "shape_grid_yearless_yd.xls",
              Expect::Refused,
              "工作簿 yd.xls 的 sheet1 第 2 列的列名“1”是没有年份的日期，请把各日期列的列名"
              "写成完整的日期（如 2026/12/1），数据未导入，原有数据保持不变。"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace kq
