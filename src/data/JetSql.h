#pragma once

#include <QString>
#include <optional>

// The query dialect of the system's statement texts, spoken over SQLite:
// "#...#" date literals and the workbook source of a select-into.
namespace kq::jetsql {

// Rewrites every "#...#" outside a quoted text into the day count it names.
// Throws kq::Error (syntax) for a literal that does not read as a date or
// time, or an unclosed literal.
QString toSqlite(const QString& jetSql);

// A text literal, apostrophes doubled: O'Brien -> 'O''Brien'.
QString quote(const QString& text);

// "#" + text + "#": the way a date or time goes into a query text.
QString dateLiteral(const QString& text);

// "select *  into T from  [excel 8.0;database=FOLDER\F.xls].[sheet1$]"
struct WorkbookCopy {
    QString table;
    QString workbookPath;  // FOLDER\F.xls as written, backslashes made '/'
    QString sheet;         // without the trailing '$'
};
std::optional<WorkbookCopy> parseWorkbookCopy(const QString& jetSql);

// The engine's own formatting of a number inside a statement.
QString numberLiteral(double v);

}  // namespace kq::jetsql
