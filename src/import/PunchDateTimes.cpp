#include "import/PunchDateTimes.h"

#include <algorithm>

#include "data/DateTimeText.h"
#include "data/TableCatalogue.h"
#include "import/ColumnTyping.h"
#include "import/SheetRefusal.h"

namespace kq {
namespace {

Cell dayCell(double ole) {
    return {Cell::Type::Date, datetime::fromDate(datetime::datePart(ole)), {}};
}

Cell timeOfDayCell(double ole) {
    return {Cell::Type::Time, datetime::fromTime(datetime::timePart(ole)), {}};
}

Cell* cellAt(SheetRow& row, int column) {
    const auto it = std::ranges::lower_bound(row.cells, column, {}, &RowCell::column);
    return it != row.cells.end() && it->column == column && !it->cell.isEmpty() ? &it->cell
                                                                                : nullptr;
}

[[noreturn]] void refuse(const QString& what) { throw SheetRefusal{ErrorKind::BadCell, what}; }

}  // namespace

const QStringList& punchMomentColumns() {
    static const QStringList names = {QStringLiteral("打卡时间"), QStringLiteral("考勤时间"),
                                      QStringLiteral("刷卡时间"), QStringLiteral("签到时间"),
                                      QStringLiteral("日期时间")};
    return names;
}

PunchDateTimes::PunchDateTimes(const SheetTable& sheet) : columnCount_(sheet.columnCount) {
    const QStringList names = columns::names(sheet);
    const auto dateColumn = names.indexOf(tables::kDate);
    const auto timeColumn = names.indexOf(tables::kTime);
    if (dateColumn >= 0 && timeColumn >= 0) {
        dateColumn_ = int(dateColumn);
        timeColumn_ = int(timeColumn);
        return;
    }
    const auto moment = std::ranges::find_if(
        names, [](const QString& name) { return punchMomentColumns().contains(name); });
    if (moment == names.end()) return;  // the usual check names the missing column
    moment_ = int(moment - names.begin());
    heading_ = *moment;
    if (dateColumn < 0) addedDate_ = columnCount_++;
    if (timeColumn < 0) addedTime_ = columnCount_++;
}

void PunchDateTimes::settleHeader(SheetRow& header) const {
    if (addedDate_ >= 0) header.cells.push_back({addedDate_, textCell(tables::kDate)});
    if (addedTime_ >= 0) header.cells.push_back({addedTime_, textCell(tables::kTime)});
}

void PunchDateTimes::settle(SheetRow& row) const {
    if (moment_ >= 0) return addFromMoment(row);
    if (dateColumn_ >= 0) splitMoment(row);
}

void PunchDateTimes::addFromMoment(SheetRow& row) const {
    const Cell* cell = cellAt(row, moment_);
    if (!cell) refuse(QStringLiteral(" 第 %1 行的“%2”为空").arg(row.index + 1).arg(heading_));
    const auto ole = columns::dateTimeOf(*cell);
    if (!ole || !datetime::hasDate(*ole))
        refuse(QStringLiteral(" 第 %1 行的“%2”（%3）不是日期和时间")
                   .arg(row.index + 1)
                   .arg(heading_, columns::textOf(*cell)));
    if (addedDate_ >= 0) row.cells.push_back({addedDate_, dayCell(*ole)});
    if (addedTime_ >= 0) row.cells.push_back({addedTime_, timeOfDayCell(*ole)});
}

void PunchDateTimes::splitMoment(SheetRow& row) const {
    Cell* date = cellAt(row, dateColumn_);
    Cell* time = cellAt(row, timeColumn_);
    if (!date || !time) return;  // the usual checks name the empty cell
    const auto day = columns::dateTimeOf(*date);
    const auto moment = columns::dateTimeOf(*time);
    if (!day || !moment || !datetime::hasDate(*day)) return;
    if (datetime::hasTime(*day)) {
        const bool same = datetime::timePart(*day) == datetime::timePart(*moment) &&
                          (!datetime::hasDate(*moment) ||
                           datetime::datePart(*day) == datetime::datePart(*moment));
        if (!same)
            refuse(QStringLiteral(" 第 %1 行的“日期”（%2）与“时间”（%3）不是同一时刻，"
                                  "请改正其中之一")
                       .arg(row.index + 1)
                       .arg(columns::textOf(*date), columns::textOf(*time)));
    } else if (!datetime::hasDate(*moment) ||
               datetime::datePart(*day) != datetime::datePart(*moment)) {
        return;  // a plain time of day, or one the usual checks refuse
    }
    *time = timeOfDayCell(*moment);
    *date = dayCell(*day);
}

void settlePunchDateTimes(SheetTable& sheet) {
    const PunchDateTimes settling(sheet);
    for (SheetRow& row : sheet.rows) {
        if (sheet.isData(row))
            settling.settle(row);
        else
            settling.settleHeader(row);
    }
    sheet.columnCount = settling.columnCount();
}

}  // namespace kq
