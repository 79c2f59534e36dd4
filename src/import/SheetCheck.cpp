#include "import/SheetCheck.h"

#include <QFileInfo>
#include <algorithm>

#include "data/DatabaseError.h"
#include "data/DateTimeText.h"
#include "data/TableCatalogue.h"
#include "import/HeaderSearch.h"
#include "import/MonthGrid.h"
#include "import/PunchDateTimes.h"
#include "import/SheetRefusal.h"
#include "import/WorkbookFile.h"

namespace kq {

const QString kDataUnchanged = QStringLiteral("数据未导入，原有数据保持不变。");

namespace {

using columns::ColumnType;

// SQLite's limit on the columns of a table (an .xlsx sheet has 16,384).
constexpr int kMaxTableColumns = 2000;

// A column the rest of the system reads as dates or as times of day.
struct DateTimeColumn {
    QString name;
    bool isDate;      // a date without a time of day, else a time of day without a date
    bool allowEmpty;  // pb may leave a time out; a punch or a schedule day may not
};

struct Rules {
    QStringList required;  // must be present
    QString firstColumn;   // must come first, if set
    std::vector<DateTimeColumn> dateTimes;
};

Rules rulesFor(Workbook which) {
    using namespace tables;
    switch (which) {
        case Workbook::Punches:
            return {{kDate, kTime, kName}, {}, {{kDate, true, false}, {kTime, false, false}}};
        case Workbook::Schedule:
            return {{kDate}, kDate, {{kDate, true, false}}};
        case Workbook::ShiftTimes:
            return {{kTime}, {}, {{kTime, false, true}}};
    }
    return {};
}

class SheetCheck {
  public:
    SheetCheck(const QString& fileName, const SheetTable& sheet)
        : where_(QStringLiteral("工作簿 %1 的 %2").arg(fileName, sheet.name)) {}

    [[noreturn]] void fail(ErrorKind kind, const QString& what) const {
        throw Error(kind, where_ + what + QStringLiteral("，") + kDataUnchanged);
    }

    // Every cell of a required date or time column must read as one, so
    // that no punch or schedule day goes missing without a word. Rows
    // without content are not records and are not stored.
    void checkDateTimes(const SheetTable& sheet, int column, const QString& name,
                        const ColumnCheck& rule) const {
        const QString kind = rule.isDate ? QStringLiteral("日期") : QStringLiteral("时间");
        for (const SheetRow& row : sheet.rows) {
            if (!sheet.isData(row)) continue;
            const Cell* cell = row.at(column);
            if (passesCheck(rule, cell)) continue;
            if (!cell)
                fail(ErrorKind::BadCell,
                     QStringLiteral(" 第 %1 行的“%2”为空").arg(row.index + 1).arg(name));
            fail(ErrorKind::BadCell, QStringLiteral(" 第 %1 行的“%2”（%3）不是%4")
                                         .arg(row.index + 1)
                                         .arg(name, columns::textOf(*cell), kind));
        }
    }

    // A required column that is missing; when a header differs from it only
    // by blanks around it, the clerk is told which one.
    [[noreturn]] void failMissing(const QStringList& names, const QString& required) const {
        for (qsizetype c = 0; c < names.size(); ++c)
            if (names[c].trimmed() == required)
                fail(ErrorKind::MissingColumn,
                     QStringLiteral(" 缺少“%1”列（第 %2 列的列名“%3”前后有空格，请删去空格）")
                         .arg(required)
                         .arg(c + 1)
                         .arg(names[c]));
        fail(ErrorKind::MissingColumn, QStringLiteral(" 缺少“%1”列").arg(required));
    }

