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

void addFromMoment(SheetTable& sheet, int moment, const QString& heading, bool addDate,
                   bool addTime) {
    int next = sheet.columnCount;
    const int dateColumn = addDate ? next++ : -1;
    const int timeColumn = addTime ? next++ : -1;
    for (SheetRow& row : sheet.rows) {
        if (!sheet.isData(row)) {
            if (addDate) row.cells.push_back({dateColumn, textCell(tables::kDate)});
            if (addTime) row.cells.push_back({timeColumn, textCell(tables::kTime)});
            continue;
        }
        const Cell* cell = cellAt(row, moment);
        if (!cell) refuse(QStringLiteral(" 第 %1 行的“%2”为空").arg(row.index + 1).arg(heading));
        const auto ole = columns::dateTimeOf(*cell);
        if (!ole || !datetime::hasDate(*ole))
            refuse(QStringLiteral(" 第 %1 行的“%2”（%3）不是日期和时间")
                       .arg(row.index + 1)
                       .arg(heading, columns::textOf(*cell)));
        if (addDate) row.cells.push_back({dateColumn, dayCell(*ole)});
        if (addTime) row.cells.push_back({timeColumn, timeOfDayCell(*ole)});
    }
    sheet.columnCount = next;
}

void splitMoments(SheetTable& sheet, int dateColumn, int timeColumn) {
    for (SheetRow& row : sheet.rows) {
        if (!sheet.isData(row)) continue;
        Cell* date = cellAt(row, dateColumn);
        Cell* time = cellAt(row, timeColumn);
        if (!date || !time) continue;  // the usual checks name the empty cell
        const auto day = columns::dateTimeOf(*date);
        const auto moment = columns::dateTimeOf(*time);
        if (!day || !moment || !datetime::hasDate(*day)) continue;
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
            continue;  // a plain time of day, or one the usual checks refuse
        }
        *time = timeOfDayCell(*moment);
        *date = dayCell(*day);
    }
}

}  // namespace

const QStringList& punchMomentColumns() {
    static const QStringList names = {QStringLiteral("打卡时间"), QStringLiteral("考勤时间"),
                                      QStringLiteral("刷卡时间"), QStringLiteral("签到时间"),
                                      QStringLiteral("日期时间")};
    return names;
}

void settlePunchDateTimes(SheetTable& sheet) {
    const QStringList names = columns::names(sheet);
    const auto dateColumn = names.indexOf(tables::kDate);
    const auto timeColumn = names.indexOf(tables::kTime);
    if (dateColumn >= 0 && timeColumn >= 0) {
        splitMoments(sheet, int(dateColumn), int(timeColumn));
        return;
    }
    const auto moment = std::ranges::find_if(
        names, [](const QString& name) { return punchMomentColumns().contains(name); });
    if (moment == names.end()) return;  // the usual check names the missing column
    addFromMoment(sheet, int(moment - names.begin()), *moment, dateColumn < 0, timeColumn < 0);
}

}  // namespace kq
