#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "data/Connection.h"
#include "data/Error.h"
#include "import/WorkbookImport.h"
#include "support/TestFolder.h"

namespace kq {
namespace {

using test::TestFolder;

QStringList columnsOf(Connection& connection, const QString& table) {
    return connection.open(QStringLiteral("select * from %1 ").arg(table)).fieldNames();
}

int rowsOf(Connection& connection, const QString& table) {
    return connection.open(QStringLiteral("select * from %1 ").arg(table)).recordCount();
}

TEST(ProgramFolderImport, EachWorkbookReplacesOnlyItsOwnTable) {
    TestFolder folder;
    Connection connection(folder.path());
    folder.addFixture(QStringLiteral("ry_3punches.xls"), QStringLiteral("ry.xls"));
    folder.addFixture(QStringLiteral("yd_2days.xls"), QStringLiteral("yd.xls"));
    folder.addFixture(QStringLiteral("pb_14rows.xls"), QStringLiteral("pb.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 3);
    EXPECT_EQ(importWorkbook(connection, Workbook::Schedule), 2);
    EXPECT_EQ(importWorkbook(connection, Workbook::ShiftTimes), 14);

    // ry and pb again, from other workbooks: each replaces its own table only.
    folder.addFixture(QStringLiteral("ry_1punch.xls"), QStringLiteral("ry.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 1);
    folder.addFixture(QStringLiteral("pb_20rows.xls"), QStringLiteral("pb.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::ShiftTimes), 20);

    EXPECT_EQ(columnsOf(connection, QStringLiteral("ry")),
              QStringList({"日期", "时间", "姓名", "部门"}));
    EXPECT_EQ(rowsOf(connection, QStringLiteral("ry")), 1);
    EXPECT_EQ(columnsOf(connection, QStringLiteral("yd")),
              QStringList({"日期", "员工甲", "员工乙"}));
    EXPECT_EQ(rowsOf(connection, QStringLiteral("yd")), 2);
    EXPECT_EQ(columnsOf(connection, QStringLiteral("pb")), QStringList({"时间", "说明"}));
    EXPECT_EQ(rowsOf(connection, QStringLiteral("pb")), 20);
}

#ifndef _WIN32
// Copies a fixture into a folder named by the test, not by TestFolder.
void place(const QString& fixture, const QString& folder, const QString& asName) {
    ASSERT_TRUE(QFile::copy(test::fixturePath(fixture), folder + QLatin1Char('/') + asName))
        << fixture.toStdString();
}

// Outside Windows a backslash is a character of a folder's name, not a
// separator: "考勤\2026" is one folder, and "考勤/2026" another.
TEST(ProgramFolderImport, ABackslashInTheFolderNameIsPartOfTheName) {
    TestFolder root;
    const QString folder = root.file(QStringLiteral("考勤\\2026"));
    const QString lookalike = root.file(QStringLiteral("考勤/2026"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QDir().mkpath(lookalike));
    place(QStringLiteral("ry_1punch.xls"), lookalike, QStringLiteral("ry.xls"));

    Connection connection(folder);
    try {
        importWorkbook(connection, Workbook::Punches);
        ADD_FAILURE() << "imported a workbook the folder does not hold";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::FileNotFound);
        EXPECT_TRUE(e.description().contains(QStringLiteral("（应在文件夹 %1 中）").arg(folder)))
            << e.description().toStdString();
    }

    place(QStringLiteral("ry_3punches.xls"), folder, QStringLiteral("ry.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 3);
}

// A doubled separator, inside the folder or before it (as a share's name
// begins), names the same folder here and reaches the reader as it was given.
TEST(ProgramFolderImport, DoubledSeparatorsReachTheReaderAsGiven) {
    TestFolder root;
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("考勤")));
    place(QStringLiteral("ry_3punches.xls"), root.file(QStringLiteral("考勤")),
          QStringLiteral("ry.xls"));
    ASSERT_TRUE(root.path().startsWith(QLatin1Char('/')));
    for (const QString& folder : {root.path() + QStringLiteral("//考勤"),
                                  QLatin1Char('/') + root.path() + QStringLiteral("/考勤")}) {
        EXPECT_EQ(workbookPath(folder, Workbook::Punches), folder + QStringLiteral("/ry.xls"));
        Connection connection(folder);
        EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 3) << folder.toStdString();
    }
}
#endif

}  // namespace
}  // namespace kq
