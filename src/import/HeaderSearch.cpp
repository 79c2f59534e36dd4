#include "import/HeaderSearch.h"

#include <QStringList>
#include <algorithm>

#include "data/TableCatalogue.h"
#include "import/ColumnTyping.h"
#include "import/MonthGrid.h"
#include "import/PunchDateTimes.h"

namespace kq {
namespace {

QStringList texts(const SheetRow& row) {
    QStringList out;
    for (const RowCell& cell : row.cells) out << columns::textOf(cell.cell);
    return out;
}

QString firstText(const SheetRow& row) {
    const Cell* first = row.at(0);
    return first ? columns::textOf(*first) : QString();
}

QStringList keyNames(Workbook which) {
    using namespace tables;
    switch (which) {
        case Workbook::Punches:
            return QStringList{kDate, kTime, kName} + punchMomentColumns();
        case Workbook::Schedule:
            return {kDate, kName};
        case Workbook::ShiftTimes:
            return {kTime};
    }
    return {};
}

}  // namespace

bool holdsHeader(Workbook which, const SheetRow& row) {
    using namespace tables;
    const QStringList names = texts(row);
    switch (which) {
        case Workbook::Punches:
            return names.contains(kName) && ((names.contains(kDate) && names.contains(kTime)) ||
                                             std::ranges::any_of(names, [](const QString& name) {
                                                 return punchMomentColumns().contains(name);
                                             }));
        case Workbook::Schedule:
            if (firstText(row) == kDate) return true;
            return firstText(row) == kName &&
                   std::ranges::any_of(row.cells, [](const RowCell& cell) {
                       return cell.column > 0 && gridHeaderDay(cell.cell).has_value();
                   });
        case Workbook::ShiftTimes:
            return names.contains(kTime);
    }
    return false;
}

std::optional<int> findHeaderRow(const SheetTable& sheet, Workbook which) {
    for (const SheetRow& row : sheet.rows) {
        if (row.index >= kHeaderSearchRows) break;
        if (holdsHeader(which, row)) return row.index;
    }
    return std::nullopt;
}

bool firstRowIsPartOfHeader(const SheetTable& sheet, Workbook which) {
    const SheetRow* first = sheet.header();
    if (!first || first->index != 0) return false;
    const QStringList wanted = keyNames(which);
    const QStringList names = texts(*first);
    return std::ranges::any_of(
        names, [&](const QString& name) { return wanted.contains(name.trimmed()); });
}

QString headerDescription(Workbook which) {
    switch (which) {
        case Workbook::Punches:
            return QStringLiteral("含“日期”、“时间”和“姓名”列，或含“姓名”列和“%1”中的一列")
                .arg(punchMomentColumns().join(QStringLiteral("”、“")));
        case Workbook::Schedule:
            return QStringLiteral("第一列为“日期”；或第一列为“姓名”，其后各列的列名为日期");
        case Workbook::ShiftTimes:
            return QStringLiteral("含“时间”列");
    }
    return {};
}

}  // namespace kq
