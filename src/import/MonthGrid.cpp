#include "import/MonthGrid.h"

#include <QRegularExpression>
#include <algorithm>

#include "data/DateTimeText.h"
#include "data/TableCatalogue.h"
#include "import/ColumnTyping.h"
#include "import/SheetRefusal.h"

namespace kq {
namespace {

// 1 ... 31, 1日, 1号, 12-01, 12/1, 12.1, 12月1日: a day of some month.
bool isYearlessDay(const Cell& header) {
    if (header.isNumber()) return header.number >= 1 && header.number <= 31;
    static const QRegularExpression day(
        QStringLiteral(R"(^(\d{1,2}\s*[月/.\-]\s*)?\d{1,2}\s*[日号]?$)"));
    return header.type == Cell::Type::Text && day.match(header.text.trimmed()).hasMatch();
}

struct DateColumn {
    double day;
    int column;
};

[[noreturn]] void refuse(const QString& what) { throw SheetRefusal{ErrorKind::BadSchedule, what}; }

}  // namespace

std::optional<double> gridHeaderDay(const Cell& header) {
    if (header.isDateTime()) {
        if (datetime::hasDate(header.number) && !datetime::hasTime(header.number))
            return header.number;
        return std::nullopt;
    }
    if (header.type != Cell::Type::Text) return std::nullopt;
    static const QRegularExpression yearFirst(QStringLiteral(R"(^\s*\d{4}\s*[年/\-.])"));
    if (!yearFirst.match(header.text).hasMatch()) return std::nullopt;
    const auto ole = columns::dateTimeOf(header);
    if (!ole || !datetime::hasDate(*ole) || datetime::hasTime(*ole)) return std::nullopt;
    return ole;
}

bool turnMonthGrid(SheetTable& sheet) {
    const SheetRow* header = sheet.header();
    const Cell* first = header ? header->at(0) : nullptr;
    if (!first || columns::textOf(*first) != tables::kName) return false;

    std::vector<DateColumn> dates;
    for (const RowCell& cell : header->cells) {
        if (cell.column == 0) continue;
        if (const auto day = gridHeaderDay(cell.cell)) {
            dates.push_back({*day, cell.column});
        } else if (isYearlessDay(cell.cell)) {
            refuse(QStringLiteral(" 第 %1 列的列名“%2”是没有年份的日期，请把各日期列的列名"
                                  "写成完整的日期（如 2026/12/1）")
                       .arg(cell.column + 1)
                       .arg(columns::textOf(cell.cell)));
        }
    }
    if (dates.empty()) return false;
    std::ranges::stable_sort(dates, {}, &DateColumn::day);
    for (std::size_t i = 1; i < dates.size(); ++i)
        if (dates[i].day == dates[i - 1].day)
            refuse(QStringLiteral(" 第 %1 列和第 %2 列是同一天（%3），请删去其中一列")
                       .arg(std::min(dates[i - 1].column, dates[i].column) + 1)
                       .arg(std::max(dates[i - 1].column, dates[i].column) + 1)
                       .arg(datetime::generalText(dates[i].day)));

    struct Employee {
        QString name;
        const SheetRow* row;
    };
    std::vector<Employee> employees;
    for (const SheetRow& row : sheet.rows) {
        if (!sheet.isData(row)) continue;
        const bool anyCode = std::ranges::any_of(
            dates, [&](const DateColumn& d) { return row.at(d.column) != nullptr; });
        const Cell* nameCell = row.at(0);
        const QString name = nameCell ? columns::textOf(*nameCell) : QString();
        if (name.trimmed().isEmpty()) {
            if (!anyCode) continue;  // a note or a blank line below the grid
            refuse(QStringLiteral(" 第 %1 行有班次但“姓名”为空，请填上姓名").arg(row.index + 1));
        }
        for (const Employee& e : employees)
            if (e.name.compare(name, Qt::CaseInsensitive) == 0)
                refuse(QStringLiteral(" 第 %1 行和第 %2 行的“姓名”相同（%3），请合并为一行")
                           .arg(e.row->index + 1)
                           .arg(row.index + 1)
                           .arg(name));
        employees.push_back({name, &row});
    }

    SheetTable grid;
    grid.name = sheet.name;
    grid.columnCount = int(employees.size()) + 1;
    grid.rowCount = int(dates.size()) + 1;
    SheetRow names{0, {{0, textCell(tables::kDate)}}};
    for (std::size_t e = 0; e < employees.size(); ++e)
        names.cells.push_back({int(e) + 1, textCell(employees[e].name)});
    grid.rows.push_back(std::move(names));
    for (std::size_t d = 0; d < dates.size(); ++d) {
        SheetRow day{int(d) + 1, {{0, Cell{Cell::Type::Date, dates[d].day, {}}}}};
        for (std::size_t e = 0; e < employees.size(); ++e)
            if (const Cell* code = employees[e].row->at(dates[d].column))
                day.cells.push_back({int(e) + 1, *code});
        grid.rows.push_back(std::move(day));
    }
    sheet = std::move(grid);
    return true;
}

}  // namespace kq
