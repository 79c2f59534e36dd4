#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "data/Value.h"
#include "import/SheetTable.h"

// How the cells of a worksheet become typed table columns.
namespace kq::columns {

enum class ColumnType { DateTime, Real, Text };

// The declared SQLite type: DATETIME, REAL or TEXT.
QString declaredType(ColumnType type);

// The header row's texts exactly as written (a blank before a name is part
// of it); an empty header cell is named "F<n>" by its 1-based position, as
// the old engine named it.
QStringList names(const SheetTable& sheet);

// DATETIME when every non-empty cell is a date/time cell or a text that reads
// as one, REAL when every non-empty cell is a number, TEXT otherwise or when
// the column is empty. The header row does not count.
ColumnType inferType(const SheetTable& sheet, int column);

// A date/time cell's day count, or the day count of a text that reads as a
// date or time ("2024/1/5", "8:30"); nothing for any other cell. A text date
// counts only with a year from 1900 to 9999, as the statistics run reads it.
std::optional<double> dateTimeOf(const Cell& cell);

// The cell's text as a TEXT column holds it: numbers without trailing zeros
// (12.0 -> "12"), dates in the general form, TRUE / FALSE, error codes.
QString textOf(const Cell& cell);

// The value a column of that type stores for the cell; Null for an empty cell.
Value valueOf(const Cell* cell, ColumnType type);

}  // namespace kq::columns
