#pragma once

#include <QString>
#include <optional>

#include "import/SheetTable.h"
#include "import/WorkbookImport.h"
#include "import/workbook/HeaderTest.h"

namespace kq {

// Whether the row holds what `which` needs as its column names: ry 日期,
// 时间 and 姓名, or 姓名 and a punch moment column; yd 日期 first, or 姓名
// first and date headers; pb 时间.
bool holdsHeader(Workbook which, const SheetRow& row);

// The first of the first kHeaderSearchRows sheet rows that holds it;
// nothing when no row does.
std::optional<int> findHeaderRow(const SheetTable& sheet, Workbook which);

// Whether the sheet's first row holds any of those names, blanks around
// them allowed: a header that lacks a column, which the message then names.
bool firstRowIsPartOfHeader(const SheetTable& sheet, Workbook which);

// What such a row holds, for the message when none does.
QString headerDescription(Workbook which);

}  // namespace kq
