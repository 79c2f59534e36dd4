#include "import/WorkbookImport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "data/Connection.h"
#include "data/Error.h"
#include "support/TableRows.h"
#include "support/TestFolder.h"
#include "support/Unprivileged.h"

namespace kq {
namespace {

using test::readTable;
using test::TableText;
using test::TestFolder;

QStringList declaredTypes(Connection& connection, const QString& table) {
    Statement s = connection.prepare(
        QStringLiteral("select type from pragma_table_info('%1') order by cid").arg(table));
    QStringList types;
    while (s.step()) types << s.column(0).toText();
    return types;
}

// Runs the import and returns the error it must raise.
Error importFails(Connection& connection, Workbook which) {
    try {
        importWorkbook(connection, which);
    } catch (const Error& e) {
        return e;
    }
    ADD_FAILURE() << "import succeeded";
    return Error(ErrorKind::DiskError, QStringLiteral("the import did not fail"));
}

class WorkbookImportTest : public ::testing::Test {
  protected:
    // Imports the three-punch workbook, which the failure cases must keep.
    void importThreePunches() {
        folder.addFixture(QStringLiteral("ry_3punches.xls"), QStringLiteral("ry.xls"));
        ASSERT_EQ(importWorkbook(connection, Workbook::Punches), 3);
    }
    void expectThreePunchesKept() {
        Connection reader(folder.path());
        const TableText ry = readTable(reader, QStringLiteral("ry"));
        EXPECT_EQ(ry.columns, QStringList({"日期", "时间", "姓名", "部门"}));
        ASSERT_EQ(ry.rows.size(), 3u);
        EXPECT_EQ(ry.rows[1][2], QStringLiteral("张'三"));
    }

