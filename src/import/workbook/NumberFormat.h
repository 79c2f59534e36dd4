#pragma once

#include <QStringView>

#include "import/workbook/Cell.h"

// What a cell's number format says about its number, the same rules for
// .xls and .xlsx.
namespace kq::numfmt {

// Duration: elapsed time ([h]:mm, [mm]:ss), a count of days that may pass
// 24 hours; it stays the number it is, never a time of day.
enum class Kind : unsigned char { Number, Date, Time, DateTime, Duration };

// The built-in formats by id (14-22, 45-47 and the Chinese ones 27-36,
// 50-58 are dates or times); any other id is a plain number.
Kind builtInKind(int id);

// A format string of the workbook: letters y/d (and m alone) mean a date,
// h/s (and m beside them) a time, an elapsed [h] [mm] [ss] a duration;
// quoted text, escapes and other [..] tags (colours, conditions, locales)
// do not count. Only the first section counts.
Kind kindOf(QStringView formatCode);

// The cell a number with that format becomes. Serial numbers count days in
// the workbook's date system (1900 with its phantom 29 February, or 1904);
// dates and times are cut down to whole seconds, so that 23:59:59.6 stays
// 23:59:59 on its day (never 24:00:00). A date format keeps only the day, a
// time format only the time of day, as the sheet shows them. A number no
// day count stands for (negative, past 9999, the phantom day) stays a number.
Cell numberCell(double value, Kind kind, bool date1904);

}  // namespace kq::numfmt
