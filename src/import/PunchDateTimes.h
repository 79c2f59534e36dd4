#pragma once

#include <QString>
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

// The same, a row at a time, as decided from the sheet's header and columns.
class PunchDateTimes {
  public:
    explicit PunchDateTimes(const SheetTable& sheet);

    // The sheet's columns and the ones added.
    int columnCount() const { return columnCount_; }
    // Names the added columns in the header row.
    void settleHeader(SheetRow& header) const;
    // A row below the header; throws SheetRefusal as above.
    void settle(SheetRow& row) const;

  private:
    void addFromMoment(SheetRow& row) const;
    void splitMoment(SheetRow& row) const;

    int columnCount_;
    int dateColumn_ = -1;  // 日期 and 时间 both there
    int timeColumn_ = -1;
    int moment_ = -1;  // else the punch moment column they come from
    QString heading_;
    int addedDate_ = -1;
    int addedTime_ = -1;
};

}  // namespace kq
