// Workbooks saved as delimited text or as a web page, as clock programs and
// web systems save them, import as the .xls of the same month does.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringDecoder>
#include <random>

#include "data/Connection.h"
#include "data/Error.h"
#include "import/WorkbookImport.h"
#include "import/text/TextEncoding.h"
#include "support/TableRows.h"
#include "support/TestFolder.h"

namespace kq {
namespace {

using test::readTable;
using test::TableText;
using test::TestFolder;

TableText imported(const QString& fixture, const QString& asName, Workbook which) {
    TestFolder folder;
    folder.addFixture(fixture, asName);
    Connection connection(folder.path());
    importWorkbook(connection, which);
    return readTable(connection, QString(asName).left(2));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(TextWorkbooks, EveryFormOfTheMonthGivesTheTableOfItsXls) {
    const TableText xls =
        imported(QStringLiteral("month_ry.xls"), QStringLiteral("ry.xls"), Workbook::Punches);
    ASSERT_EQ(xls.rows.size(), 21u);
    for (const auto& [fixture, asName] : std::vector<std::pair<QString, QString>>{
             {"month_ry.csv", "ry.csv"},       // UTF-8 with BOM, all quoted, CR LF
             {"month_ry_gbk.csv", "ry.csv"},   // GBK
             {"month_ry_tsv.xls", "ry.xls"},   // tab separated under the .xls name
             {"month_ry_html.xls", "ry.xls"},  // LibreOffice's web page
         })
        EXPECT_EQ(imported(fixture, asName, Workbook::Punches), xls) << fixture.toStdString();
    EXPECT_EQ(
        imported(QStringLiteral("month_yd.csv"), QStringLiteral("yd.csv"), Workbook::Schedule),
        imported(QStringLiteral("month_yd.xls"), QStringLiteral("yd.xls"), Workbook::Schedule));
    EXPECT_EQ(
        imported(QStringLiteral("month_pb.csv"), QStringLiteral("pb.csv"), Workbook::ShiftTimes),
        imported(QStringLiteral("month_pb.xls"), QStringLiteral("pb.xls"), Workbook::ShiftTimes));
}

TEST(TextWorkbooks, AWebPageGivesItsPunchTableCellsAsShown) {
    // GB2312 page: a title table first, then the punches, with spanning
    // cells, a line break and a table nested in a cell.
    const TableText ry =
        imported(QStringLiteral("ry_tables.xls"), QStringLiteral("ry.xls"), Workbook::Punches);
    EXPECT_EQ(ry.columns, QStringList({"日期", "时间", "姓名", "备注", "F5", "卡号"}));
    EXPECT_EQ(ry.types, QStringList({"DATETIME", "DATETIME", "TEXT", "TEXT", "TEXT", "REAL"}));
    ASSERT_EQ(ry.rows.size(), 3u) << ry;
    EXPECT_EQ(ry.rows[0],
              QStringList({"2026/12/1", "7:58:00", " 张三", "迟到\n已补 假条", "<null>", "1001"}));
    EXPECT_EQ(ry.rows[1], QStringList({"2026/12/1", "17:31:00", "张'三", "<null>", "x", "1002"}));
    EXPECT_EQ(ry.rows[2], QStringList({"2026/12/2", "8:02:00", "李四 ", "早退", "<null>", "1003"}));
}

TEST(TextWorkbooks, DelimitersBlankLinesAndNumberColumns) {
    TestFolder folder;
    Connection connection(folder.path());
    // Semicolons; a blank line among the shift times keeps its place.
    writeFile(folder.file(QStringLiteral("pb.csv")),
              "\xEF\xBB\xBF时间;说明\r\n7:30;\"a;b\"\r\n\r\n8:00:00;第3行\r\n");
    EXPECT_EQ(importWorkbook(connection, Workbook::ShiftTimes), 3);
    TableText pb = readTable(connection, QStringLiteral("pb"));
    ASSERT_EQ(pb.rows.size(), 3u);
    EXPECT_EQ(pb.rows[0], QStringList({"7:30:00", "a;b"}));
    EXPECT_EQ(pb.rows[1], QStringList({"<null>", "<null>"}));
    EXPECT_EQ(pb.rows[2], QStringList({"8:00:00", "第3行"}));

    // A number column only when every cell reads back as written: "007"
    // and an 18-digit number would lose digits.
    writeFile(folder.file(QStringLiteral("ry.csv")),
              "日期,时间,姓名,次数,工号,证件\n"
              "2026/12/1,8:00,张三,2,007,110101199001011234\n"
              "2026/12/2,8:00,张三,-0.5,12,1\n");
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 2);
    const TableText ry = readTable(connection, QStringLiteral("ry"));
    EXPECT_EQ(ry.types, QStringList({"DATETIME", "DATETIME", "TEXT", "REAL", "TEXT", "TEXT"}));
    EXPECT_EQ(ry.rows[0][5], QStringLiteral("110101199001011234"));
    EXPECT_EQ(ry.rows[0][4], QStringLiteral("007"));
    EXPECT_EQ(ry.rows[1][3], QStringLiteral("-0.5"));
}

TEST(TextWorkbooks, FaultsNameTheFileReadAndKeepTheOldTable) {
    TestFolder folder;
    Connection connection(folder.path());
    folder.addFixture(QStringLiteral("ry_3punches.xls"), QStringLiteral("ry.xls"));
    ASSERT_EQ(importWorkbook(connection, Workbook::Punches), 3);
    // ry.xls comes first while it is there.
    folder.addFixture(QStringLiteral("month_ry.csv"), QStringLiteral("ry.csv"));
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 3);
    QFile::remove(folder.file(QStringLiteral("ry.xls")));
    EXPECT_EQ(importWorkbook(connection, Workbook::Punches), 21);
    const TableText before = readTable(connection, QStringLiteral("ry"));

