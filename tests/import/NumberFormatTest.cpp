#include "import/workbook/NumberFormat.h"

#include <gtest/gtest.h>

#include "data/DateTimeText.h"

namespace kq {
namespace {

using numfmt::Kind;

TEST(NumberFormat, FormatStringsTellDatesTimesAndNumbersApart) {
    const std::vector<std::pair<const char*, Kind>> cases = {
        {"General", Kind::Number},
        {"0.00E+00", Kind::Number},
        {"#,##0.00\" days\"", Kind::Number},
        {"@", Kind::Number},
        {"yyyy/m/d", Kind::Date},
        {"yyyy\"年\"m\"月\"d\"日\"", Kind::Date},
        {"[$-804]yyyy\"年\"m\"月\"d\"日\";@", Kind::Date},
        {"mmm-yy", Kind::Date},
        {"h:mm", Kind::Time},
        {"h:mm AM/PM", Kind::Time},
        {"[h]:mm:ss", Kind::Duration},
        {"[h]:mm", Kind::Duration},
        {"[hh]:mm:ss", Kind::Duration},
        {"[mm]:ss", Kind::Duration},
        {"[s]", Kind::Duration},
        {"[Magenta]0.00", Kind::Number},
        {"[Color12]0.0;[Red]-0.0", Kind::Number},
        {"[>100]0;0.00", Kind::Number},
        {"[$-804]0.00", Kind::Number},
        {"[Blue]h:mm", Kind::Time},
        {"mm:ss", Kind::Time},
        {"h\"时\"mm\"分\"ss\"秒\"", Kind::Time},
        {"yyyy/m/d h:mm:ss", Kind::DateTime},
        {"[Red]yyyy-mm-dd hh:mm", Kind::DateTime},
    };
    for (const auto& [code, kind] : cases)
        EXPECT_EQ(numfmt::kindOf(QString::fromUtf8(code)), kind) << code;
    EXPECT_EQ(numfmt::builtInKind(14), Kind::Date);
    EXPECT_EQ(numfmt::builtInKind(20), Kind::Time);
    EXPECT_EQ(numfmt::builtInKind(22), Kind::DateTime);
    EXPECT_EQ(numfmt::builtInKind(31), Kind::Date);  // yyyy"年"m"月"d"日" in Chinese Excel
    EXPECT_EQ(numfmt::builtInKind(2), Kind::Number);
}

// Seconds are cut, never rounded up: 23:59:59.6 stays on its day.
TEST(NumberFormat, SerialNumbersBecomeWholeSecondsOnTheirDay) {
    const double day = datetime::fromDate(QDate(2026, 12, 2));  // serial 46358 in 1900
    const double almostMidnight = (86399 + 0.6) / 86400.0;
    struct Case {
        double serial;
        Kind kind;
        bool date1904;
        Cell::Type type;
        double expected;
    };
    const std::vector<Case> cases = {
        {46358 + almostMidnight, Kind::DateTime, false, Cell::Type::DateTime,
         datetime::fromDateTime(QDate(2026, 12, 2), QTime(23, 59, 59))},
        {almostMidnight, Kind::Time, false, Cell::Type::Time,
         datetime::fromTime(QTime(23, 59, 59))},
        {46358 + 0.75, Kind::Date, false, Cell::Type::Date, day},  // the day shown
        {46358 + 0.75, Kind::Time, false, Cell::Type::Time, 0.75},
        {46358 - 1462, Kind::Date, true, Cell::Type::Date, day},  // 1904 system
        {(7 * 60 + 58) / 1440.0, Kind::Time, false, Cell::Type::Time,
         datetime::fromTime(QTime(7, 58))},  // a binary fraction just under 7:58
        {1, Kind::Date, false, Cell::Type::Date, datetime::fromDate(QDate(1900, 1, 1))},
        {61, Kind::Date, false, Cell::Type::Date, datetime::fromDate(QDate(1900, 3, 1))},
        {60, Kind::Date, false, Cell::Type::Number, 60},  // Excel's 1900-02-29
        {-1, Kind::Date, false, Cell::Type::Number, -1},
        {3e6, Kind::Date, false, Cell::Type::Number, 3e6},  // past 9999
        {12.5, Kind::Number, false, Cell::Type::Number, 12.5},
        {10.632, Kind::Duration, false, Cell::Type::Number, 10.632},  // 255:10:10, whole
    };
    for (const Case& c : cases) {
        const Cell cell = numfmt::numberCell(c.serial, c.kind, c.date1904);
        EXPECT_EQ(cell.type, c.type) << c.serial;
        EXPECT_DOUBLE_EQ(cell.number, c.expected) << c.serial;
    }
}

}  // namespace
}  // namespace kq