  private:
    QString where_;
};

}  // namespace

bool passesCheck(const ColumnCheck& check, const Cell* cell) {
    if (!check.dateTime) return true;
    if (!cell) return check.allowEmpty;
    const auto ole = columns::dateTimeOf(*cell);
    return ole && (check.isDate ? !datetime::hasTime(*ole)
                                : datetime::datePart(*ole) == QDate(1899, 12, 30));
}

void failReading(const Error& error) {
    throw Error(error.kind(), error.description() + kDataUnchanged);
}

void failWriting(const QString& fileName) {
    try {
        throw;
    } catch (const DatabaseError&) {
        throw;
    } catch (const Error& e) {
        throw Error(e.kind(), QStringLiteral("把工作簿 %1 写入数据库时出错：%2\n%3")
                                  .arg(fileName, e.description(), kDataUnchanged));
    }
}

HeaderTest headerTestFor(Workbook which) {
    return [which](const SheetRow& row) { return holdsHeader(which, row); };
}

CheckedSheet readCheckedSheet(const QString& path, const QString& sheetName, Workbook which) {
    SheetTable sheet;
    try {
        WorkbookFile workbook(path, headerTestFor(which));
        sheet = readSheetTable(workbook, sheetName);
    } catch (const Error& e) {
        failReading(e);
    }
    return checkSheet(std::move(sheet), QFileInfo(path).fileName(), which);
}

CheckedSheet checkSheet(SheetTable sheet, const QString& fileName, Workbook which) {
    CheckedSheet out;
    out.sheet = std::move(sheet);
    const SheetCheck check(fileName, out.sheet);
    if (out.sheet.columnCount == 0)
        check.fail(ErrorKind::BadWorkbook, QStringLiteral(" 是空的，第 1 行应为列名"));
    if (const auto header = findHeaderRow(out.sheet, which)) {
        if (*header > 0) out.sheet.startAt(*header);
    } else if (!firstRowIsPartOfHeader(out.sheet, which)) {
        check.fail(ErrorKind::MissingColumn,
                   QStringLiteral(" 的前 %1 行中找不到列名行（应有一行%2），请按此写好列名")
                       .arg(kHeaderSearchRows)
                       .arg(headerDescription(which)));
    }
    if (out.sheet.columnCount > kMaxTableColumns)
        check.fail(ErrorKind::BadWorkbook,
                   QStringLiteral(" 的第 %1 列有内容，但一张表最多只能有 %2 列，请删去多余的列")
                       .arg(out.sheet.columnCount)
                       .arg(kMaxTableColumns));

    out.sheetColumns = out.sheet.columnCount;
    try {
        if (which == Workbook::Schedule) turnMonthGrid(out.sheet);
        if (which == Workbook::Punches) {
            out.punchDateTimes.emplace(out.sheet);
            settlePunchDateTimes(out.sheet);
        }
    } catch (const SheetRefusal& refusal) {
        check.fail(refusal.kind, refusal.what);
    }

    out.names = columns::names(out.sheet);
    for (qsizetype i = 0; i < out.names.size(); ++i)
        for (qsizetype j = 0; j < i; ++j)
            if (out.names[i].compare(out.names[j], Qt::CaseInsensitive) == 0)
                check.fail(ErrorKind::BadWorkbook,
                           QStringLiteral(" 有两列同名“%1”（第 %2 列和第 %3 列），请改为不同的列名")
                               .arg(out.names[i])
                               .arg(j + 1)
                               .arg(i + 1));

    const Rules rules = rulesFor(which);
    for (const QString& name : rules.required)
        if (!out.names.contains(name)) check.failMissing(out.names, name);
    if (!rules.firstColumn.isEmpty() && out.names.first() != rules.firstColumn)
        check.fail(ErrorKind::MissingColumn, QStringLiteral(" 的第一列应为“%1”列（现为“%2”）")
                                                 .arg(rules.firstColumn, out.names.first()));

    for (int c = 0; c < out.sheet.columnCount; ++c) {
        const QString& name = out.names[c];
        ColumnCheck columnCheck;
        ColumnType type = columns::inferType(out.sheet, c);
        if (name == tables::kName) {
            type = ColumnType::Text;
            columnCheck.typedByCells = false;
        }
        for (const DateTimeColumn& rule : rules.dateTimes) {
            if (rule.name != name) continue;
            columnCheck = {false, true, rule.isDate, rule.allowEmpty};
            check.checkDateTimes(out.sheet, c, name, columnCheck);
            type = ColumnType::DateTime;
        }
        out.types.push_back(type);
        out.checks.push_back(columnCheck);
    }
    return out;
}

}  // namespace kq
