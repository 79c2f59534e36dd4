#include "import/FirstRun.h"

#include <gtest/gtest.h>

#include <QFile>

#include "data/Connection.h"
#include "support/TestFolder.h"

namespace {

qsizetype pbRows(const QString& folder) {
    kq::Connection connection(folder);
    return connection.open(QStringLiteral("select * from pb ")).recordCount();
}

TEST(FirstRun, NewDatabaseTakesInTheShiftWindowsLyingBesideIt) {
    kq::test::TestFolder folder;
    folder.addFixture(QStringLiteral("pb_14rows.xls"), QStringLiteral("pb.xls"));
    EXPECT_TRUE(kq::prepareDatabaseOnFirstRun(folder.path()));
    EXPECT_EQ(pbRows(folder.path()), 14);
}

TEST(FirstRun, AnExistingDatabaseIsNeverTouched) {
    kq::test::TestFolder folder;
    { kq::Connection create(folder.path()); }  // an empty pb, as the clerk left it
    folder.addFixture(QStringLiteral("pb_14rows.xls"), QStringLiteral("pb.xls"));
    EXPECT_FALSE(kq::prepareDatabaseOnFirstRun(folder.path()));
    EXPECT_EQ(pbRows(folder.path()), 0);
}

TEST(FirstRun, WithoutAReadablePbTheDatabaseIsStillCreated) {
    kq::test::TestFolder folder;
    EXPECT_FALSE(kq::prepareDatabaseOnFirstRun(folder.path()));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("KQ.db"))));

    kq::test::TestFolder broken;
    broken.addFixture(QStringLiteral("not_a_workbook.xls"), QStringLiteral("pb.xls"));
    EXPECT_FALSE(kq::prepareDatabaseOnFirstRun(broken.path()));
    EXPECT_EQ(pbRows(broken.path()), 0);
}

}  // namespace
