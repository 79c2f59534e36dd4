#include "import/XlsReader.h"

#include <gtest/gtest.h>

#include "data/DateTimeText.h"
#include "data/Error.h"
#include "support/TestFolder.h"

namespace kq {
namespace {

using test::fixturePath;

TEST(XlsReader, ReadsTypedCellsOfTheSheetWhateverItsCase) {
    XlsReader reader(fixturePath(QStringLiteral("ry_Sheet1.xls")));
    EXPECT_EQ(reader.sheetNames(), QStringList({"说明", "Sheet1"}));
    const XlsSheet sheet = reader.readSheet(QStringLiteral("sheet1"));
    EXPECT_EQ(sheet.name, QStringLiteral("Sheet1"));
    ASSERT_EQ(sheet.columnCount, 4);
    ASSERT_EQ(sheet.rowCount(), 3);
    EXPECT_EQ(sheet.cell(0, 2).text, QStringLiteral("姓名"));

    const XlsCell& date = sheet.cell(1, 0);
    EXPECT_EQ(date.type, XlsCell::Type::Date);
    EXPECT_EQ(date.number, datetime::fromDate(QDate(2024, 3, 1)));
    const XlsCell& time = sheet.cell(2, 1);
    EXPECT_EQ(time.type, XlsCell::Type::Time);
    EXPECT_EQ(time.number, datetime::fromTime(QTime(17, 5)));
    EXPECT_TRUE(sheet.cell(1, 3).isNumber());
    EXPECT_EQ(sheet.cell(1, 3).number, 1001);
}

TEST(XlsReader, LeavesOutRowsAndColumnsWithoutContent) {
    XlsReader reader(fixturePath(QStringLiteral("ry_blank_header_trailing_rows.xls")));
    const XlsSheet sheet = reader.readSheet(QStringLiteral("sheet1"));
    EXPECT_EQ(sheet.columnCount, 5);
    EXPECT_EQ(sheet.rowCount(), 3);  // header and two rows; the formatted rows are gone
    EXPECT_TRUE(sheet.cell(0, 3).isEmpty());
    EXPECT_TRUE(sheet.cell(2, 4).isEmpty());
}

TEST(XlsReader, FormulaCellsReadAsEmpty) {
    XlsReader reader(fixturePath(QStringLiteral("ry_formula_time.xls")));
    const XlsSheet sheet = reader.readSheet(QStringLiteral("sheet1"));
    ASSERT_EQ(sheet.rowCount(), 3);
    EXPECT_TRUE(sheet.cell(2, 1).isEmpty());
    EXPECT_EQ(sheet.cell(2, 2).text, QStringLiteral("张三"));
}

TEST(XlsReader, NamesTheFileInItsErrors) {
    try {
        XlsReader reader(fixturePath(QStringLiteral("ry_none.xls")));
        FAIL() << "opened a missing file";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), errc::kFileNotFound);
        EXPECT_TRUE(e.description().contains(QStringLiteral("ry_none.xls")));
    }
    XlsReader reader(fixturePath(QStringLiteral("no_sheet1.xls")));
    try {
        reader.readSheet(QStringLiteral("sheet1"));
        FAIL() << "found a sheet that is not there";
    } catch (const Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("no_sheet1.xls")));
        EXPECT_TRUE(e.description().contains(QStringLiteral("数据、Sheet2")));
    }
}

}  // namespace
}  // namespace kq
