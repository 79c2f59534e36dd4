#pragma once

#include <optional>

#include "import/SheetTable.h"

namespace kq {

// The day a column header of a month-grid schedule names: a date cell, or a
// text date with a four-digit year (2026/12/1, 2026-12-01, 2026年12月1日).
std::optional<double> gridHeaderDay(const Cell& header);

// A schedule laid out one row per employee, 姓名 in its first column and one
// column per date, turned into the usual layout: 日期 first, then one column
// per employee in the sheet's row order, one row per date ascending, empty
// cells kept empty. Columns that are neither 姓名 nor a date are left out.
// Returns false, the sheet unchanged, when the header does not start with
// 姓名 or names no date. Throws SheetRefusal for headers that are dates
// without a year, and for employees or dates the grid holds twice.
bool turnMonthGrid(SheetTable& sheet);

}  // namespace kq
