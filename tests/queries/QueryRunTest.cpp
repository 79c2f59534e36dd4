#include <gtest/gtest.h>

#include <QStringList>

#include "ButtonWindows.h"
#include "data/Connection.h"
#include "data/Error.h"
#include "data/TableAppender.h"
#include "queries/PunchQuery.h"
#include "queries/ShiftQuery.h"
#include "support/TestFolder.h"

using namespace kq::queries;
using namespace kq::test;

namespace {

const QDate kFirst(2026, 12, 1);
const QDate kSixth(2026, 12, 6);

struct Punch {
    const char* date;
    const char* time;
    const char* name;
};

// A program folder whose KQ.db holds the given punches in one table.
class QueryRunTest : public ::testing::Test {
  protected:
    void fill(const QString& table, std::initializer_list<Punch> punches) {
        kq::Connection connection(folder_.path());
        kq::Transaction transaction(connection);
        kq::TableAppender appender(connection, table);
        for (const Punch& p : punches) {
            appender.addNew();
            appender.set(QStringLiteral("日期"), QString::fromUtf8(p.date));
            appender.set(QStringLiteral("时间"), QString::fromUtf8(p.time));
            appender.set(QStringLiteral("姓名"), QString::fromUtf8(p.name));
            appender.update();
        }
        transaction.commit();
    }

    // "date time name" per row, in the order the database returns them.
    static QStringList listed(const std::shared_ptr<const kq::RowSet>& rows) {
        const qsizetype date = rows->columns.indexOf(QStringLiteral("日期"));
        const qsizetype time = rows->columns.indexOf(QStringLiteral("时间"));
        const qsizetype name = rows->columns.indexOf(QStringLiteral("姓名"));
        QStringList out;
        for (qsizetype r = 0; r < rows->rowCount(); ++r)
            out << rows->cell(r, date).toText() + ' ' + rows->cell(r, time).toText() + ' ' +
                       rows->cell(r, name).toText();
        return out;
    }

    QStringList shift(int window, const QString& start, const QString& end,
                      const QString& name = QString(), QDate from = kFirst, QDate to = kSixth) {
        return listed(runShiftQuery(folder_.path(), window, start, end, from, to, name));
    }

    QStringList punches(const QString& start, const QString& end, const QString& name = {}) {
        return listed(runPunchQuery(folder_.path(), start, end, kFirst, kSixth, name));
    }

    kq::test::TestFolder folder_;
};

TEST_F(QueryRunTest, IntervalBoundsAreExclusiveAndDatesInclusive) {
    fill("A", {{"2026/12/1", "8:00", "甲"},
               {"2026/12/1", "8:00:01", "甲"},
               {"2026/12/6", "11:59:59", "甲"},
               {"2026/12/6", "12:00", "甲"},
               {"2026/11/30", "9:00", "甲"},
               {"2026/12/7", "9:00", "甲"}});
    EXPECT_EQ(shift(kA, "8:00", "12:00"),
              QStringList({"2026/12/1 8:00:01 甲", "2026/12/6 11:59:59 甲"}));
    // The window as pb delivers it, with seconds, bounds the same way.
    EXPECT_EQ(shift(kA, "8:00:00", "12:00:00").size(), 2);
    // Only the B shift wraps past midnight.
    fill("A", {{"2026/12/2", "21:30", "甲"}, {"2026/12/2", "6:15", "甲"}});
    EXPECT_TRUE(shift(kA, "20:00", "8:00").isEmpty());
}

TEST_F(QueryRunTest, RegularShiftRowsApplyOnlyTheirOwnWindow) {
    fill("tj", {{"2026/12/3", "7:50", "乙"}, {"2026/12/3", "13:10", "乙"}});
    EXPECT_EQ(shift(kRegularMorning, "7:30", "8:00"), QStringList({"2026/12/3 7:50:00 乙"}));
    EXPECT_EQ(shift(kRegularAfternoon, "13:00", "13:30"), QStringList({"2026/12/3 13:10:00 乙"}));
}

TEST_F(QueryRunTest, OvernightWindowWrapsPastMidnightWithinTheRange) {
    fill("B", {{"2026/12/1", "21:30", "甲"},
               {"2026/12/1", "6:15", "甲"},
               {"2026/12/1", "20:00", "甲"},
               {"2026/12/1", "8:00", "甲"},
               {"2026/12/1", "12:00", "甲"},
               {"2026/12/6", "21:30", "甲"},
               {"2026/12/7", "6:15", "甲"}});
    EXPECT_EQ(
        shift(kB, "20:00", "8:00"),
        QStringList({"2026/12/1 21:30:00 甲", "2026/12/1 6:15:00 甲", "2026/12/6 21:30:00 甲"}));
    // A window that does not cross midnight lists every record of the range.
    EXPECT_EQ(shift(kB, "8:00", "17:00").size(), 6);
}

TEST_F(QueryRunTest, NameFilterAppliesToBothArmsAndMatchesExactly) {
    fill("B", {{"2026/12/2", "22:00", "甲"},
               {"2026/12/2", "5:00", "甲"},
               {"2026/12/2", "22:00", "乙"},
               {"2026/12/2", "5:00", " "},
               {"2026/12/2", "5:00", "O'Brien"}});
    EXPECT_EQ(shift(kB, "20:00", "8:00", QStringLiteral("甲")).size(), 2);
    EXPECT_EQ(shift(kB, "20:00", "8:00", QStringLiteral(" ")),
              QStringList({"2026/12/2 5:00:00  "}));
    EXPECT_EQ(shift(kB, "20:00", "8:00", QStringLiteral("O'Brien")),
              QStringList({"2026/12/2 5:00:00 O'Brien"}));
    // Typed text stays a name: it cannot widen the condition.
    EXPECT_TRUE(shift(kB, "20:00", "8:00", QStringLiteral("x') or ('1'='1")).isEmpty());
    EXPECT_TRUE(shift(kB, "20:00", "8:00", QStringLiteral("#8:00#")).isEmpty());
}

TEST_F(QueryRunTest, BadShiftWindowIsReportedBeforeTheDatabaseIsAsked) {
    try {
        shift(kEarly, QStringLiteral("Text1"), QStringLiteral("9:00"));
        FAIL() << "a design text was taken for a time";
    } catch (const kq::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("早班的开始时间“Text1”")))
            << e.description().toStdString();
    }
    EXPECT_THROW(shift(kEarly, QStringLiteral("8:00"), QStringLiteral("9:00) or (1=1")), kq::Error);
}

TEST_F(QueryRunTest, PunchQueryListsStrictlyBetweenTheTypedTimes) {
    fill("ry", {{"2026/12/1", "0:00", "甲"},
                {"2026/12/1", "23:59", "甲"},
                {"2026/12/3", "12:00", "O'Brien"},
                {"2026/12/6", "0:00:01", "甲"},
                {"2026/12/7", "12:00", "甲"}});
    EXPECT_EQ(punches("0:00", "23:59"),
              QStringList({"2026/12/3 12:00:00 O'Brien", "2026/12/6 0:00:01 甲"}));
    EXPECT_EQ(punches("0:00", "23:59", QStringLiteral("O'Brien")).size(), 1);
    EXPECT_TRUE(punches("13:00", "8:00").isEmpty());
    // A date passes as a time and compares as one: later than every time of day.
    EXPECT_TRUE(punches("2026/12/1", "23:59").isEmpty());
    EXPECT_THROW(punches(QString(), "23:59"), kq::Error);
}

}  // namespace
