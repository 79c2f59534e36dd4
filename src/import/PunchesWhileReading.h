#pragma once

#include <QString>
#include <optional>

#include "import/WorkbookImport.h"

namespace kq {

class Connection;

// Imports the punch sheet of the workbook at path into table while the
// workbook is still being read: the reading runs on a thread of its own and
// each batch of rows is checked, typed and stored as it comes, in one
// transaction. How each column is typed is decided from the first rows;
// rows that would have changed it (a text in a column of numbers, a row out
// of order, a cell past the columns seen, a cell the checks refuse) undo
// everything and give nothing back, and the caller then imports the sheet
// read whole, which gives exactly the table or the message it always gave.
// An error while reading is thrown as the whole reading throws it.
std::optional<ImportedRows> importPunchesWhileReading(Connection& connection, const QString& path,
                                                      const QString& sheetName,
                                                      const QString& table, bool gatherRows);

}  // namespace kq
