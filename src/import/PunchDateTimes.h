#pragma once

#include <QStringList>

#include "import/SheetTable.h"

namespace kq {

// The headers under which clock exports write a punch's date and time in
// one cell.
const QStringList& punchMomentColumns();

// Gives a punch sheet the 日期 and 时间 the rest of the system reads:
// - lacking either, they are taken from the first column headed as in
//   punchMomentColumns() (日期 its date, 时间 its time of day) and added
//   after the sheet's columns, which stay as they are;
// - 日期 holding the whole moment and 时间 its time of day or the same
//   moment (or 日期 a day and 时间 a moment on it) become the day and the
//   time of day.
// Throws SheetRefusal naming the row for a moment that is missing or no
// date and time, and for 日期 and 时间 that name different moments.
void settlePunchDateTimes(SheetTable& sheet);

}  // namespace kq