    struct Case {
        const char* name;
        QByteArray bytes;  // empty: the fixture of that name
        const char* fixture;
        ErrorKind kind;
        const char* starts;
    };
    const std::vector<Case> cases = {
        {"ry.csv", "日期,时间,姓名\n2026/12/1,八点,张三\n", nullptr, ErrorKind::BadCell,
         "工作簿 ry.csv 的 sheet1 第 2 行的“时间”（八点）不是时间"},
        {"ry.csv", QByteArray("日期,时间\0姓名", sizeof("日期,时间\0姓名") - 1), nullptr,
         ErrorKind::BadWorkbook, "工作簿 ry.csv 不是可读取的"},
        // A real .xls cut off, even inside its signature, is damaged.
        {"ry.xls", QByteArray("\xD0\xCF\x11\xE0", 4), nullptr, ErrorKind::BadWorkbook,
         "工作簿 ry.xls 已损坏，无法读取（文件被截断）"},
        {"ry.xls",
         {},
         "damaged/xls_truncated.xls",
         ErrorKind::BadWorkbook,
         "工作簿 ry.xls 已损坏，无法读取（扇区编号超出文件）"},
        {"ry.xls", {}, "ry_html_no_header.xls", ErrorKind::MissingColumn, "工作簿 ry.xls 的 "},
        {"ry.xls", "<html><body><!-- <table> --><p>无表格</p></body></html>", nullptr,
         ErrorKind::BadWorkbook, "工作簿 ry.xls 不是可读取的"},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        QFile::remove(folder.file(QStringLiteral("ry.xls")));
        QFile::remove(folder.file(QStringLiteral("ry.csv")));
        if (c.fixture)
            folder.addFixture(QString::fromUtf8(c.fixture), name);
        else
            writeFile(folder.file(name), c.bytes);
        try {
            importWorkbook(connection, Workbook::Punches);
            ADD_FAILURE() << "imported " << c.starts;
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.starts;
            EXPECT_TRUE(e.description().startsWith(QString::fromUtf8(c.starts)))
                << e.description().toStdString();
            EXPECT_TRUE(e.description().endsWith(QStringLiteral("原有数据保持不变。")));
        }
        EXPECT_EQ(readTable(connection, QStringLiteral("ry")), before) << c.starts;
    }

    QFile::remove(folder.file(QStringLiteral("ry.xls")));
    try {
        importWorkbook(connection, Workbook::Punches);
        ADD_FAILURE() << "imported without a workbook";
    } catch (const Error& e) {
        EXPECT_TRUE(e.description().startsWith(
            QStringLiteral("找不到工作簿 ry.xls、ry.xlsx 或 ry.csv（应在文件夹 ")))
            << e.description().toStdString();
    }
}

}  // namespace
}  // namespace kq

// The encoding guess rests on the UTF-8 check: over random bytes, weighted
// towards the lead and continuation bytes where overlong forms, surrogates
// and truncations live, it must agree with Qt's own decoder.
TEST(TextWorkbooks, TheUtf8CheckAgreesWithQtsDecoder) {
    std::mt19937 random(20261208);
    const unsigned char pieces[] = {'a',  ' ',  0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1,
                                    0xC2, 0xDF, 0xE0, 0xE4, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    for (int trial = 0; trial < 20000; ++trial) {
        QByteArray bytes(std::uniform_int_distribution<int>(1, 24)(random), 'x');
        for (char& b : bytes)
            b = char(random() % 3 ? pieces[random() % std::size(pieces)] : random() % 256);
        if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
            bytes.startsWith("\xFE\xFF"))
            continue;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(bytes);
        // Valid UTF-8 passes unchanged; anything else is read as GB18030,
        // which changes every non-ASCII byte sequence.
        EXPECT_EQ(kq::text::toUtf8(bytes) == bytes, !decoder.hasError())
            << bytes.toHex().constData();
    }
}
