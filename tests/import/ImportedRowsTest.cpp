// The punch import stores its rows while the workbook is still read, typing
// the columns from the first rows, and hands the grid the very rows it
// stored. Both must give exactly what reading the whole sheet first gave.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "data/Connection.h"
#include "data/Error.h"
#include "import/ImportRun.h"
#include "import/WorkbookImport.h"
#include "support/TableRows.h"
#include "support/TestFolder.h"

namespace kq {
namespace {

using test::readTable;
using test::TableText;
using test::TestFolder;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A month of punches far past the rows the types are decided from: dates
// and times as text, a card number, a text column, a count with an empty
// stretch, and a column with a number on every seventh row.
QByteArray manyPunchesCsv(int rows) {
    QByteArray csv = "日期,时间,姓名,卡号,备注,次数,补录\n";
    for (int i = 0; i < rows; ++i) {
        csv += QStringLiteral("2026/12/%1,%2:%3:07,员工%4,%5,%6,%7,%8\n")
                   .arg(i % 28 + 1)
                   .arg(7 + i % 12)
                   .arg(i % 60, 2, 10, QLatin1Char('0'))
                   .arg(i % 97)
                   .arg(100000 + i)
                   .arg(i % 5 == 0 ? QStringLiteral("迟到") : QString())
                   .arg(i > 200 && i < 300 ? QString() : QString::number(i % 4 * 0.5))
                   .arg(i % 7 == 0 ? QString::number(i) : QString())
                   .toUtf8();
    }
    return csv;
}

// The same rows as a plain web page saved as .xls.
QByteArray asWebPage(const QByteArray& csv) {
    QByteArray page = "<html><head><meta charset=\"utf-8\"></head><body><table>\n";
    for (const QByteArray& line : csv.split('\n')) {
        if (line.isEmpty()) continue;
        page += "<tr>";
        for (const QByteArray& field : line.split(',')) page += "<td>" + field + "</td>";
        page += "</tr>\n";
    }
    return page + "</table></body></html>\n";
}

TEST(ImportedRows, TheGridRowsAreTheRowsTheTableReadsBack) {
    struct Workbook {
        QString name;  // in the program folder
        QString fixture;
        QByteArray bytes;  // when no fixture
    };
    std::vector<Workbook> workbooks;
    const QDir fixtures(test::fixturePath(QString()));
    for (const QString& file : fixtures.entryList(
             {QStringLiteral("*ry*.xls"), QStringLiteral("*ry*.xlsx"), QStringLiteral("*ry*.csv"),
              QStringLiteral("rows_out_of_order.*"), QStringLiteral("string_escapes.xlsx")},
             QDir::Files))
        workbooks.push_back({QStringLiteral("ry.") + QFileInfo(file).suffix(), file, {}});
    const QByteArray csv = manyPunchesCsv(9000);
    workbooks.push_back({QStringLiteral("ry.csv"), {}, csv});
    workbooks.push_back({QStringLiteral("ry.xls"), {}, asWebPage(csv)});

    int compared = 0;
    for (const Workbook& workbook : workbooks) {
        SCOPED_TRACE((workbook.fixture.isEmpty() ? workbook.name : workbook.fixture).toStdString());
        TestFolder folder;
        if (workbook.fixture.isEmpty())
            writeFile(folder.file(workbook.name), workbook.bytes);
        else
            folder.addFixture(workbook.fixture, workbook.name);
        Connection connection(folder.path());
        ImportedRows imported;
        try {
            imported = importWorkbookRows(connection, kq::Workbook::Punches, true);
        } catch (const Error&) {
            continue;  // a workbook the import refuses: no rows to compare
        }
        const auto readBack = connection.open(QStringLiteral("select * from ry")).rows();
        ASSERT_TRUE(imported.rows);
        EXPECT_EQ(imported.count, readBack->rowCount());
        EXPECT_EQ(*imported.rows, *readBack);
        ++compared;
    }
    EXPECT_GE(compared, 20);

    // 更新打卡 as the window runs it.
    TestFolder folder;
    writeFile(folder.file(QStringLiteral("ry.csv")), csv);
    const auto rows = importPunches(folder.path());
    Connection connection(folder.path());
    EXPECT_EQ(*rows, *connection.open(QStringLiteral("select * from ry")).rows());
    ASSERT_EQ(rows->rowCount(), 9000);
    EXPECT_EQ(rows->cell(8995, 6), Value::number(8995));
    EXPECT_EQ(rows->cell(8995, 0).toText(), QStringLiteral("2026/12/8"));
}

// A cell far down that changes its column's type once every row is seen:
// the table is the one the whole sheet gives, whatever the first rows said.
TEST(ImportedRows, ACellFarDownTypesItsColumnAsTheWholeSheetDoes) {
    constexpr int kRows = 6000;
    struct Case {
        const char* what;
        int textNumberAt = -1;  // 工号: numbers, but for a text in this row
        int notADateAt = -1;    // 登记日: dates, but for one that is not
        int emptyUntil = 0;     // 加班: empty in the rows above, numbers after
        QStringList types;
    };
    const std::vector<Case> cases = {
        {"a text in a number column at row 5000",
         4998,
         -1,
         0,
         {"DATETIME", "DATETIME", "TEXT", "TEXT", "DATETIME", "REAL"}},
        {"a text in a date column at row 5502",
         -1,
         5500,
         0,
         {"DATETIME", "DATETIME", "TEXT", "REAL", "TEXT", "REAL"}},
        {"numbers only from row 5002",
         -1,
         -1,
         5000,
         {"DATETIME", "DATETIME", "TEXT", "REAL", "DATETIME", "REAL"}},
    };
    for (const Case& c : cases) {
        QByteArray csv = "日期,时间,姓名,工号,登记日,加班\n";
        for (int i = 0; i < kRows; ++i)
            csv +=
                QStringLiteral("2026/12/%1,8:00,员工%2,%3,%4,%5\n")
                    .arg(i % 28 + 1)
                    .arg(i % 50)
                    .arg(i == c.textNumberAt ? QStringLiteral("A17")
                                             : QString::number(1000 + i % 50))
                    .arg(i == c.notADateAt ? QStringLiteral("待定") : QStringLiteral("2026/11/30"))
                    .arg(i < c.emptyUntil ? QString() : QString::number(i % 3))
                    .toUtf8();
        for (const auto& [name, bytes] : std::vector<std::pair<QString, QByteArray>>{
                 {QStringLiteral("ry.csv"), csv}, {QStringLiteral("ry.xls"), asWebPage(csv)}}) {
            SCOPED_TRACE(std::string(c.what) + " in " + name.toStdString());
            TestFolder folder;
            writeFile(folder.file(name), bytes);
            Connection connection(folder.path());
            ASSERT_EQ(importWorkbook(connection, kq::Workbook::Punches), kRows);
            const TableText ry = readTable(connection, QStringLiteral("ry"));
            EXPECT_EQ(ry.types, c.types);
            ASSERT_EQ(ry.rows.size(), std::size_t(kRows));
            EXPECT_EQ(ry.rows[5999],
                      QStringList({"2026/12/8", "8:00:00", "员工49", "1049", "2026/11/30", "2"}));
            if (c.textNumberAt >= 0) {
                EXPECT_EQ(ry.rows[4998][3], QStringLiteral("A17"));
            }
            if (c.notADateAt >= 0) {
                EXPECT_EQ(ry.rows[5500][4], QStringLiteral("待定"));
            }
            EXPECT_EQ(ry.rows[0][5],
                      c.emptyUntil > 0 ? QStringLiteral("<null>") : QStringLiteral("0"));
        }
    }
}

}  // namespace
}  // namespace kq
