#pragma once

#include <functional>

#include "import/workbook/Cell.h"

namespace kq {

// Tells whether a row holds the column names the importing workbook needs.
// Readers of forms without sheets of their own (a web page's tables) use it
// to pick what to read; it may be empty.
using HeaderTest = std::function<bool(const SheetRow& row)>;

// The header row lies among this many rows from the top.
inline constexpr int kHeaderSearchRows = 20;

}  // namespace kq
