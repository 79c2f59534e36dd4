#include <gtest/gtest.h>

#include "data/DateTimeText.h"

namespace dt = kq::datetime;

namespace {

TEST(DateTimeText, DatesRoundTripThroughShortAndLongForms) {
    const QDate day(2026, 12, 1);
    EXPECT_EQ(dt::shortDate(day), "2026/12/1");
    EXPECT_EQ(dt::longDate(day), "2026年12月1日");
    for (const QString& text : {QStringLiteral("2026/12/1"), QStringLiteral("2026年12月1日"),
                                QStringLiteral("2026-12-01"), QStringLiteral("2026/12/01")}) {
        const auto value = dt::parse(text);
        ASSERT_TRUE(value) << text.toStdString();
        EXPECT_EQ(dt::datePart(*value), day) << text.toStdString();
        EXPECT_FALSE(dt::hasTime(*value));
        EXPECT_EQ(dt::generalText(*value), "2026/12/1");
    }
}

TEST(DateTimeText, DayCountsMatchTheEngineEpoch) {
    EXPECT_EQ(dt::fromDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(dt::fromDate(QDate(1900, 1, 1)), 2.0);
    EXPECT_EQ(dt::fromDate(QDate(2024, 1, 5)), 45296.0);
}

TEST(DateTimeText, TimesWithAndWithoutSecondsReadTheSame) {
    const auto withoutSeconds = dt::parse(QStringLiteral("8:30"));
    const auto withSeconds = dt::parse(QStringLiteral("08:30:00"));
    ASSERT_TRUE(withoutSeconds && withSeconds);
    EXPECT_EQ(*withoutSeconds, *withSeconds);
    EXPECT_EQ(dt::generalText(*withoutSeconds), "8:30:00");
    EXPECT_FALSE(dt::hasDate(*withoutSeconds));
    const auto late = dt::parse(QStringLiteral("23:59:59"));
    ASSERT_TRUE(late);
    EXPECT_EQ(dt::timePart(*late), QTime(23, 59, 59));
}

TEST(DateTimeText, EqualClockReadingsCompareEqualHoweverComputed) {
    // 8:00 computed by division and by the parser must be the same double,
    // or a punch at exactly the bound would slip through a strict compare.
    EXPECT_EQ(dt::fromTime(QTime(8, 0)), *dt::parse(QStringLiteral("8:00")));
    EXPECT_EQ(dt::roundToSecond(8.0 / 24 + 1e-9), dt::fromTime(QTime(8, 0)));
    const double stamp = dt::fromDateTime(QDate(2026, 12, 6), QTime(21, 30, 5));
    EXPECT_EQ(dt::generalText(stamp), "2026/12/6 21:30:05");
    EXPECT_EQ(*dt::parse(QStringLiteral("2026/12/6 21:30:05")), stamp);
}

TEST(DateTimeText, InvalidTextsAreRejected) {
    for (const QString& text :
         {QString(), QStringLiteral("   "), QStringLiteral("25:00"), QStringLiteral("8:60"),
          QStringLiteral("abc"), QStringLiteral("2026/13/1"), QStringLiteral("2026/2/30"),
          QStringLiteral("Text1"), QStringLiteral("8:00#"), QStringLiteral("8")}) {
        EXPECT_FALSE(dt::parse(text)) << text.toStdString();
    }
}

}  // namespace
