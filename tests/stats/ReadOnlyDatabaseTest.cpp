// An existing KQ.db that cannot be written: the program starts over it
// without writing, queries read it, and the first write is refused with the
// reason the clerk can act on. Writability goes through the probe a test
// can set, since root passes every permission check.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <optional>

#include "StatsData.h"
#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "import/FirstRun.h"
#include "import/WorkbookImport.h"
#include "queries/ShiftQuery.h"
#include "stats/PunchDays.h"
#include "stats/StatisticsRun.h"
#include "stats/UnfinishedRun.h"
#include "support/TestFolder.h"

namespace {

using kq::DatabaseFault;

const QString kJia = QStringLiteral("员工甲");
const QDate kDay(2024, 1, 5);

struct FileState {
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileState&) const = default;
};

FileState stateOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return {file.readAll(), QFileInfo(path).lastModified()};
}

// A database as a month of work leaves it: punches, schedule, a finished
// statistics run. older: from before the punch-days tables existed.
void fillDatabase(const QString& folder, bool older) {
    kq::Connection c(folder);
    kq::test::makeSchedule(c, {kJia}, {{"2024/1/5", {"常"}}});
    kq::test::addPunch(c, "2024/1/5", "7:58", kJia);
    kq::runStatistics(c, [](const QString&) {});
    if (older) c.executeNative(QStringLiteral("drop table ry_days; drop table ry_days_source;"));
}

struct Case {
    const char* what;
    bool folderWritable;
    bool fileWritable;
    bool older;
    std::optional<DatabaseFault> refusal;
    const char* says;  // what the refusal's description says
};

const Case kCases[] = {
    {"writable", true, true, false, std::nullopt, ""},
    {"read-only file", true, false, false, DatabaseFault::ReadOnly, "是只读的"},
    {"folder refuses new files", false, true, false, DatabaseFault::FolderUnwritable, "不允许写入"},
    {"read-only file in a folder that refuses new files", false, false, false,
     DatabaseFault::FolderUnwritable, "不允许写入"},
    {"older database, folder refuses new files", false, true, true, DatabaseFault::FolderUnwritable,
     "不允许写入"},
};

constexpr auto kReadOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr auto kReadWrite = kReadOnly | QFileDevice::WriteOwner;

TEST(ReadOnlyDatabase, StartsAndQueriesWithoutWritingAndNamesTheRefusedWrite) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        kq::test::TestFolder folder;
        fillDatabase(folder.path(), c.older);
        folder.addFixture(QStringLiteral("month_ry.xls"), QStringLiteral("ry.xls"));
        const QString db = folder.file(kq::Connection::databaseFileName());
        // Binds the clerk (and Windows' read-only attribute); root only
        // through the probe below.
        if (!c.fileWritable) QFile::setPermissions(db, kReadOnly);
        const FileState before = stateOf(db);
        ASSERT_FALSE(before.bytes.isEmpty());

        // The start as main() does it, on whatever the file system says.
        // Not for the older database: where that lets the test write (root),
        // opening rightly adds the missing tables.
        if (!c.older) {
            EXPECT_FALSE(kq::prepareDatabaseOnFirstRun(folder.path()));
            EXPECT_FALSE(kq::checkDatabaseAtStart(folder.path()).has_value());
            EXPECT_TRUE(stateOf(db) == before);
        }

        const kq::WritableProbe writable = [&](const QString& path) {
            return QFileInfo(path).isDir() ? c.folderWritable : c.fileWritable;
        };
        kq::Connection connection(folder.path(), writable);
        EXPECT_EQ(connection.writeRefusal(), c.refusal);
        connection.verifyIntact();
        EXPECT_FALSE(kq::unfinishedStatisticsRun(connection).has_value());
        // 常上班 over the day: the punch the run put in its shift table.
        const auto morning =
            connection
                .open(kq::queries::queryText(kq::shifts::windowAt(0), QStringLiteral("7:00"),
                                             QStringLiteral("8:30"), kDay, kDay, QString()))
                .rows();
        ASSERT_EQ(morning->rowCount(), 1);
        EXPECT_EQ(morning->cell(0, morning->columns.indexOf(QStringLiteral("姓名"))).toText(),
                  kJia);

        // The reports' check, which needs a table the older database lacks,
        // then 更新打卡 and 开始统计.
        struct Step {
            const char* what;
            std::function<void()> run;
            bool writes;
        };
        const Step steps[] = {
            {"report check", [&] { kq::requirePunchDaysCurrent(connection); }, c.older},
            {"import", [&] { kq::importWorkbook(connection, kq::Workbook::Punches); }, true},
            {"statistics", [&] { kq::runStatistics(connection, [](const QString&) {}); }, true},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            if (!c.refusal || !step.writes) {
                EXPECT_NO_THROW(step.run());
                continue;
            }
            try {
                step.run();
                ADD_FAILURE() << "the write went through";
            } catch (const kq::DatabaseError& e) {
                EXPECT_EQ(e.fault(), *c.refusal);
                EXPECT_TRUE(e.description().contains(QDir::toNativeSeparators(folder.path())))
                    << e.description().toStdString();
                EXPECT_TRUE(e.description().contains(QString::fromUtf8(c.says)))
                    << e.description().toStdString();
            }
        }
        connection.close();
        // Refused writes leave the file as it was; the writable one took them.
        EXPECT_EQ(stateOf(db) == before, c.refusal.has_value());
        QFile::setPermissions(db, kReadWrite);
    }
}

TEST(ReadOnlyDatabase, AFolderThatRefusesNewFilesGetsNoDatabaseAndSaysSo) {
    kq::test::TestFolder folder;
    try {
        kq::Connection connection(folder.path(), [](const QString&) { return false; });
        ADD_FAILURE() << "opened";
    } catch (const kq::DatabaseError& e) {
        EXPECT_EQ(e.fault(), DatabaseFault::FolderUnwritable);
        EXPECT_TRUE(e.description().contains(QDir::toNativeSeparators(folder.path())));
    }
    EXPECT_FALSE(QFile::exists(folder.file(kq::Connection::databaseFileName())));
}

}  // namespace