    TestFolder folder;
    Connection connection{folder.path()};
};

TEST_F(WorkbookImportTest, PunchesKeepEveryColumnTypeAndTheSheetOrder) {
    importThreePunches();
    const TableText ry = readTable(connection, QStringLiteral("ry"));
    EXPECT_EQ(declaredTypes(connection, QStringLiteral("ry")),
              QStringList({"DATETIME", "DATETIME", "TEXT", "TEXT"}));
    ASSERT_EQ(ry.rows.size(), 3u);
    EXPECT_EQ(ry.rows[0], QStringList({"2024/1/5", "7:58:00", "张三", "装配"}));
    EXPECT_EQ(ry.rows[1], QStringList({"2024/1/5", "17:31:00", "张'三", "装配"}));
    EXPECT_EQ(ry.rows[2], QStringList({"2024/1/6", "8:02:00", "李四", "包装"}));

    // Dates and times compare with the dialect's literals to the second.
    Recordset hit = connection.open(
        QStringLiteral("select 姓名 from ry where 日期 = #2024/1/5# and 时间 = #17:31#"));
    ASSERT_EQ(hit.recordCount(), 1);
    EXPECT_EQ(hit.field(0).toText(), QStringLiteral("张'三"));
}

TEST_F(WorkbookImportTest, SecondShorterImportReplacesTheRowsAndColumns) {
    importThreePunches();
    folder.addFixture(QStringLiteral("ry_Sheet1.xls"), QStringLiteral("ry.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 2);
    TableText ry = readTable(connection, QStringLiteral("ry"));
    // Found as "Sheet1" although another sheet comes first; 部门 is gone.
    EXPECT_EQ(ry.columns, QStringList({"日期", "时间", "姓名", "卡号"}));
    EXPECT_EQ(declaredTypes(connection, QStringLiteral("ry")).at(3), QStringLiteral("REAL"));
    ASSERT_EQ(ry.rows.size(), 2u);
    EXPECT_EQ(ry.rows[1], QStringList({"2024/3/1", "17:05:00", "赵六", "1001"}));

    folder.addFixture(QStringLiteral("ry_1punch.xls"), QStringLiteral("ry.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 1);
    ry = readTable(connection, QStringLiteral("ry"));
    ASSERT_EQ(ry.rows.size(), 1u);
    EXPECT_EQ(ry.rows[0], QStringList({"2024/2/1", "8:15:00", "王五", "仓库"}));
}

TEST_F(WorkbookImportTest, AnAbsentTableIsCreated) {
    connection.executeNative(QStringLiteral("drop table ry"));
    folder.addFixture(QStringLiteral("ry_1punch.xls"), QStringLiteral("ry.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 1);
    EXPECT_TRUE(TableExist(connection, QStringLiteral("ry")));
}

TEST_F(WorkbookImportTest, UnreadableWorkbooksLeaveTheOldTableWhole) {
    importThreePunches();

    QFile::remove(folder.file(QStringLiteral("ry.xls")));
    Error missing = importFails(connection, Workbook::Punches);
    EXPECT_EQ(missing.kind(), ErrorKind::FileNotFound);
    EXPECT_TRUE(missing.description().contains(QStringLiteral("找不到工作簿 ry.xls")))
        << missing.description().toStdString();
    EXPECT_TRUE(missing.description().endsWith(QStringLiteral("原有数据保持不变。")));
    expectThreePunchesKept();

    folder.addFixture(QStringLiteral("not_a_workbook.xls"), QStringLiteral("ry.xls"));
    const Error notXls = importFails(connection, Workbook::Punches);
    EXPECT_EQ(notXls.kind(), ErrorKind::BadWorkbook);
    EXPECT_TRUE(notXls.description().contains(QStringLiteral("ry.xls 不是可读取的")))
        << notXls.description().toStdString();
    expectThreePunchesKept();

    for (const auto& [fixture, says] : std::vector<std::pair<QString, QString>>{
             {"damaged/excel4_workbook.xls", "工作簿 ry.xls 是 Excel 4.0 的多工作表工作簿"},
             {"damaged/zip_without_workbook.xlsx", "工作簿 ry.xls 不是可读取的 Excel 工作簿"},
             {"damaged/binary_workbook.xlsb", "工作簿 ry.xls 是 Excel 二进制工作簿（.xlsb）"},
             {"damaged/xlsx_sheet1_without_part.xlsx",
              "工作簿 ry.xls 中的工作表“sheet1”没有内容可读"},
         }) {
        folder.addFixture(fixture, QStringLiteral("ry.xls"));
        const Error e = importFails(connection, Workbook::Punches);
        EXPECT_EQ(e.kind(), ErrorKind::BadWorkbook);
        EXPECT_TRUE(e.description().startsWith(says)) << e.description().toStdString();
        expectThreePunchesKept();
    }

    folder.addFixture(QStringLiteral("no_sheet1.xls"), QStringLiteral("ry.xls"));
    const Error noSheet = importFails(connection, Workbook::Punches);
    EXPECT_TRUE(noSheet.description().contains(QStringLiteral("没有名为“sheet1”的工作表")));
    EXPECT_TRUE(noSheet.description().contains(QStringLiteral("数据、Sheet2")))
        << noSheet.description().toStdString();
    expectThreePunchesKept();
}

TEST_F(WorkbookImportTest, AWorkbookThatCannotBeOpenedIsReportedAsSuch) {
    importThreePunches();
    const auto expectCannotRead = [&] {
        const Error e = importFails(connection, Workbook::Punches);
        EXPECT_EQ(e.kind(), ErrorKind::BadWorkbook);
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("无法读取工作簿 ry.xls：")))
            << e.description().toStdString();
        expectThreePunchesKept();
    };
    // A folder in its place, readable by nobody as a workbook.
    QFile::remove(folder.file(QStringLiteral("ry.xls")));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("ry.xls")));
    expectCannotRead();
    ASSERT_TRUE(QDir(folder.path()).rmdir(QStringLiteral("ry.xls")));

    folder.addFixture(QStringLiteral("ry_1punch.xls"), QStringLiteral("ry.xls"));
    QFile workbook(folder.file(QStringLiteral("ry.xls")));
#ifdef _WIN32
    // Permission bits do not bind a Windows file's owner; what keeps the
    // clerk out is another program holding the file open unshared.
    const HANDLE held = CreateFileW(
        reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(workbook.fileName()).utf16()),
        GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    expectCannotRead();
    CloseHandle(held);
#else
    // A file its user may not read. Root reads any file, so there the import
    // runs in a child that has dropped to an unprivileged user.
    ASSERT_TRUE(workbook.setPermissions(QFileDevice::WriteOwner));
    if (geteuid() != 0) {
        expectCannotRead();
        return;
    }
    connection.close();
    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(folder.path(), everyone));
    ASSERT_TRUE(QFile::setPermissions(folder.file(Connection::databaseFileName()),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadOther | QFileDevice::WriteOther));
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (!test::dropRootPrivileges()) _exit(2);
        if (QFile(workbook.fileName()).open(QIODevice::ReadOnly)) _exit(3);
        try {
            Connection own(folder.path());
            importWorkbook(own, Workbook::Punches);
        } catch (const Error& e) {
            const bool named =
                e.kind() == ErrorKind::BadWorkbook &&
                e.description().startsWith(QStringLiteral("无法读取工作簿 ry.xls："));
            _exit(named ? 0 : 4);
        }
        _exit(5);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    // 2: could not drop privileges, 3: still readable, 4: wrong error, 5: imported.
    EXPECT_EQ(WEXITSTATUS(status), 0);
    expectThreePunchesKept();
#endif
}

TEST_F(WorkbookImportTest, DamagedWorkbooksEndInTheirMessageAndKeepTheOldTable) {
    importThreePunches();
    struct Case {
        const char* fixture;
        const char* detail;  // what the message says is wrong
    };
    for (const Case& c : {
             Case{"xls_dimension_too_large.xls", "工作表声称 16777216 行 × 256 列"},
             Case{"xls_double_dimension.xls", "工作表的尺寸记录重复"},
             Case{"xls_fat_count.xls", "FAT 扇区数超出文件"},
             Case{"xls_difat_loop.xls", "DIFAT 链循环"},
             Case{"xls_fat_loop.xls", "扇区链循环"},
             Case{"xls_dir_name_length.xls", "目录项的名称长度无效"},
             Case{"xls_sst_string_length.xls", "字符串长度超出记录"},
             Case{"xls_sheet_name_length.xls", "字符串长度超出记录"},
             Case{"xls_record_length.xls", "记录被截断"},
             Case{"xls_sst_index.xls", "共享字符串编号超出范围"},
             Case{"xls_truncated.xls", "扇区编号超出文件"},
             Case{"xlsx_row_beyond.xlsx", "单元格超出工作表的最大范围 1048576 行 × 16384 列"},
             Case{"xlsx_column_beyond.xlsx", "单元格超出工作表的最大范围"},
             Case{"xlsx_dimension_too_large.xlsx", "A1:XFE2000000"},
             Case{"xlsx_sst_index.xlsx", "共享字符串编号超出范围"},
             Case{"xlsx_broken_xml.xlsx", "xl/worksheets/sheet1.xml 的内容不完整或有误"},
             Case{"xlsx_truncated.xlsx", "压缩包目录无法读取"},
             Case{"xlsx_expansion_ratio.xlsx",
                  "xl/worksheets/sheet1.xml 解压后是压缩大小的 100 倍以上"},
         }) {
        const QString fixture = QString::fromUtf8(c.fixture);
        // An .xlsx is read as ry.xlsx when no ry.xls lies beside it.
        const QString asName = fixture.endsWith(QLatin1String(".xlsx")) ? QStringLiteral("ry.xlsx")
                                                                        : QStringLiteral("ry.xls");
        QFile::remove(folder.file(QStringLiteral("ry.xls")));
        QFile::remove(folder.file(QStringLiteral("ry.xlsx")));
        folder.addFixture(QStringLiteral("damaged/") + fixture, asName);
        const Error e = importFails(connection, Workbook::Punches);
        EXPECT_EQ(e.kind(), ErrorKind::BadWorkbook) << c.fixture;
        EXPECT_TRUE(
            e.description().startsWith(QStringLiteral("工作簿 %1 已损坏，无法读取（").arg(asName)))
            << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(QString::fromUtf8(c.detail)))
            << e.description().toStdString();
        EXPECT_TRUE(e.description().endsWith(QStringLiteral("原有数据保持不变。")));
        expectThreePunchesKept();
    }
}

TEST_F(WorkbookImportTest, MissingOrMisplacedColumnsAreNamed) {
    importThreePunches();
    folder.addFixture(QStringLiteral("ry_no_name.xls"), QStringLiteral("ry.xls"));
    const Error noName = importFails(connection, Workbook::Punches);
    EXPECT_EQ(noName.kind(), ErrorKind::MissingColumn);
    EXPECT_EQ(
        noName.description(),
        QStringLiteral("工作簿 ry.xls 的 sheet1 缺少“姓名”列，数据未导入，原有数据保持不变。"));
    expectThreePunchesKept();

    // Blanks around a header make another column, and the message says so.
    folder.addFixture(QStringLiteral("ry_blank_around_name.xls"), QStringLiteral("ry.xls"));
    EXPECT_EQ(
        importFails(connection, Workbook::Punches).description(),
        QStringLiteral("工作簿 ry.xls 的 sheet1 缺少“姓名”列（第 3 列的列名“ 姓名”前后有空格，"
                       "请删去空格），数据未导入，原有数据保持不变。"));
    expectThreePunchesKept();

    QFile::remove(folder.file(QStringLiteral("ry.xls")));
    folder.addFixture(QStringLiteral("ry_too_wide.xlsx"), QStringLiteral("ry.xlsx"));
    EXPECT_EQ(importFails(connection, Workbook::Punches).description(),
              QStringLiteral("工作簿 ry.xlsx 的 sheet1 的第 2500 列有内容，但一张表最多只能有 2000 "
                             "列，请删去多余的列，数据未导入，原有数据保持不变。"));
    expectThreePunchesKept();
    QFile::remove(folder.file(QStringLiteral("ry.xlsx")));

    folder.addFixture(QStringLiteral("ry_duplicate_column.xls"), QStringLiteral("ry.xls"));
    EXPECT_TRUE(importFails(connection, Workbook::Punches)
                    .description()
                    .contains(QStringLiteral("有两列同名“姓名”（第 3 列和第 4 列）")));
    expectThreePunchesKept();

    folder.addFixture(QStringLiteral("yd_2days.xls"), QStringLiteral("yd.xls"));
    ASSERT_EQ(importWorkbook(connection, Workbook::Schedule), 2);
    folder.addFixture(QStringLiteral("yd_date_not_first.xls"), QStringLiteral("yd.xls"));
    EXPECT_EQ(importFails(connection, Workbook::Schedule).description(),
              QStringLiteral("工作簿 yd.xls 的 sheet1 的第一列应为“日期”列（现为“员工甲”），"
                             "数据未导入，原有数据保持不变。"));
    EXPECT_EQ(readTable(connection, QStringLiteral("yd")).rows.size(), 2u);
}

TEST_F(WorkbookImportTest, UnreadableDateOrTimeCellsAreReportedByRowAndColumn) {
    importThreePunches();
    struct Case {
        const char* fixture;
        const char* expected;
    };
    for (const Case& c : {
             Case{"ry_formula_time.xls", "工作簿 ry.xls 的 sheet1 第 3 行的“时间”为空"},
             Case{"ry_blank_date.xls", "工作簿 ry.xls 的 sheet1 第 4 行的“日期”为空"},
             Case{"ry_bad_time.xls", "工作簿 ry.xls 的 sheet1 第 3 行的“时间”（八点）不是时间"},
             Case{"ry_year_0026.xls",
                  "工作簿 ry.xls 的 sheet1 第 2 行的“日期”（0026/12/2）不是日期"},
         }) {
        folder.addFixture(QString::fromUtf8(c.fixture), QStringLiteral("ry.xls"));
        const Error e = importFails(connection, Workbook::Punches);
        EXPECT_EQ(e.kind(), ErrorKind::BadCell) << c.fixture;
        EXPECT_TRUE(e.description().startsWith(QString::fromUtf8(c.expected)))
            << e.description().toStdString();
        EXPECT_TRUE(e.description().endsWith(QStringLiteral("原有数据保持不变。")));
        expectThreePunchesKept();
    }
}

TEST_F(WorkbookImportTest, DatesAndTimesWrittenAsTextBecomeDates) {
    folder.addFixture(QStringLiteral("ry_text_dates.xls"), QStringLiteral("ry.xls"));
    ASSERT_EQ(importWorkbook(connection, Workbook::Punches), 3);
    EXPECT_EQ(declaredTypes(connection, QStringLiteral("ry")),
              QStringList({"DATETIME", "DATETIME", "TEXT", "TEXT"}));
    const TableText ry = readTable(connection, QStringLiteral("ry"));
    ASSERT_EQ(ry.rows.size(), 3u);
    EXPECT_EQ(ry.rows[0], QStringList({"2024/1/5", "8:30:00", "张三", "12"}));
    EXPECT_EQ(ry.rows[1], QStringList({"2024/1/6", "8:30:00", "李四", "B7"}));
    EXPECT_EQ(ry.rows[2], QStringList({"2024/1/7", "17:05:00", "王五", "3"}));
    EXPECT_EQ(connection.open(QStringLiteral("select * from ry where 时间 = #8:30#")).recordCount(),
              2);
}

TEST_F(WorkbookImportTest, BlankHeadersAreNamedByPositionAndTrailingRowsDropped) {
    folder.addFixture(QStringLiteral("ry_blank_header_trailing_rows.xls"),
                      QStringLiteral("ry.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 2);
    const TableText ry = readTable(connection, QStringLiteral("ry"));
    EXPECT_EQ(ry.columns, QStringList({"日期", "时间", "姓名", "F4", "备注"}));
    ASSERT_EQ(ry.rows.size(), 2u);
    EXPECT_EQ(ry.rows[1], QStringList({"2024/1/5", "17:31:00", "张三", "乙", "<null>"}));
}

TEST_F(WorkbookImportTest, ScheduleKeepsItsEmployeeColumns) {
    folder.addFixture(QStringLiteral("yd_2days.xls"), QStringLiteral("yd.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::Schedule), 2);
    const TableText yd = readTable(connection, QStringLiteral("yd"));
    EXPECT_EQ(yd.columns, QStringList({"日期", "员工甲", "员工乙"}));
    EXPECT_EQ(declaredTypes(connection, QStringLiteral("yd")),
              QStringList({"DATETIME", "TEXT", "TEXT"}));
    ASSERT_EQ(yd.rows.size(), 2u);
    EXPECT_EQ(yd.rows[0], QStringList({"2024/1/5", "常", "A"}));
    EXPECT_EQ(yd.rows[1], QStringList({"2024/1/6", "休", "B"}));
}

TEST_F(WorkbookImportTest, ShiftTimesKeepTheirRowOrder) {
    folder.addFixture(QStringLiteral("pb_14rows.xls"), QStringLiteral("pb.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::ShiftTimes), 14);
    TableText pb = readTable(connection, QStringLiteral("pb"));
    EXPECT_EQ(pb.columns, QStringList({"时间", "说明"}));
    EXPECT_EQ(declaredTypes(connection, QStringLiteral("pb")).at(0), QStringLiteral("DATETIME"));
    ASSERT_EQ(pb.rows.size(), 14u);
    EXPECT_EQ(pb.rows[0], QStringList({"7:30:00", "第1行"}));
    EXPECT_EQ(pb.rows[7], QStringList({"20:00:00", "第8行"}));
    EXPECT_EQ(pb.rows[13], QStringList({"22:00:00", "第14行"}));

    folder.addFixture(QStringLiteral("pb_20rows.xls"), QStringLiteral("pb.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::ShiftTimes), 20);
    EXPECT_EQ(readTable(connection, QStringLiteral("pb")).rows[19][1], QStringLiteral("第20行"));

    folder.addFixture(QStringLiteral("pb_header_only.xls"), QStringLiteral("pb.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::ShiftTimes), 0);
    pb = readTable(connection, QStringLiteral("pb"));
    EXPECT_EQ(pb.columns, QStringList({"时间", "说明"}));
    EXPECT_TRUE(pb.rows.empty());
    EXPECT_EQ(declaredTypes(connection, QStringLiteral("pb")).at(0), QStringLiteral("DATETIME"));
}

TEST_F(WorkbookImportTest, ABlankShiftTimeRowKeepsItsPlace) {
    // The times count by position: dropping the blank row would shift every
    // later window onto the wrong shift.
    folder.addFixture(QStringLiteral("pb_blank_row.xls"), QStringLiteral("pb.xls"));
    EXPECT_EQ(importWorkbook(connection, Workbook::ShiftTimes), 14);
    const TableText pb = readTable(connection, QStringLiteral("pb"));
    ASSERT_EQ(pb.rows.size(), 14u);
    EXPECT_EQ(pb.rows[1], QStringList({"<null>", "<null>"}));
    EXPECT_EQ(pb.rows[13], QStringList({"22:00:00", "第14行"}));
}

}  // namespace
}  // namespace kq
