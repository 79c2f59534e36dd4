#include <gtest/gtest.h>

#include <QFile>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "data/TableAppender.h"
#include "data/TableCatalogue.h"
#include "support/TestFolder.h"

namespace {

using kq::Connection;

TEST(Connection, CreatesTheCatalogueWhenTheDatabaseIsMissing) {
    kq::test::TestFolder folder;
    Connection connection(folder.path());
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("KQ.db"))));
    for (const char* table : {"ry", "yd", "yw", "pb", "tj", "A", "B", "Z", "ZH", "Y"})
        EXPECT_TRUE(kq::TableExist(connection, QString::fromUtf8(table))) << table;
    const auto yw = connection.open(QStringLiteral("select * from yw "));
    EXPECT_EQ(yw.fieldNames(), (QStringList{"日期", "姓名", "班次"}));
    EXPECT_EQ(yw.recordCount(), 0);
}

TEST(Connection, KeepsDataBetweenConnections) {
    kq::test::TestFolder folder;
    {
        Connection connection(folder.path());
        kq::TableAppender tj(connection, QStringLiteral("tj"));
        tj.addNew();
        tj.set(QStringLiteral("日期"), QStringLiteral("2024年1月5日"));
        tj.set(QStringLiteral("姓名"), QStringLiteral("员工甲"));
        tj.set(QStringLiteral("时间"), QStringLiteral("7:58:00"));
        tj.update();
    }
    Connection again(folder.path());
    auto rs =
        again.open(QStringLiteral("select * from tj where 日期 = #2024/1/5# and 时间 = #7:58#"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field(QStringLiteral("日期")).toText(), "2024/1/5");
    EXPECT_EQ(rs.field(QStringLiteral("时间")).toText(), "7:58:00");
    EXPECT_EQ(rs.field(2).type(), kq::Value::Type::DateTime);
}

TEST(Connection, EmptyingAnEmptyTableSucceeds) {
    kq::test::TestFolder folder;
    Connection connection(folder.path());
    EXPECT_NO_THROW(connection.execute(QStringLiteral("delete from tj")));
    EXPECT_EQ(connection.open(QStringLiteral("select * from tj ")).recordCount(), 0);
}

TEST(Connection, FailuresNameTheTableOrColumn) {
    kq::test::TestFolder folder;
    Connection connection(folder.path());
    try {
        connection.open(QStringLiteral("select * from nosuch"));
        FAIL();
    } catch (const kq::Error& e) {
        EXPECT_EQ(e.kind(), kq::ErrorKind::TableNotFound);
        EXPECT_TRUE(e.description().contains(QStringLiteral("nosuch")));
    }
    try {
        connection.open(QStringLiteral("select * from ry where 工号 = 1"));
        FAIL();
    } catch (const kq::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("工号")));
    }
}

TEST(Connection, TableExistIsFalseForUnknownNamesAndClosedConnections) {
    kq::test::TestFolder folder;
    Connection connection(folder.path());
    EXPECT_FALSE(kq::TableExist(connection, QStringLiteral("nosuch")));
    connection.close();
    EXPECT_FALSE(kq::TableExist(connection, QStringLiteral("ry")));
    EXPECT_THROW(connection.open(QStringLiteral("select * from ry ")), kq::Error);
}

TEST(Connection, UncommittedTransactionLeavesTheTableAsItWas) {
    kq::test::TestFolder folder;
    Connection connection(folder.path());
    connection.executeNative(QStringLiteral("insert into yw values (1, '甲', 'A')"));
    {
        kq::Transaction transaction(connection);
        connection.execute(QStringLiteral("delete from yw"));
        connection.executeNative(QStringLiteral("insert into yw values (2, '乙', 'B')"));
    }
    const auto rs = connection.open(QStringLiteral("select * from yw "));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field(QStringLiteral("姓名")).toText(), "甲");
}

TEST(TableAppender, RejectsTextThatIsNoDateInADateColumn) {
    kq::test::TestFolder folder;
    Connection connection(folder.path());
    kq::TableAppender yw(connection, QStringLiteral("yw"));
    yw.addNew();
    EXPECT_THROW(yw.set(QStringLiteral("日期"), QStringLiteral("休")), kq::Error);
    EXPECT_THROW(yw.set(QStringLiteral("工号"), QStringLiteral("1")), kq::Error);
    // An update with nothing added changes nothing.
    kq::TableAppender tj(connection, QStringLiteral("tj"));
    tj.update();
    EXPECT_EQ(connection.open(QStringLiteral("select * from tj ")).recordCount(), 0);
}

TEST(Recordset, ReadsFieldsByNameAndPositionUntilTheEnd) {
    kq::test::TestFolder folder;
    Connection connection(folder.path());
    connection.executeNative(
        QStringLiteral("insert into ry values (45296, 0.3333333333333333, '员工甲'),"
                       "(45297, 0.5, '员工乙')"));
    auto rs = connection.open(QStringLiteral("select * from ry "));
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.field(QStringLiteral("姓名")).toText(), "员工甲");
    EXPECT_EQ(rs.field(0).toText(), "2024/1/5");
    rs.moveNext();
    EXPECT_EQ(rs.field(1).toText(), "12:00:00");
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.field(0), kq::Error);
    EXPECT_THROW(rs.moveNext(), kq::Error);
}

}  // namespace
