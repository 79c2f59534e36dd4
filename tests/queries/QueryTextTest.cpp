#include <gtest/gtest.h>

#include <QStringList>

#include "ButtonWindows.h"
#include "data/Connection.h"
#include "queries/PunchQuery.h"
#include "queries/QueryText.h"
#include "queries/ShiftQuery.h"
#include "support/TableRows.h"
#include "support/TestFolder.h"

using namespace kq::queries;
using namespace kq::test;

namespace {

const QDate kFirst(2026, 12, 1);
const QDate kSixth(2026, 12, 6);

// The query texts run over a small database: what they list is what counts.
class QueryTextTest : public ::testing::Test {
  protected:
    // Rows "date time name" of one table.
    void fill(const QString& table, const QStringList& rows) {
        for (const QString& row : rows)
            appendRow(connection_, table, {"日期", "时间", "姓名"}, row.split(' '));
    }

    // "date time name" per row the text lists, in the order listed.
    QStringList run(const QString& text) {
        const auto rows = connection_.open(text).rows();
        QStringList out;
        for (qsizetype r = 0; r < rows->rowCount(); ++r) {
            QStringList cells;
            for (const char* column : {"日期", "时间", "姓名"})
                cells << rows->cell(r, rows->columns.indexOf(QString::fromUtf8(column))).toText();
            out << cells.join(' ');
        }
        return out;
    }

    TestFolder folder_;
    kq::Connection connection_{folder_.path()};
};

TEST_F(QueryTextTest, IntervalListsStrictlyInsideTheTimesOverWholeDates) {
    // 2026/9/15 lies inside the range although, as text, it sorts after 2026/10/31.
    fill("ZH",
         {"2026/1/9 14:00:01 甲", "2026/9/15 15:00 甲", "2026/10/31 21:59:59 乙",
          "2026/1/8 15:00 甲", "2026/11/1 15:00 甲", "2026/5/5 14:00 甲", "2026/5/5 22:00 甲"});
    const QDate from(2026, 1, 9), to(2026, 10, 31);
    EXPECT_EQ(
        run(shiftQueryText("ZH", "14:00:00", "22:00:00", from, to, QString())),
        QStringList({"2026/1/9 14:00:01 甲", "2026/9/15 15:00:00 甲", "2026/10/31 21:59:59 乙"}));
    EXPECT_EQ(run(shiftQueryText("ZH", "14:00", "22:00", from, to, "乙")),
              QStringList({"2026/10/31 21:59:59 乙"}));

    // A single blank is a name like any other; only an empty text lists all.
    fill("ry", {"2026/12/2 9:00 甲", "2026/12/2 9:30 x"});
    appendRow(connection_, "ry", {"日期", "时间", "姓名"}, {"2026/12/3", "9:00", " "});
    EXPECT_EQ(run(punchQueryText("0:00", "23:59", kFirst, kSixth, " ")),
              QStringList({"2026/12/3 9:00:00  "}));
    EXPECT_EQ(run(punchQueryText("0:00", "23:59", kFirst, kSixth, QString())).size(), 3);
}

TEST_F(QueryTextTest, OvernightArmsEachKeepTheRangeAndTheName) {
    fill("B",
         {"2026/12/1 21:00 甲", "2026/12/6 6:00 甲", "2026/11/30 21:00 甲", "2026/12/7 6:00 甲",
          "2026/12/3 21:00 乙", "2026/12/3 6:00 乙", "2026/12/3 12:00 甲"});
    EXPECT_EQ(run(overnightQueryText("B", "20:00", "8:00", kFirst, kSixth, "甲")),
              QStringList({"2026/12/1 21:00:00 甲", "2026/12/6 6:00:00 甲"}));
    EXPECT_EQ(run(overnightQueryText("B", "20:00", "8:00", kFirst, kSixth, QString())).size(), 4);
}

TEST_F(QueryTextTest, NamesWithApostrophesMatchThemselves) {
    const QString obrien = QStringLiteral("O'Brien");
    fill("A", {"2026/12/2 9:00 O'Brien", "2026/12/2 9:00 O"});
    fill("ry", {"2026/12/2 9:00 张'三", "2026/12/2 9:00 张"});
    fill("B", {"2026/12/2 22:00 O'Brien", "2026/12/2 5:00 O'Brien", "2026/12/2 5:00 O"});
    EXPECT_EQ(run(shiftQueryText("A", "8:00", "12:00", kFirst, kSixth, obrien)),
              QStringList({"2026/12/2 9:00:00 O'Brien"}));
    EXPECT_EQ(run(punchQueryText("8:00", "12:00", kFirst, kSixth, "张'三")),
              QStringList({"2026/12/2 9:00:00 张'三"}));
    EXPECT_EQ(run(overnightQueryText("B", "20:00", "8:00", kFirst, kSixth, obrien)),
              QStringList({"2026/12/2 22:00:00 O'Brien", "2026/12/2 5:00:00 O'Brien"}));
}

TEST(QueryTimeTest, PunchTimesAcceptClockTimesAndDates) {
    for (const char* ok : {"8:30", "23:59:59", "0:00", "2026/12/1", "2026/12/1 8:00"})
        EXPECT_TRUE(isTimeText(QString::fromUtf8(ok))) << ok;
    for (const char* bad : {"", " ", "25:00", "abc", "Text1", "8:00#", "8:00' or 1=1", "8点"})
        EXPECT_FALSE(isTimeText(QString::fromUtf8(bad))) << bad;
}

TEST(QueryTimeTest, ShiftWindowTimesMustBeTimesOfDay) {
    EXPECT_FALSE(windowTimeProblem(kA, "8:00", "12:00:00"));
    EXPECT_FALSE(isShiftTimeText(QStringLiteral("2026/12/1")));  // would list nothing silently

    const auto start = windowTimeProblem(kA, QStringLiteral("Text1"), QStringLiteral("Text1"));
    ASSERT_TRUE(start);
    EXPECT_TRUE(start->atStart);
    EXPECT_EQ(start->timeIndex, 4);
    EXPECT_EQ(describe(*start), "A班的开始时间“Text1”不是有效的时间，无法查询A班异常。");

    // A "%1" typed into a box stays as typed.
    const auto end = windowTimeProblem(kNight, "22:00", "%1#");
    ASSERT_TRUE(end);
    EXPECT_FALSE(end->atStart);
    EXPECT_EQ(end->timeIndex, 13);
    EXPECT_EQ(describe(*end), "夜班的结束时间“%1#”不是有效的时间，无法查询夜班异常。");

    // Over all windows the first problem in window order is the one reported.
    kq::shifts::WindowTimes times;
    times.fill(QStringLiteral("8:00"));
    EXPECT_FALSE(firstWindowTimeProblem(times));
    times[9] = QStringLiteral("x");
    times[7] = QStringLiteral("y");
    const auto first = firstWindowTimeProblem(times);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->window, kB);
    EXPECT_EQ(first->text, "y");
}

}  // namespace
