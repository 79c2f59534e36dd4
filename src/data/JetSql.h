#pragma once

#include <QString>

// The query dialect of the system's statement texts, spoken over SQLite:
// "#...#" date literals.
namespace kq::jetsql {

// Rewrites every "#...#" outside a quoted text into the day count it names.
// Throws kq::Error (syntax) for a literal that does not read as a date or
// time, or an unclosed literal.
QString toSqlite(const QString& jetSql);

// A text literal, apostrophes doubled: O'Brien -> 'O''Brien'.
QString quote(const QString& text);

// "#" + text + "#": the way a date or time goes into a query text.
QString dateLiteral(const QString& text);

// The engine's own formatting of a number inside a statement.
QString numberLiteral(double v);

}  // namespace kq::jetsql
