#include "reports/AttendanceSheet.h"

#include <QHash>
#include <algorithm>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "queries/ShiftQuery.h"
#include "reports/ReportPrerequisites.h"
#include "reports/ReportSql.h"
#include "reports/ScheduledDays.h"

namespace kq::reports {
namespace {

QString markText(DayMark mark) {
    switch (mark) {
        case DayMark::Anomaly:
            return QStringLiteral("异");
        case DayMark::Missing:
            return QStringLiteral("缺");
        case DayMark::Absent:
            return QStringLiteral("旷");
        case DayMark::None:
            break;
    }
    return {};
}

DayMark markOf(int punches, bool marked) {
    if (punches == 0) return DayMark::Absent;
    if (punches == 1) return DayMark::Missing;
    return marked ? DayMark::Anomaly : DayMark::None;
}

QDate dateOf(const Value& day) { return datetime::datePart(day.toDouble()); }

struct Entry {
    qint64 seq;
    int employee;
    int day;
    QString code;
};

// yw's entries with a code over the range, in yw's order; employees are
// numbered as they first appear there, which is the schedule's column order.
std::vector<Entry> readEntries(Connection& connection, AttendanceSheet& sheet,
                               const QString& name) {
    const auto rows =
        connection
            .open(QStringLiteral("select rowid, 日期, 姓名, 班次 from yw where "
                                 "班次 <> '' and 日期 >= %1 and 日期 <= %2%3 "
                                 "order by rowid")
                      .arg(dateLiteral(sheet.from), dateLiteral(sheet.to), nameCondition(name)))
            .rows();
    QHash<QString, int> employeeOf;
    std::vector<Entry> entries;
    entries.reserve(std::size_t(rows->rowCount()));
    for (qsizetype r = 0; r < rows->rowCount(); ++r) {
        const QString employee = rows->cell(r, 2).toText();
        auto it = employeeOf.find(employee);
        if (it == employeeOf.end()) {
            it = employeeOf.insert(employee, int(sheet.employees.size()));
            sheet.employees << employee;
        }
        const int day = int(sheet.from.daysTo(dateOf(rows->cell(r, 1))));
        if (day < 0 || std::size_t(day) >= sheet.days.size()) continue;
        entries.push_back(
            {qint64(rows->cell(r, 0).toDouble()), *it, day, rows->cell(r, 3).toText()});
    }
    return entries;
}

// The punches and the mark of each shift day, by yw rowid.
QHash<qint64, DayMark> readMarks(Connection& connection, const AttendanceSheet& sheet,
                                 const shifts::WindowTimes& times, const QString& name) {
    const ScheduledRange range = readScheduledRange(connection, sheet.from, sheet.to, name, &times);
    QHash<qint64, DayMark> marks;
    marks.reserve(qsizetype(range.days.size()));
    for (const ScheduledDay& d : range.days) marks.insert(d.seq, markOf(int(d.punches), d.marked));
    return marks;
}

void count(SheetTotals& totals, const SheetCell& cell, int otherCode) {
    if (!cell.shift) {
        totals.otherCodes[std::size_t(otherCode)] += 1;
        return;
    }
    totals.scheduled += 1;
    switch (cell.mark) {
        case DayMark::None:
            totals.normal += 1;
            break;
        case DayMark::Anomaly:
            totals.anomalous += 1;
            break;
        case DayMark::Missing:
            totals.missing += 1;
            break;
        case DayMark::Absent:
            totals.absent += 1;
            break;
    }
}

void addInto(SheetTotals& sum, const SheetTotals& totals) {
    sum.scheduled += totals.scheduled;
    sum.normal += totals.normal;
    sum.anomalous += totals.anomalous;
    sum.missing += totals.missing;
    sum.absent += totals.absent;
    for (std::size_t i = 0; i < sum.otherCodes.size(); ++i)
        sum.otherCodes[i] += totals.otherCodes[i];
}

void fill(AttendanceSheet& sheet, std::vector<Entry> entries, const QHash<qint64, DayMark>& marks) {
    // Codes first appear by date, then by the schedule's order.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.day != b.day ? a.day < b.day : a.employee < b.employee;
    });
    QHash<QString, int> otherOf;
    std::vector<std::pair<SheetCell, int>> resolved;
    resolved.reserve(entries.size());
    for (const Entry& e : entries) {
        SheetCell cell{e.code, shifts::shiftIndex(e.code) >= 0, DayMark::None};
        int other = -1;
        if (cell.shift) {
            cell.mark = marks.value(e.seq, DayMark::Absent);
        } else {
            auto it = otherOf.find(e.code);
            if (it == otherOf.end()) {
                it = otherOf.insert(e.code, int(sheet.otherCodes.size()));
                sheet.otherCodes << e.code;
            }
            other = *it;
        }
        resolved.emplace_back(std::move(cell), other);
    }
    const std::size_t width = sheet.days.size();
    sheet.cells.assign(std::size_t(sheet.employees.size()) * width, SheetCell{});
    sheet.totals.assign(std::size_t(sheet.employees.size()),
                        SheetTotals{0, 0, 0, 0, 0, std::vector<int>(sheet.otherCodes.size(), 0)});
    sheet.columnSums.otherCodes.assign(std::size_t(sheet.otherCodes.size()), 0);
    sheet.markedPerDay.assign(width, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const SheetCell& cell = resolved[i].first;
        count(sheet.totals[std::size_t(e.employee)], cell, resolved[i].second);
        if (cell.mark != DayMark::None) sheet.markedPerDay[std::size_t(e.day)] += 1;
        SheetCell& shown = sheet.cells[std::size_t(e.employee) * width + std::size_t(e.day)];
        // Two entries of one day (a date twice in yd) are both counted; the
        // first is shown.
        if (shown.code.isEmpty()) shown = cell;
    }
    for (const SheetTotals& totals : sheet.totals) addInto(sheet.columnSums, totals);
}

}  // namespace

QString SheetCell::text() const { return shift ? code + markText(mark) : code; }

QString sheetRangeProblem(const QDate& from, const QDate& to) {
    if (from > to) return QStringLiteral("开始日期不能晚于结束日期。");
    if (from.daysTo(to) + 1 > kMaxSheetDays)
        return QStringLiteral("统计日期最多%1天，请缩短日期范围。").arg(kMaxSheetDays);
    return {};
}

AttendanceSheet runAttendanceSheet(const QString& programFolder, const shifts::WindowTimes& times,
                                   const QDate& from, const QDate& to, const QString& name) {
    if (auto problem = queries::firstWindowTimeProblem(times))
        throw Error(ErrorKind::TypeMismatch, queries::describe(*problem));
    Connection connection(programFolder);
    requireScheduleEntries(connection);
    if (const QString problem = sheetRangeProblem(from, to); !problem.isEmpty())
        throw Error(ErrorKind::TypeMismatch, problem);

    AttendanceSheet sheet;
    sheet.from = from;
    sheet.to = to;
    for (QDate d = from; d <= to; d = d.addDays(1)) sheet.days.push_back(d);
    std::vector<Entry> entries = readEntries(connection, sheet, name);
    fill(sheet, std::move(entries), readMarks(connection, sheet, times, name));
    return sheet;
}

}  // namespace kq::reports
