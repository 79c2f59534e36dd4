#include <gtest/gtest.h>

#include <set>

#include "queries/PunchQuery.h"
#include "queries/QueryText.h"
#include "queries/ShiftQuery.h"

using namespace kq::queries;

namespace {

const QDate kFirst(2026, 12, 1);
const QDate kSixth(2026, 12, 6);

}  // namespace

TEST(QueryTextTest, ShiftTextsMatchTheAssembledExamples) {
    const ShiftQuery& a = shiftQuery(QStringLiteral("Command10"));
    EXPECT_EQ(queryText(a, "8:00", "12:00", kFirst, kSixth, QString()),
              QStringLiteral("select * from A where 时间> #8:00# and 时间 < #12:00# and 日期 >= "
                             "#2026/12/1# and 日期 <= #2026/12/6#"));
    EXPECT_EQ(queryText(a, "8:00", "12:00", kFirst, kSixth, QStringLiteral("员工甲")),
              QStringLiteral("select * from A where 时间 > #8:00# and 时间 < #12:00# and 日期 >= "
                             "#2026/12/1# and 日期 <= #2026/12/6# and 姓名 = '员工甲'"));
    EXPECT_EQ(shiftQueryText("ZH", "14:00:00", "22:00:00", QDate(2026, 1, 9), QDate(2026, 10, 31),
                             QString()),
              QStringLiteral("select * from ZH where 时间> #14:00:00# and 时间 < #22:00:00# and "
                             "日期 >= #2026/1/9# and 日期 <= #2026/10/31#"));
}

TEST(QueryTextTest, OvernightTextMatchesTheAssembledExamples) {
    const ShiftQuery& b = shiftQuery(QStringLiteral("Command11"));
    EXPECT_EQ(queryText(b, "20:00", "8:00", kFirst, kSixth, QString()),
              QStringLiteral("select * from B where (时间> #20:00# and 日期 >= #2026/12/1# and "
                             "日期 <= #2026/12/6#) or (时间 < #8:00# and 日期 >= #2026/12/1# and "
                             "日期 <= #2026/12/6#)"));
    EXPECT_EQ(queryText(b, "20:00", "8:00", kFirst, kSixth, QStringLiteral("员工甲")),
              QStringLiteral("select * from B where (时间> #20:00# and 日期 >= #2026/12/1# and "
                             "日期 <= #2026/12/6# and 姓名 = '员工甲') or (时间 < #8:00# and "
                             "日期 >= #2026/12/1# and 日期 <= #2026/12/6# and 姓名 = '员工甲')"));
}

TEST(QueryTextTest, PunchTextMatchesTheAssembledExample) {
    EXPECT_EQ(punchQueryText("0:00", "23:59", kFirst, kSixth, QString()),
              QStringLiteral("select * from ry where 时间> #0:00# and 时间 < #23:59# and 日期 >= "
                             "#2026/12/1# and 日期 <= #2026/12/6#"));
    EXPECT_EQ(punchQueryText("0:00", "23:59", kFirst, kSixth, QStringLiteral(" ")),
              QStringLiteral("select * from ry where 时间 > #0:00# and 时间 < #23:59# and 日期 >= "
                             "#2026/12/1# and 日期 <= #2026/12/6# and 姓名 = ' '"));
}

TEST(QueryTextTest, ApostrophesInNamesAreDoubled) {
    const QString name = QStringLiteral("O'Brien");
    EXPECT_TRUE(shiftQueryText("A", "8:00", "12:00", kFirst, kSixth, name)
                    .endsWith(QStringLiteral(" and 姓名 = 'O''Brien'")));
    EXPECT_TRUE(punchQueryText("8:00", "12:00", kFirst, kSixth, QStringLiteral("张'三"))
                    .endsWith(QStringLiteral(" and 姓名 = '张''三'")));
    const QString b = overnightQueryText("B", "20:00", "8:00", kFirst, kSixth, name);
    EXPECT_EQ(b.count(QStringLiteral("姓名 = 'O''Brien')")), 2) << b.toStdString();
}

TEST(QueryTextTest, TheSevenButtonsShareOutTheFourteenBoxes) {
    std::set<int> boxes;
    int overnight = 0;
    for (const ShiftQuery& q : shiftQueries()) {
        EXPECT_EQ(q.endIndex, q.startIndex + 1) << q.button.toStdString();
        boxes.insert(q.startIndex);
        boxes.insert(q.endIndex);
        overnight += q.overnight;
    }
    EXPECT_EQ(boxes.size(), 14u);
    EXPECT_EQ(*boxes.rbegin(), 13);
    EXPECT_EQ(overnight, 1);
    EXPECT_TRUE(shiftQuery(QStringLiteral("Command11")).overnight);
    EXPECT_EQ(shiftQuery(QStringLiteral("Command8")).table, shiftQuery("Command9").table);
    EXPECT_THROW(shiftQuery(QStringLiteral("Command2")), std::out_of_range);
}

TEST(QueryTextTest, PunchTimesAcceptClockTimesAndDates) {
    for (const char* ok : {"8:30", "23:59:59", "0:00", "2026/12/1", "2026/12/1 8:00"})
        EXPECT_TRUE(isTimeText(QString::fromUtf8(ok))) << ok;
    for (const char* bad : {"", " ", "25:00", "abc", "Text1", "8:00#", "8:00' or 1=1", "8点"})
        EXPECT_FALSE(isTimeText(QString::fromUtf8(bad))) << bad;
}

TEST(QueryTextTest, ShiftWindowBoxesMustHoldTimesOfDay) {
    const ShiftQuery& a = shiftQuery(QStringLiteral("Command10"));
    EXPECT_FALSE(shiftWindowProblem(a, "8:00", "12:00:00"));
    EXPECT_FALSE(isShiftTimeText(QStringLiteral("2026/12/1")));  // would list nothing silently

    const auto start = shiftWindowProblem(a, QStringLiteral("Text1"), QStringLiteral("Text1"));
    ASSERT_TRUE(start);
    for (const char* part : {"A班的开始时间", "“Text1”", "“AB班”", "“A：”", "左边", "第5个"})
        EXPECT_TRUE(start->contains(QString::fromUtf8(part))) << part << start->toStdString();

    const auto end = shiftWindowProblem(shiftQuery(QStringLiteral("Command14")), "22:00", "%1#");
    ASSERT_TRUE(end);
    for (const char* part : {"夜班的结束时间", "“%1#”", "“早中晚班”", "“夜：”", "右边", "第14个"})
        EXPECT_TRUE(end->contains(QString::fromUtf8(part))) << part << end->toStdString();
}
