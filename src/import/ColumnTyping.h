#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "data/Value.h"
#include "import/XlsReader.h"

// How the cells of a worksheet become typed table columns.
namespace kq::columns {

enum class ColumnType { DateTime, Real, Text };

// The declared SQLite type: DATETIME, REAL or TEXT.
QString declaredType(ColumnType type);

// The header row's texts, trimmed; an empty header cell is named "F<n>" by
// its 1-based position, as the old engine named it.
QStringList names(const XlsSheet& sheet);

// DATETIME when every non-empty cell is a date/time cell or a text that reads
// as one, REAL when every non-empty cell is a number, TEXT otherwise or when
// the column is empty. The header row does not count.
ColumnType inferType(const XlsSheet& sheet, int column);

// A date/time cell's day count, or the day count of a text that reads as a
// date or time ("2024/1/5", "8:30"); nothing for any other cell.
std::optional<double> dateTimeOf(const XlsCell& cell);

// The cell's text as a TEXT column holds it: numbers without trailing zeros
// (12.0 -> "12"), dates in the general form.
QString textOf(const XlsCell& cell);

// The value a column of that type stores for the cell; Null for an empty cell.
Value valueOf(const XlsCell& cell, ColumnType type);

}  // namespace kq::columns
