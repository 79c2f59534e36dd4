#include <gtest/gtest.h>

#include "data/DateTimeText.h"
#include "data/Error.h"
#include "data/JetSql.h"

namespace js = kq::jetsql;

namespace {

TEST(JetSql, DateLiteralsBecomeDayCounts) {
    const QString sql =
        js::toSqlite(QStringLiteral("select * from A where 时间> #8:00# and 日期 <= #2026/12/6#"));
    EXPECT_EQ(sql, QStringLiteral("select * from A where 时间> %1 and 日期 <= %2")
                       .arg(js::numberLiteral(kq::datetime::fromTime(QTime(8, 0))),
                            js::numberLiteral(kq::datetime::fromDate(QDate(2026, 12, 6)))));
}

TEST(JetSql, HashMarksInsideQuotedTextAreLeftAlone) {
    EXPECT_EQ(js::toSqlite(QStringLiteral("select * from ry where 姓名 = '#1 班'")),
              QStringLiteral("select * from ry where 姓名 = '#1 班'"));
    EXPECT_EQ(js::toSqlite(QStringLiteral("select 'a''#b' from ry")),
              QStringLiteral("select 'a''#b' from ry"));
}

TEST(JetSql, UnreadableLiteralIsASyntaxError) {
    try {
        js::toSqlite(QStringLiteral("select * from A where 时间> #Text1#"));
        FAIL() << "expected an error";
    } catch (const kq::Error& e) {
        EXPECT_EQ(e.kind(), kq::ErrorKind::Syntax);
        EXPECT_TRUE(e.description().contains(QStringLiteral("Text1")));
    }
    EXPECT_THROW(js::toSqlite(QStringLiteral("select * from A where 时间> #8:00")), kq::Error);
}

TEST(JetSql, QuotingDoublesApostrophes) {
    EXPECT_EQ(js::quote(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(js::quote(QStringLiteral("员工甲")), QStringLiteral("'员工甲'"));
    EXPECT_EQ(js::dateLiteral(QStringLiteral("8:30")), QStringLiteral("#8:30#"));
}

}  // namespace
